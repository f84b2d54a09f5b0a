#include "results/frmkekka3.h"

#include "app/help.h"
#include "app/keyboard.h"
#include "app/pictures.h"
#include "app/placement.h"
#include "app/twips.h"
#include "app/wheel.h"
#include "app/widgets.h"
#include "common/texthelpers.h"
#include "core/context.h"
#include "platform/messages.h"
#include "results/kekkamodel.h"
#include "results/resultexport.h"
#include "results/viewers.h"

#include <QAction>
#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QToolButton>

#include <algorithm>

namespace pikotel {

namespace {

const QString kAscending = QStringLiteral("▲ ");
const QString kDescending = QStringLiteral("▼ ");
const QString kNotSet = QStringLiteral("設定されていません。");
const QString kTooMany = QStringLiteral("３1件以上の出力は出来ません｡ ");
const QString kSelected = QStringLiteral("件選択");

// Twips.
constexpr int kNumberColumnWidth = 600;
constexpr int kTwipsPerByte = 130;
constexpr int kWidestColumn = 8000;
constexpr int kMinWidth = 12000;
constexpr int kMinHeight = 8745;
constexpr int kButtonWidth = 1560;
constexpr int kButtonHeight = 540;
// The window's frame, which the layout rules count in its outer size.
constexpr int kFrameWidth = 120;
constexpr int kFrameHeight = 450;

const char* const kAddressItems[] = {"都道府県", "市区町村", "町域名", "区域名"};

bool isMarked(const QString& header) {
    return header.startsWith(kAscending) || header.startsWith(kDescending);
}

} // namespace

frmKekka3::frmKekka3(AppContext& ctx) : QWidget(nullptr), ctx_(ctx), model_(new KekkaModel(this)) {
    setObjectName(QStringLiteral("frmKekka3"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(applicationIcon());
    buildUi();
}

frmKekka3::~frmKekka3() {
    UnhookWheel(flgData_);
}

void frmKekka3::buildUi() {
    flgData_ = new QTableView(this);
    flgData_->setObjectName(QStringLiteral("flgData"));
    flgData_->setAccessibleName(QStringLiteral("検索結果"));
    flgData_->setModel(model_);
    flgData_->setSelectionMode(QAbstractItemView::NoSelection);
    flgData_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    flgData_->setWordWrap(false);
    flgData_->verticalHeader()->hide();
    flgData_->verticalHeader()->setDefaultSectionSize(flgData_->fontMetrics().height() + 6);
    flgData_->horizontalHeader()->setSectionsClickable(true);
    flgData_->horizontalHeader()->setHighlightSections(false);
    flgData_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    flgData_->setFocusPolicy(Qt::StrongFocus);
    flgData_->viewport()->installEventFilter(this);
    flgData_->installEventFilter(this);
    flgData_->viewport()->setCursor(handCursor());
    connect(flgData_->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &frmKekka3::flgData_HeaderClick);

    frakensakuJ_ = newFrame(this, QStringLiteral("frakensakuJ"), QStringLiteral("検索条件"));
    setTwipsGeometry(
        newLabel(frakensakuJ_, QStringLiteral("Label1"), QStringLiteral("選択都道府県：")), 120,
        300, 1500, 300);
    lblTodoufuken_ = newLabel(frakensakuJ_, QStringLiteral("lblTodoufuken"), QString());
    setTwipsGeometry(lblTodoufuken_, 1620, 300, 2400, 300);
    setTwipsGeometry(
        newLabel(frakensakuJ_, QStringLiteral("Label2"), QStringLiteral("選択市区町村：")), 120,
        660, 1500, 300);
    lblsiku_ = newLabel(frakensakuJ_, QStringLiteral("Lblsiku"), QString());
    setTwipsGeometry(lblsiku_, 1620, 660, 9000, 300);
    lblTitle1_ = newLabel(frakensakuJ_, QStringLiteral("lblTitle1"), QString());
    setTwipsGeometry(lblTitle1_, 4200, 300, 1500, 300);
    lblLabel1_ = newLabel(frakensakuJ_, QStringLiteral("LblLabel1"), QString());
    setTwipsGeometry(lblLabel1_, 5700, 300, 2600, 300);
    lblTitle2_ = newLabel(frakensakuJ_, QStringLiteral("lblTitle2"), QString());
    setTwipsGeometry(lblTitle2_, 8400, 300, 1300, 300);
    lblLabel2_ = newLabel(frakensakuJ_, QStringLiteral("lblLabel2"), QString());
    setTwipsGeometry(lblLabel2_, 9700, 300, 1900, 300);
    lblsiku_->setTextFormat(Qt::PlainText);

    frame1_ = newFrame(this, QStringLiteral("Frame1"),
                       QStringLiteral("検索結果を出力するファイルの格納場所"));
    lblStatus2_ = newLabel(frame1_, QStringLiteral("lblStatus2"), QString());
    setTwipsGeometry(lblStatus2_, 120, 300, 8000, 300);

    picture1_ = new QFrame(this);
    picture1_->setObjectName(QStringLiteral("Picture1"));
    picture1_->setFrameShape(QFrame::Panel);
    picture1_->setFrameShadow(QFrame::Sunken);
    lblStatus1_ = newLabel(picture1_, QStringLiteral("lblStatus1"), QString());
    lblStatus1_->setAccessibleName(QStringLiteral("状態"));

    cmdOutput_ = newPictureButton(this, QStringLiteral("cmd出力"), QStringLiteral("icon_ok"),
                                  QStringLiteral("結果出力"));
    cmdMemo_ = newTextButton(this, QStringLiteral("cmdMemo"), QStringLiteral("ファイル閲覧"));
    cmdHelp_ = newPictureButton(this, QStringLiteral("CmdHELP"), QStringLiteral("btn_help"),
                                QStringLiteral("ヘルプ"));
    cmdExit_ = newPictureButton(this, QStringLiteral("CmdExit"), QStringLiteral("icon_close"),
                                QStringLiteral("閉じる"));
    for (QToolButton* b : {cmdOutput_, cmdMemo_, cmdHelp_, cmdExit_}) {
        b->setCursor(handCursor());
        b->resize(twipsToPixelsX(this, kButtonWidth), twipsToPixelsY(this, kButtonHeight));
    }
    cmdOutput_->installEventFilter(this);
    cmdMemo_->installEventFilter(this);
    connect(cmdOutput_, &QToolButton::clicked, this, &frmKekka3::cmd出力_Click);
    connect(cmdMemo_, &QToolButton::clicked, this, &frmKekka3::cmdMemo_Click);
    connect(cmdHelp_, &QToolButton::clicked, this, &frmKekka3::CmdHELP_Click);
    connect(cmdExit_, &QToolButton::clicked, this, &QWidget::close);

    line1_ = new QFrame(this);
    line1_->setObjectName(QStringLiteral("Line1"));
    line1_->setFrameShape(QFrame::HLine);
    line1_->setFrameShadow(QFrame::Sunken);

    mnuPopup_ = new QMenu(QStringLiteral("ポップアップ"), this);
    mnuPopup_->setObjectName(QStringLiteral("mnuPopup"));
    mnuCopy_ = mnuPopup_->addAction(QStringLiteral("選択した行の「住所」のみを連結してコピー"));
    mnuCopy_->setObjectName(QStringLiteral("mnuCopy"));
    mnuPopup_->addSeparator()->setObjectName(QStringLiteral("mnuline"));
    mnuCopyComma_ = mnuPopup_->addAction(QStringLiteral("選択した行を「カンマ区切り」でコピー"));
    mnuCopyComma_->setObjectName(QStringLiteral("mnuCopyComma"));
    mnuCopyTab_ = mnuPopup_->addAction(QStringLiteral("選択した行を「タブ区切り」でコピー"));
    mnuCopyTab_->setObjectName(QStringLiteral("mnuCopyTab"));
    connect(mnuCopy_, &QAction::triggered, this, &frmKekka3::mnuCopy_Click);
    connect(mnuCopyComma_, &QAction::triggered, this, &frmKekka3::mnuCopyComma_Click);
    connect(mnuCopyTab_, &QAction::triggered, this, &frmKekka3::mnuCopyTab_Click);

    setMinimumSize(twipsToPixelsX(this, kMinWidth - kFrameWidth),
                   twipsToPixelsY(this, kMinHeight - kFrameHeight));
}

void frmKekka3::Form_Load() {
    HookWheel(flgData_);
    clsKekka3& kekka = ctx_.kekka();
    fillGrid();
    initialSort();
    kekka.ParentsFormHide();

    const int total = static_cast<int>(ctx_.results().size());
    setWindowTitle(QStringLiteral("検索結果： %1件").arg(total));
    setAccessibleName(windowTitle());
    showOutFile();
    lblTodoufuken_->setText(kekka.todofuken_Caption);
    lblsiku_->setText(kekka.siku_Caption);
    lblsiku_->setToolTip(kekka.siku_Caption);
    lblTitle1_->setText(kekka.title1_Caption);
    lblLabel1_->setText(kekka.label1_Caption);
    lblTitle2_->setText(kekka.title2_Caption);
    lblLabel2_->setText(kekka.label2_Caption);
    restoreSize();
    flgData_->setToolTip(QString::number(0) + kSelected);
}

void frmKekka3::fillGrid() {
    clsKekka3& kekka = ctx_.kekka();
    kekka.Kekka3_Init_Row();
    const QStringList headers = kekka.Grid_AddField();
    const int used = static_cast<int>(headers.size());
    colByteWidth_.assign(static_cast<std::size_t>(used) + 1, 0);
    sortAscending_.assign(static_cast<std::size_t>(used) + 1, false);
    for (int g = 1; g <= used; ++g)
        colByteWidth_[static_cast<std::size_t>(g)] = AnsiLenB(headers.at(g - 1));

    std::vector<QStringList> rows;
    rows.reserve(static_cast<std::size_t>(ctx_.results().size()));
    for (const ResultRecord& record : ctx_.results()) {
        if (record.TelNo.isEmpty())
            continue;
        QStringList cells = kekka.Grid_AddData(record);
        for (int g = 1; g <= used; ++g) {
            int& widest = colByteWidth_[static_cast<std::size_t>(g)];
            widest = std::max(widest, AnsiLenB(cells.at(g - 1)));
        }
        rows.push_back(std::move(cells));
    }
    model_->setContent(headers, std::move(rows));

    QHeaderView* header = flgData_->horizontalHeader();
    header->resizeSection(0, twipsToPixelsX(this, kNumberColumnWidth));
    for (int g = 1; g <= used; ++g) {
        const int twips =
            std::min(colByteWidth_[static_cast<std::size_t>(g)] * kTwipsPerByte, kWidestColumn);
        header->resizeSection(g, twipsToPixelsX(this, twips));
    }
    header->setStretchLastSection(true);
}

void frmKekka3::initialSort() {
    const clsKekka3& kekka = ctx_.kekka();
    const int used = model_->usedColumns();
    if (used == 0)
        return;
    int column = kekka.Grid_SortCol();
    bool ascending = kekka.Grid_SortType() == 0;
    if (column > used) {
        column = 1;
        ascending = true;
    }
    sortColumn(column, ascending);
    model_->setHeader(column, (ascending ? kAscending : kDescending) + model_->header(column));
    currentSortCol_ = column;
}

void frmKekka3::sortColumn(int column, bool ascending) {
    model_->sortByColumn(column, ascending);
    sortAscending_[static_cast<std::size_t>(column)] = ascending;
}

void frmKekka3::flgData_HeaderClick(int column) {
    if (column < 1 || column > model_->usedColumns())
        return;
    const bool ascending = !sortAscending_[static_cast<std::size_t>(column)];
    sortColumn(column, ascending);
    QString header = model_->header(column);
    if (header.startsWith(kAscending))
        header = kDescending + header.mid(2);
    else if (header.startsWith(kDescending))
        header = kAscending + header.mid(2);
    else
        header.prepend(ascending ? kAscending : kDescending);
    model_->setHeader(column, header);
    if (column != currentSortCol_ && currentSortCol_ > 0)
        model_->setHeader(currentSortCol_, model_->header(currentSortCol_).mid(2));
    currentSortCol_ = column;
    flgData_->scrollToTop();
    model_->clearSelection();
    selectedCount_ = 0;
    flgData_->setToolTip(QString::number(0) + kSelected);
}

void frmKekka3::flgData_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                                  int row) {
    if (row < 0 || row >= model_->rowCount())
        return;
    const bool control = modifiers & Qt::ControlModifier;
    const bool shift = modifiers & Qt::ShiftModifier;
    if (button == Qt::LeftButton && control && !shift) {
        model_->setSelected(row, !model_->isSelected(row));
        rangeAnchor_ = rangeEnd_ = row;
        return;
    }
    if (button == Qt::LeftButton && shift && !control) {
        // The range runs from the last row clicked to this one.
        if (rangeAnchor_ < 0)
            rangeAnchor_ = row;
        rangeEnd_ = row;
        return;
    }
    model_->clearSelection();
    model_->setSelected(row, true);
    rangeAnchor_ = rangeEnd_ = row;
}

void frmKekka3::flgData_MouseMove(int row) {
    if (rangeAnchor_ >= 0 && row >= 0)
        rangeEnd_ = row;
}

void frmKekka3::flgData_MouseUp(Qt::MouseButton button, int row, const QPoint& globalPos) {
    if (button == Qt::RightButton)
        mnuPopup_->popup(globalPos);
    if (row < 0 || row >= model_->rowCount())
        return;
    if (rangeAnchor_ >= 0 && rangeEnd_ >= 0 && rangeAnchor_ != rangeEnd_)
        model_->setRangeSelected(rangeAnchor_, rangeEnd_);
    countSelection();
}

void frmKekka3::countSelection() {
    selectedCount_ = model_->selectedCount();
    if (selectedCount_ > 30)
        MyMsgBoxShow(kTooMany, MsgOk);
    flgData_->setToolTip(QString::number(selectedCount_) + kSelected);
}

QStringList frmKekka3::topmostSelectedCells() const {
    const int row = model_->firstSelectedRow();
    QStringList cells;
    if (row < 0)
        return cells;
    for (int g = 1; g <= model_->usedColumns(); ++g)
        cells.append(model_->cell(row, g));
    return cells;
}

void frmKekka3::copyToClipboard(const QString& text) {
    ctx_.clipboard().setText(text);
}

void frmKekka3::mnuCopy_Click() {
    const QStringList cells = topmostSelectedCells();
    QString address;
    for (int g = 1; g <= static_cast<int>(cells.size()); ++g) {
        const QString header = model_->header(g);
        for (const char* item : kAddressItems) {
            if (header.contains(QString::fromUtf8(item))) {
                address.append(cells.at(g - 1));
                break;
            }
        }
    }
    copyToClipboard(address);
}

void frmKekka3::mnuCopyComma_Click() {
    copyToClipboard(topmostSelectedCells().join(u','));
}

void frmKekka3::mnuCopyTab_Click() {
    QStringList quoted;
    for (const QString& cell : topmostSelectedCells())
        quoted.append(u'"' + cell + u'"');
    copyToClipboard(quoted.join(u'\t'));
}

void frmKekka3::showOutFile() {
    const QString outFile = ctx_.env().text(EnvKey::OutFile);
    lblStatus2_->setText(outFile.isEmpty() ? kNotSet : outFile);
    lblStatus2_->setToolTip(lblStatus2_->text());
}

QList<QStringList> frmKekka3::selectedRows() const {
    QList<QStringList> rows;
    for (int r = 0; r < model_->rowCount(); ++r) {
        if (!model_->isSelected(r))
            continue;
        QStringList cells;
        for (int g = 1; g <= model_->usedColumns(); ++g)
            cells.append(model_->cell(r, g));
        rows.append(cells);
    }
    return rows;
}

void frmKekka3::cmd出力_Click() {
    OutputSelectedRows(ctx_, selectedRows(), this);
    // A workbook chosen for the export is the output file from now on.
    showOutFile();
    flgData_->setFocus();
}

void frmKekka3::cmdMemo_Click() {
    ViewOutputFile(ctx_, this);
    showOutFile();
}

void frmKekka3::CmdHELP_Click() {
    OpenHelp(ctx_, helpPageOf(objectName()));
}

bool frmKekka3::flgData_KeyDown(const QKeyEvent& key) {
    const int rows = model_->rowCount();
    const Qt::KeyboardModifiers modifiers =
        key.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (rows == 0 || (modifiers != Qt::NoModifier && modifiers != Qt::ShiftModifier &&
                      modifiers != Qt::ControlModifier))
        return false;
    const int from = rangeEnd_;
    if (key.key() == Qt::Key_Space && modifiers == Qt::ControlModifier) {
        if (from >= 0 && from < rows) {
            model_->setSelected(from, !model_->isSelected(from));
            rangeAnchor_ = from;
            countSelection();
        }
        return true;
    }
    if (key.key() == Qt::Key_A && modifiers == Qt::ControlModifier) {
        rangeAnchor_ = 0;
        rangeEnd_ = rows - 1;
        model_->setRangeSelected(rangeAnchor_, rangeEnd_);
        countSelection();
        return true;
    }
    if (modifiers == Qt::ControlModifier)
        return false;
    const int rowHeight = std::max(1, flgData_->verticalHeader()->defaultSectionSize());
    const int page = std::max(1, flgData_->viewport()->height() / rowHeight - 1);
    int to = 0;
    switch (key.key()) {
    case Qt::Key_Up:
        to = from - 1;
        break;
    case Qt::Key_Down:
        to = from + 1;
        break;
    case Qt::Key_PageUp:
        to = from - page;
        break;
    case Qt::Key_PageDown:
        to = from + page;
        break;
    case Qt::Key_Home:
        to = 0;
        break;
    case Qt::Key_End:
        to = rows - 1;
        break;
    default:
        return false;
    }
    to = std::clamp(to, 0, rows - 1);
    if (modifiers == Qt::ShiftModifier) {
        if (rangeAnchor_ < 0 || rangeAnchor_ >= rows)
            rangeAnchor_ = to;
        rangeEnd_ = to;
        model_->clearSelection();
        model_->setRangeSelected(rangeAnchor_, rangeEnd_);
    } else {
        model_->clearSelection();
        model_->setSelected(to, true);
        rangeAnchor_ = rangeEnd_ = to;
    }
    flgData_->scrollTo(model_->index(to, 0));
    countSelection();
    return true;
}

void frmKekka3::keyPressEvent(QKeyEvent* event) {
    if (!escapePresses(*event, cmdExit_))
        QWidget::keyPressEvent(event);
}

int frmKekka3::rowAt(const QPoint& viewportPos) const {
    return flgData_->rowAt(viewportPos.y());
}

bool frmKekka3::eventFilter(QObject* watched, QEvent* event) {
    if (watched == flgData_->viewport()) {
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            flgData_->setFocus();
            flgData_MouseDown(mouse->button(), mouse->modifiers(),
                              rowAt(mouse->position().toPoint()));
            return true;
        }
        case QEvent::MouseMove: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->buttons() & Qt::LeftButton)
                flgData_MouseMove(rowAt(mouse->position().toPoint()));
            return false;
        }
        case QEvent::MouseButtonRelease: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            flgData_MouseUp(mouse->button(), rowAt(mouse->position().toPoint()),
                            mouse->globalPosition().toPoint());
            return true;
        }
        case QEvent::MouseButtonDblClick:
            return true;
        default:
            break;
        }
    }
    if (watched == flgData_ && event->type() == QEvent::KeyPress &&
        flgData_KeyDown(*static_cast<QKeyEvent*>(event)))
        return true;
    if (event->type() == QEvent::FocusIn) {
        if (watched == flgData_)
            lblStatus1_->setText(QStringLiteral(
                "ファイルに出力する情報を選択してください。（一回の操作で３０件まで）"));
        else if (watched == cmdOutput_)
            lblStatus1_->setText(QStringLiteral(
                "選択した情報をファイルに出力することができます。（一回の操作で３０件まで）"));
        else if (watched == cmdMemo_)
            lblStatus1_->setText(
                QStringLiteral("情報を出力したファイルを確認することができます。"));
    }
    return QWidget::eventFilter(watched, event);
}

void frmKekka3::restoreSize() {
    const clsKekka3& kekka = ctx_.kekka();
    const QScreen* screen =
        this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
    const QRect desk = screen->availableGeometry();
    const int deskWidth = pixelsToTwipsX(this, desk.width());
    const int deskHeight = pixelsToTwipsY(this, desk.height());
    int width = kMinWidth;
    int height = kMinHeight;
    if (deskHeight >= kekka.Form_Height() && deskWidth >= kekka.Form_Width()) {
        width = kekka.Form_Width();
        height = std::max(kekka.Form_Height(), kMinHeight);
    }
    resize(twipsToPixelsX(this, width - kFrameWidth), twipsToPixelsY(this, height - kFrameHeight));
    if (kekka.Window_State() == 2)
        setWindowState(Qt::WindowMaximized);
    else if (kekka.Window_State() == 1)
        setWindowState(Qt::WindowMinimized);
    placeControls();
}

void frmKekka3::placeControls() {
    if (isMinimized())
        return;
    const int W = pixelsToTwipsX(this, width()) + kFrameWidth;
    const int H = pixelsToTwipsY(this, height()) + kFrameHeight;
    const int gridWidth = W - 615;
    const int gridHeight = H - 3675;
    setTwipsGeometry(frakensakuJ_, 120, 60, gridWidth, 1080);
    setTwipsGeometry(flgData_, (W - gridWidth) / 2 - 68, 1200, gridWidth, gridHeight);
    setTwipsGeometry(frame1_, 120, gridHeight + 1725, W - 3900, 600);
    setTwipsGeometry(picture1_, 120, gridHeight + 2650, W - 3900 - kButtonWidth - 120, 420);
    lblStatus1_->setGeometry(picture1_->contentsRect().adjusted(6, 0, -6, 0));
    setTwipsLeft(cmdExit_, W - 1860);
    setTwipsTop(cmdExit_, H - 1125);
    setTwipsLeft(cmdHelp_, W - 1860 - kButtonWidth - 120);
    setTwipsTop(cmdHelp_, H - 1125);
    setTwipsLeft(cmdMemo_, W - 1860);
    setTwipsTop(cmdMemo_, H - 1875);
    setTwipsLeft(cmdOutput_, W - twipsWidth(cmdMemo_) - 1860 - 120);
    setTwipsTop(cmdOutput_, H - 1875);
    setTwipsGeometry(line1_, 0, H - 1230, W, 30);
}

void frmKekka3::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeControls();
}

void frmKekka3::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        placeControls();
}

void frmKekka3::closeEvent(QCloseEvent* event) {
    if (!unloaded_) {
        unloaded_ = true;
        clsKekka3& kekka = ctx_.kekka();
        for (int g = 1; g <= model_->usedColumns(); ++g) {
            const QString header = model_->header(g);
            if (isMarked(header)) {
                kekka.setGrid_SortCol(static_cast<qint16>(g));
                kekka.setGrid_SortType(header.startsWith(kAscending) ? 0 : 1);
                break;
            }
        }
        const QRect normal = isMaximized() || isMinimized() ? normalGeometry() : geometry();
        kekka.setForm_Height(pixelsToTwipsY(this, normal.height()) + kFrameHeight);
        kekka.setForm_Width(pixelsToTwipsX(this, normal.width()) + kFrameWidth);
        kekka.setWindow_State(isMinimized() ? 1 : isMaximized() ? 2 : 0);
        UnhookWheel(flgData_);
        kekka.ParentsFormShow();
    }
    event->accept();
}

frmKekka3* showResults(AppContext& ctx, QWidget* searchScreen) {
    ctx.kekka().setParentsForm(searchScreen);
    auto* screen = new frmKekka3(ctx);
    screen->Form_Load();
    CenterFormOver(searchScreen, screen);
    screen->show();
    return screen;
}

} // namespace pikotel
