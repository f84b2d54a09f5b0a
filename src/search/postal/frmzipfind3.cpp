#include "search/postal/frmzipfind3.h"

#include "app/pictures.h"
#include "app/twips.h"
#include "app/wheel.h"
#include "app/widgets.h"
#include "common/textfold.h"
#include "core/context.h"
#include "platform/messages.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QHelpEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>

#include <algorithm>

namespace pikotel {

namespace {

// Design size of the client area, in twips.
constexpr int kFormWidth = 9720;
constexpr int kFormHeight = 7500;

// Button positions inside the code frame (twips).
constexpr int kFindLeft = 2250;
constexpr int kClearLeftForward = 3780;
constexpr int kClearLeftReverse = 2250;

// Grid columns: row number and code; the address takes the rest (twips).
constexpr int kNumberColumnWidth = 600;
constexpr int kCodeColumnWidth = 1300;

// The block list inside its panel, for each position of the shift bar (twips).
struct BlockShift {
    int width;
    int left;
};
constexpr std::array<BlockShift, 3> kBlockShifts{{{2955, 0}, {3755, -800}, {5955, -3000}}};
constexpr int kBlockPanelHeight = 3300;
constexpr int kShiftBarWidth = 1800;
constexpr int kShiftBarWideWidth = 2700;
constexpr int kManyBlocks = 10;

const QColor kWhite(0xFF, 0xFF, 0xFF);
const QColor kStripeGrey(0xE0, 0xE0, 0xE0);
const QColor kHighlight(0x00, 0x00, 0x80);
const QColor kLockedYellow(0xFF, 0xFF, 0xC0);

const QString kCaption = QStringLiteral("郵便番号検索");
const QString kForwardExplanation = QStringLiteral(
    "「郵便番号」欄に郵便番号を入力して検索ボタンをクリックすると、該当する住所が表示されます｡");
const QString kReverseExplanation = QStringLiteral(
    "都道府県→市区町村→町域名（→区域名）を選択すると､該当する郵便番号が表示されます｡ ");
const QString kNoCount = QStringLiteral("0件");

QListWidget* newList(QWidget* parent, const QString& name, const QString& accessibleName) {
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->setAccessibleName(accessibleName);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    return list;
}

void setBase(QLineEdit* edit, const QColor& colour) {
    QPalette p = edit->palette();
    p.setColor(QPalette::Base, colour);
    edit->setPalette(p);
}

QString currentText(const QListWidget* list) {
    const QListWidgetItem* item = list->currentItem();
    return item == nullptr ? QString() : item->text();
}

int currentData(const QListWidget* list) {
    const QListWidgetItem* item = list->currentItem();
    return item == nullptr ? 0 : item->data(Qt::UserRole).toInt();
}

// The first item whose text is the given one; -1 when there is none.
int rowOf(const QListWidget* list, const QString& text) {
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->text() == text)
            return i;
    }
    return -1;
}

// Leading and trailing ASCII blanks removed; a town's full-width blanks are part of it.
QString trimBlanks(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == u' ')
        ++first;
    while (last > first && text.at(last - 1) == u' ')
        --last;
    return text.mid(first, last - first);
}

bool isCodeCharacter(QChar c) {
    return (c >= u'0' && c <= u'9') || c == u'-';
}

// A result longer than its box shows its beginning, where the code is.
void setTextFromStart(QLineEdit* edit, const QString& text) {
    edit->setText(text);
    edit->setCursorPosition(0);
}

} // namespace

frmZipFind3::frmZipFind3(AppContext& ctx, SearchScreenHost& host)
    : SearchScreen(ctx, host, QStringLiteral("frmZipFind3"), kCaption, QStringLiteral("郵便")) {
    buildUi();
}

frmZipFind3::~frmZipFind3() {
    UnhookWheel(flgAddressList_);
}

void frmZipFind3::buildUi() {
    setFixedSize(twipsToPixelsX(this, kFormWidth), twipsToPixelsY(this, kFormHeight));

    fraSelect_ = newFrame(this, QStringLiteral("FraSelect"), QStringLiteral("検索方法"));
    setTwipsGeometry(fraSelect_, 120, 60, 3720, 1080);
    QWidget* picSelect = newPanel(fraSelect_, QStringLiteral("picSelect"));
    setTwipsGeometry(picSelect, 150, 300, 3450, 720);
    optSelect_[Forward] = new QRadioButton(QStringLiteral("正引き（郵便番号→住所）"), picSelect);
    optSelect_[Reverse] = new QRadioButton(QStringLiteral("逆引き（住所→郵便番号）"), picSelect);
    for (int i : {Reverse, Forward}) {
        optSelect_[i]->setObjectName(QStringLiteral("OptSelect%1").arg(i));
        optSelect_[i]->setCursor(handCursor());
        connect(optSelect_[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                OptSelect_Click(i);
        });
    }
    setTwipsGeometry(optSelect_[Forward], 0, 0, 3450, 330);
    setTwipsGeometry(optSelect_[Reverse], 0, 375, 3450, 330);

    fraZipCode_ = newFrame(this, QStringLiteral("fraZipCode"), QStringLiteral("郵便番号"));
    setTwipsGeometry(fraZipCode_, 3960, 60, 5640, 1080);
    QLabel* picZipCode = newLabel(fraZipCode_, QStringLiteral("picZipCode"), QStringLiteral("〒"));
    picZipCode->setAlignment(Qt::AlignCenter);
    setTwipsGeometry(picZipCode, 120, 420, 330, 390);
    txtZipCode_ = new QLineEdit(fraZipCode_);
    txtZipCode_->setObjectName(QStringLiteral("txtZipCode"));
    txtZipCode_->setAccessibleName(QStringLiteral("郵便番号"));
    txtZipCode_->setMaxLength(20);
    txtZipCode_->installEventFilter(this);
    setTwipsGeometry(txtZipCode_, 480, 390, 1650, 420);
    cmdFindZip_ = newPictureButton(fraZipCode_, QStringLiteral("CmdFindZip"),
                                   QStringLiteral("btn_zip"), QStringLiteral("検索"));
    setTwipsGeometry(cmdFindZip_, kFindLeft, 330, 1410, 540);
    connect(cmdFindZip_, &QToolButton::clicked, this, &frmZipFind3::CmdFindZip_Click);
    cmdClear_ = newPictureButton(fraZipCode_, QStringLiteral("cmdClear"),
                                 QStringLiteral("icon_cancel"), QStringLiteral("クリア"));
    setTwipsGeometry(cmdClear_, kClearLeftForward, 330, 1410, 540);
    connect(cmdClear_, &QToolButton::clicked, this, &frmZipFind3::cmdClear_Click);

    lblExplanation_ = newLabel(this, QStringLiteral("lblExplanation"), QString());
    lblExplanation_->setWordWrap(true);
    setTwipsGeometry(lblExplanation_, 180, 1200, 9420, 360);
    auto* line1 = new QFrame(this);
    line1->setObjectName(QStringLiteral("Line1"));
    line1->setFrameShape(QFrame::HLine);
    line1->setFrameShadow(QFrame::Sunken);
    setTwipsGeometry(line1, 120, 1590, 9480, 30);

    for (int i : {Reverse, Forward}) {
        picResult_[i] = newPanel(this, QStringLiteral("picResult%1").arg(i));
        setTwipsGeometry(picResult_[i], 120, 1680, 9480, 5100);
    }

    // Forward panel: the grid, the hit count and the picked address.
    QWidget* forward = picResult_[Forward];
    flgAddressList_ = new QTableWidget(0, 3, forward);
    flgAddressList_->setObjectName(QStringLiteral("flgAddressList"));
    flgAddressList_->setAccessibleName(QStringLiteral("住所一覧"));
    setTwipsGeometry(flgAddressList_, 0, 0, 9480, 3900);
    flgAddressList_->setHorizontalHeaderLabels(
        {QString(), QStringLiteral("郵便番号"), QStringLiteral("住所")});
    // The number column shows no caption; a screen reader still says what it holds.
    flgAddressList_->horizontalHeaderItem(0)->setData(Qt::AccessibleTextRole,
                                                      QStringLiteral("番号"));
    flgAddressList_->verticalHeader()->hide();
    flgAddressList_->verticalHeader()->setDefaultSectionSize(
        flgAddressList_->fontMetrics().height() + 6);
    flgAddressList_->horizontalHeader()->setHighlightSections(false);
    // The address takes the rest of the grid's width, less the vertical bar when one shows,
    // so that the grid never needs a horizontal bar.
    flgAddressList_->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    flgAddressList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    flgAddressList_->setSelectionMode(QAbstractItemView::NoSelection);
    flgAddressList_->setWordWrap(false);
    connect(flgAddressList_, &QTableWidget::cellPressed, this,
            [this](int row, int) { flgAddressList_MouseDown(row); });
    // The arrow keys, Page Up/Down, Home and End move the grid's cursor: its row is picked as
    // a click picks it. Refilling the grid moves no cursor the user moved.
    connect(flgAddressList_, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (flgAddressList_->hasFocus())
            flgAddressList_MouseDown(row);
    });
    flgAddressList_->viewport()->installEventFilter(this);

    QGroupBox* fraRecordCount =
        newFrame(forward, QStringLiteral("fraRecordCount"), QStringLiteral("該当件数"));
    setTwipsGeometry(fraRecordCount, 0, 4020, 1800, 1050);
    lblRecordCount_ = newLabel(fraRecordCount, QStringLiteral("lblRecordCount"), kNoCount);
    lblRecordCount_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setTwipsGeometry(lblRecordCount_, 150, 390, 1500, 450);
    QGroupBox* fraCommonAddress =
        newFrame(forward, QStringLiteral("fraCommonAddress"), QStringLiteral("結果選択"));
    setTwipsGeometry(fraCommonAddress, 1920, 4020, 7560, 1050);
    txtSelectAddress_ = new QLineEdit(fraCommonAddress);
    txtSelectAddress_->setObjectName(QStringLiteral("txtSelectAddress"));
    txtSelectAddress_->setAccessibleName(QStringLiteral("結果選択"));
    txtSelectAddress_->setReadOnly(true);
    setTwipsGeometry(txtSelectAddress_, 150, 390, 7260, 450);

    // Reverse panel: prefecture, city, town and block lists and the result.
    QWidget* reverse = picResult_[Reverse];
    picL1L2_ = newPanel(reverse, QStringLiteral("picL1L2"));
    setTwipsGeometry(picL1L2_, 0, 0, 3420, 3900);
    setTwipsGeometry(newLabel(picL1L2_, QStringLiteral("Label1"), QStringLiteral("都道府県")), 0, 0,
                     1320, 300);
    lstTodoufuken_ = newList(picL1L2_, QStringLiteral("lstTodoufuken"), QStringLiteral("都道府県"));
    setTwipsGeometry(lstTodoufuken_, 0, 330, 1320, 3570);
    setTwipsGeometry(newLabel(picL1L2_, QStringLiteral("Label2"), QStringLiteral("市区町村")), 1440,
                     0, 1980, 300);
    lstSikuchouson_ =
        newList(picL1L2_, QStringLiteral("lstSikuchouson"), QStringLiteral("市区町村"));
    setTwipsGeometry(lstSikuchouson_, 1440, 330, 1980, 3570);

    QLabel* label3 = newLabel(reverse, QStringLiteral("Label3"), QStringLiteral("町域名"));
    setTwipsGeometry(label3, 3540, 0, 900, 300);
    chkChomeiSort_ = new QCheckBox(QStringLiteral("表記順に並替え"), reverse);
    chkChomeiSort_->setObjectName(QStringLiteral("chkChomeiSort"));
    chkChomeiSort_->setCursor(handCursor());
    setTwipsGeometry(chkChomeiSort_, 4440, -15, 1920, 330);
    connect(chkChomeiSort_, &QCheckBox::clicked, this, &frmZipFind3::chkChomeiSort_Click);
    lstChomei_ = newList(reverse, QStringLiteral("lstChomei"), QStringLiteral("町域名"));
    setTwipsGeometry(lstChomei_, 3540, 330, 2820, 3570);

    QLabel* label4 = newLabel(reverse, QStringLiteral("Label4"), QStringLiteral("区域名"));
    setTwipsGeometry(label4, 6480, 0, 2955, 300);
    QWidget* picL4 = newPanel(reverse, QStringLiteral("picL4"));
    setTwipsGeometry(picL4, 6480, 330, kBlockShifts[0].width, kBlockPanelHeight);
    lstKu_ = newList(picL4, QStringLiteral("lstKu"), QStringLiteral("区域名"));
    lstKu_->setEnabled(false);
    setTwipsGeometry(lstKu_, kBlockShifts[0].left, 0, kBlockShifts[0].width, kBlockPanelHeight);
    hScroll1_ = new QScrollBar(Qt::Horizontal, reverse);
    hScroll1_->setObjectName(QStringLiteral("HScroll1"));
    hScroll1_->setRange(0, int(kBlockShifts.size()) - 1);
    hScroll1_->setPageStep(1);
    setTwipsGeometry(hScroll1_, 6480, 330 + kBlockPanelHeight, kShiftBarWidth, 255);
    connect(hScroll1_, &QScrollBar::valueChanged, this, &frmZipFind3::HScroll1_Change);

    connect(lstTodoufuken_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            lstTodoufuken_Click();
    });
    connect(lstSikuchouson_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            lstSikuchouson_Click();
    });
    connect(lstChomei_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            lstChomei_Click();
    });
    connect(lstKu_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            lstKu_Click();
    });

    QGroupBox* frame3 = newFrame(reverse, QStringLiteral("Frame3"), QStringLiteral("検索結果"));
    setTwipsGeometry(frame3, 0, 4020, 9480, 1050);
    txtAdress_ = new QLineEdit(frame3);
    txtAdress_->setObjectName(QStringLiteral("txtAdress"));
    txtAdress_->setAccessibleName(QStringLiteral("検索結果"));
    txtAdress_->setReadOnly(true);
    setTwipsGeometry(txtAdress_, 150, 390, 9180, 450);

    lstTemp_ = newList(this, QStringLiteral("lstTemp"), QStringLiteral("作業用"));
    lstTemp_->hide();

    // Bottom row: the mascot and the three buttons.
    QLabel* picture1 = newLabel(this, QStringLiteral("Picture1"), QString());
    picture1->setPixmap(picture(QStringLiteral("mascot1"), QSize(40, 40)));
    setTwipsGeometry(picture1, 180, 6840, 600, 600);
    QLabel* imgHand = newLabel(this, QStringLiteral("imgHand"), QString());
    imgHand->setPixmap(picture(QStringLiteral("hand")));
    imgHand->hide();

    cmdSetting_ = newPictureButton(this, QStringLiteral("CmdSetting"),
                                   QStringLiteral("btn_setting"), QStringLiteral("環境設定"));
    setTwipsGeometry(cmdSetting_, 5280, 6840, 1380, 540);
    connect(cmdSetting_, &QToolButton::clicked, this, &frmZipFind3::CmdSetting_Click);
    cmdHelp_ = newPictureButton(this, QStringLiteral("CmdHELP"), QStringLiteral("btn_help"),
                                QStringLiteral("ヘルプ"));
    setTwipsGeometry(cmdHelp_, 6750, 6840, 1380, 540);
    connect(cmdHelp_, &QToolButton::clicked, this, &frmZipFind3::CmdHELP_Click);
    cmdExit_ = newPictureButton(this, QStringLiteral("CmdExit"), QStringLiteral("icon_close"),
                                QStringLiteral("閉じる"));
    setTwipsGeometry(cmdExit_, 8220, 6840, 1380, 540);
    connect(cmdExit_, &QToolButton::clicked, this, &QWidget::close);

    for (QToolButton* b : {cmdFindZip_, cmdClear_, cmdSetting_, cmdHelp_, cmdExit_})
        b->setCursor(handCursor());
    cmdSetting_->setEnabled(settingsAvailable());

    picResult_[Reverse]->hide();
    picResult_[Reverse]->setEnabled(false);
}

void frmZipFind3::Form_Load() {
    HookWheel(flgAddressList_);
    if (!search_.OpenPostalDictionary(ctx_.programFolder())) {
        MyMsgBoxShow(zipsearch::kMsgOpenFailed, MsgOk | MsgCritical);
        disableAllButExit();
        centreOverHost();
        return;
    }
    const ZipConditions& stored = ctx_.history().zipConditions();
    bool numeric = false;
    const int sort = stored.chomeiSort.trimmed().toInt(&numeric);
    chkChomeiSort_->setChecked(numeric && sort != 0);
    centreOverHost();
    if (!stored.prefecture.isEmpty()) {
        optSelect_[Reverse]->setChecked(true);
    } else {
        show();
        optSelect_[Forward]->setChecked(true);
    }
}

void frmZipFind3::disableAllButExit() {
    for (QWidget* w : {static_cast<QWidget*>(fraSelect_), static_cast<QWidget*>(fraZipCode_),
                       picResult_[Reverse], picResult_[Forward], static_cast<QWidget*>(cmdSetting_),
                       static_cast<QWidget*>(cmdHelp_)})
        w->setEnabled(false);
}

QString frmZipFind3::ZipHifon(const QString& code) {
    return pikotel::ZipHifon(code);
}

bool frmZipFind3::forwardMode() const {
    return optSelect_[Forward]->isChecked();
}

bool frmZipFind3::restoring() const {
    return ctx_.env().firstChoice(EnvKey::BeforeExec);
}

void frmZipFind3::saveConditionsWhenRestoring() {
    if (!restoring())
        return;
    ZipScreenConditions c;
    c.prefecture = currentText(lstTodoufuken_);
    c.city = currentText(lstSikuchouson_);
    c.forward = forwardMode();
    c.code = txtZipCode_->text();
    c.sortByNotation = chkChomeiSort_->isChecked();
    ctx_.history().SaveZipConditions(c);
}

void frmZipFind3::OptSelect_Click(int index) {
    if (index == Forward) {
        forwardSetup();
        txtZipCode_->setFocus();
    } else {
        reverseSetup();
    }
}

void frmZipFind3::showGridHeaderOnly() {
    flgAddressList_->setRowCount(0);
}

void frmZipFind3::forwardSetup() {
    flgAddressList_->setColumnCount(3);
    showGridHeaderOnly();
    flgAddressList_->setColumnWidth(0, twipsToPixelsX(this, kNumberColumnWidth));
    flgAddressList_->setColumnWidth(1, twipsToPixelsX(this, kCodeColumnWidth));

    lblRecordCount_->setText(kNoCount);
    txtSelectAddress_->clear();
    txtZipCode_->clear();
    txtZipCode_->setReadOnly(false);
    txtZipCode_->setInputMethodHints(Qt::ImhDigitsOnly | Qt::ImhPreferNumbers);
    setBase(txtZipCode_, kWhite);
    lblExplanation_->setText(kForwardExplanation);

    ZipFind_BeforeExecSet();

    cmdFindZip_->show();
    clearReverseLists();
    picResult_[Reverse]->setEnabled(false);
    picResult_[Reverse]->hide();
    picResult_[Forward]->setEnabled(true);
    picResult_[Forward]->show();
    setTwipsLeft(cmdClear_, kClearLeftForward);
    setTwipsLeft(cmdFindZip_, kFindLeft);
}

void frmZipFind3::reverseSetup() {
    txtZipCode_->setReadOnly(true);
    txtZipCode_->clear();
    txtZipCode_->setInputMethodHints(Qt::ImhNone);
    setBase(txtZipCode_, kLockedYellow);
    txtAdress_->clear();
    cmdFindZip_->hide();
    lblExplanation_->setText(kReverseExplanation);

    clearReverseLists();
    picL1L2_->setEnabled(true);
    QList<ZipListEntry> prefectures;
    if (search_.ListPrefectures(prefectures)) {
        fillList(lstTodoufuken_, prefectures);
        ZipFind_BeforeExecSet();
    }

    picResult_[Reverse]->setEnabled(true);
    picResult_[Reverse]->show();
    picResult_[Forward]->setEnabled(false);
    picResult_[Forward]->hide();
    setTwipsLeft(cmdClear_, kClearLeftReverse);
}

void frmZipFind3::clearReverseLists() {
    for (QListWidget* list : {lstTodoufuken_, lstSikuchouson_, lstChomei_})
        list->clear();
    clearBlocks();
}

void frmZipFind3::clearBlocks() {
    lstKu_->clear();
    lstKu_->setEnabled(false);
    // The next town's blocks start unshifted.
    hScroll1_->setValue(0);
}

void frmZipFind3::clearReverseResult() {
    txtZipCode_->clear();
    txtAdress_->clear();
}

void frmZipFind3::fillList(QListWidget* list, const QList<ZipListEntry>& entries) {
    list->clear();
    for (const ZipListEntry& e : entries) {
        auto* item = new QListWidgetItem(e.text, list);
        item->setData(Qt::UserRole, e.data);
    }
}

void frmZipFind3::ZipFind_BeforeExecSet() {
    if (!restoring())
        return;
    const ZipConditions& stored = ctx_.history().zipConditions();
    if (optSelect_[Reverse]->isChecked()) {
        if (stored.prefecture.isEmpty())
            return;
        const int prefecture = rowOf(lstTodoufuken_, stored.prefecture);
        if (prefecture < 0)
            return;
        // The city is read before the prefecture's listing can store another one.
        const QString city = stored.city;
        {
            const QSignalBlocker quiet(lstTodoufuken_);
            lstTodoufuken_->setCurrentRow(prefecture);
        }
        if (!lstTodoufuken_Click() || city.isEmpty())
            return;
        const int row = rowOf(lstSikuchouson_, city);
        if (row < 0)
            return;
        {
            const QSignalBlocker quiet(lstSikuchouson_);
            lstSikuchouson_->setCurrentRow(row);
        }
        lstSikuchouson_Click();
    } else if (optSelect_[Forward]->isChecked() && !stored.code.isEmpty()) {
        txtZipCode_->setText(stored.code);
    }
}

bool frmZipFind3::lstTodoufuken_Click() {
    lstChomei_->clear();
    clearBlocks();
    clearReverseResult();
    return listCities();
}

bool frmZipFind3::listCities() {
    lstSikuchouson_->clear();
    QList<ZipListEntry> cities;
    if (!search_.ListCities(currentData(lstTodoufuken_), cities))
        return false;
    fillList(lstSikuchouson_, cities);
    return true;
}

bool frmZipFind3::lstSikuchouson_Click() {
    if (!listTowns())
        return false;
    saveConditionsWhenRestoring();
    return true;
}

bool frmZipFind3::listTowns() {
    lstChomei_->clear();
    clearBlocks();
    clearReverseResult();
    lstTemp_->clear();
    QList<ZipListEntry> towns;
    const bool sorted = chkChomeiSort_->isChecked();
    if (!search_.ListTowns(currentData(lstSikuchouson_), sorted, towns))
        return false;
    if (!sorted) {
        fillList(lstChomei_, towns);
        return true;
    }
    // The sorted towns pass through the hidden sorting list, as they always have.
    fillList(lstTemp_, towns);
    for (int i = 0; i < lstTemp_->count(); ++i)
        lstChomei_->addItem(lstTemp_->item(i)->clone());
    lstTemp_->clear();
    return true;
}

void frmZipFind3::lstChomei_Click() {
    clearBlocks();
    // A divided town has no code until one of its blocks is chosen.
    clearReverseResult();
    const QListWidgetItem* town = lstChomei_->currentItem();
    if (town == nullptr)
        return;
    const int code = town->data(Qt::UserRole).toInt();
    if (code < 1) {
        if (const auto first = search_.townFirstText(trimBlanks(town->text())))
            listBlocks(*first);
        return;
    }
    txtZipCode_->setText(pikotel::ZipHifon(QString::number(code)));
    setTextFromStart(txtAdress_,
                     townResultText(code, currentText(lstTodoufuken_), currentText(lstSikuchouson_),
                                    town->text(), ZipCodeOptions::from(ctx_.env())));
}

bool frmZipFind3::listBlocks(const QString& townName) {
    lstKu_->clear();
    QList<ZipListEntry> blocks;
    if (!search_.ListBlocks(currentData(lstSikuchouson_), townName, blocks))
        return false;
    fillList(lstKu_, blocks);
    lstKu_->setEnabled(lstKu_->count() > 0);
    if (lstKu_->count() > kManyBlocks)
        setTwipsWidth(hScroll1_, kShiftBarWideWidth);
    return true;
}

void frmZipFind3::lstKu_Click() {
    const QListWidgetItem* block = lstKu_->currentItem();
    if (block == nullptr)
        return;
    const int code = block->data(Qt::UserRole).toInt();
    if (code == 0) {
        // Not from inside the list's own selection signal.
        QTimer::singleShot(0, this, &frmZipFind3::clearBlocks);
        return;
    }
    txtZipCode_->setText(pikotel::ZipHifon(QString::number(code)));
    setTextFromStart(txtAdress_,
                     blockResultText(code, currentText(lstTodoufuken_),
                                     currentText(lstSikuchouson_), currentText(lstChomei_),
                                     block->text(), ZipCodeOptions::from(ctx_.env())));
}

void frmZipFind3::chkChomeiSort_Click() {
    const QString town = currentText(lstChomei_);
    const QString block = currentText(lstKu_);
    clearBlocks();
    if (lstSikuchouson_->currentItem() != nullptr && !listTowns())
        return;
    saveConditionsWhenRestoring();
    const int townRow = rowOf(lstChomei_, town);
    if (townRow < 0)
        return;
    lstChomei_->setCurrentRow(townRow);
    const int blockRow = rowOf(lstKu_, block);
    if (blockRow >= 0)
        lstKu_->setCurrentRow(blockRow);
}

void frmZipFind3::HScroll1_Change(int value) {
    const BlockShift shift = kBlockShifts[std::size_t(std::clamp(value, 0, 2))];
    setTwipsGeometry(lstKu_, shift.left, 0, shift.width, kBlockPanelHeight);
}

void frmZipFind3::stripeGrid() {
    const int rows = flgAddressList_->rowCount();
    const int columns = flgAddressList_->columnCount();
    for (int r = 0; r < rows; ++r) {
        // Data rows count from 1 beneath the header: odd ones white, even ones grey.
        const QColor& back = r % 2 == 0 ? kWhite : kStripeGrey;
        for (int c = 1; c < columns; ++c) {
            QTableWidgetItem* item = flgAddressList_->item(r, c);
            if (item == nullptr)
                continue;
            item->setBackground(back);
            item->setForeground(Qt::black);
        }
    }
}

void frmZipFind3::CmdFindZip_Click() {
    const QString input = txtZipCode_->text();
    switch (checkZipInput(input)) {
    case ZipInputCheck::Empty:
        txtZipCode_->setFocus();
        return;
    case ZipInputCheck::NotHalfWidth:
        MyMsgBoxShow(zipsearch::kMsgHalfWidthOnly, MsgOk, zipsearch::kCaptionInputCheck);
        txtZipCode_->clear();
        txtZipCode_->setFocus();
        return;
    case ZipInputCheck::WrongDigitCount:
        MyMsgBoxShow(zipsearch::kMsgDigitCount, MsgOk);
        txtZipCode_->clear();
        txtZipCode_->setFocus();
        return;
    case ZipInputCheck::Valid:
        break;
    }
    const int n = SearchByCode(input.trimmed());
    if (n < 0)
        return;
    if (n == 0)
        MyMsgBoxShow(zipsearch::kMsgNoHit, MsgOk);
    cmdClear_->setFocus();
}

int frmZipFind3::SearchByCode(const QString& text) {
    QList<ZipForwardHit> hits;
    const int n = search_.SearchByCode(text, hits);
    if (n < 0)
        return -1;
    if (n == 0) {
        txtSelectAddress_->clear();
        showGridHeaderOnly();
        lblRecordCount_->setText(QStringLiteral("0 件"));
        return 0;
    }
    flgAddressList_->setUpdatesEnabled(false);
    lblRecordCount_->setText(QString::number(n) + QStringLiteral(" 件"));
    flgAddressList_->setRowCount(n);
    flgAddressList_->setColumnCount(3);
    const QBrush fixed = flgAddressList_->palette().button();
    for (int j = 0; j < n; ++j) {
        auto* number = new QTableWidgetItem(QStringLiteral("%1").arg(j + 1, 4, 10, QChar(u'0')));
        number->setTextAlignment(Qt::AlignCenter);
        number->setBackground(fixed);
        flgAddressList_->setItem(j, 0, number);
        flgAddressList_->setItem(j, 1, new QTableWidgetItem(hits[j].code));
        // A town found by its old code says so; the picked address is the address alone.
        const QString mark = hits[j].oldCode.isEmpty() ? QString() : oldCodeMark(hits[j].oldCode);
        auto* address = new QTableWidgetItem(mark + hits[j].address);
        address->setData(Qt::UserRole, hits[j].address);
        flgAddressList_->setItem(j, 2, address);
    }
    stripeGrid();
    flgAddressList_->setUpdatesEnabled(true);
    saveConditionsWhenRestoring();
    return n;
}

void frmZipFind3::cmdClear_Click() {
    txtAdress_->clear();
    txtZipCode_->clear();
    txtSelectAddress_->clear();
    showGridHeaderOnly();
    lblRecordCount_->setText(kNoCount);
    txtZipCode_->setFocus();
}

void frmZipFind3::flgAddressList_MouseDown(int row) {
    // The header is not a row of the table here, so a press on it picks nothing.
    if (row < 0 || row >= flgAddressList_->rowCount())
        return;
    flgAddressList_->setUpdatesEnabled(false);
    stripeGrid();
    for (int c = 1; c < flgAddressList_->columnCount(); ++c) {
        QTableWidgetItem* item = flgAddressList_->item(row, c);
        if (item == nullptr)
            continue;
        item->setBackground(kHighlight);
        item->setForeground(Qt::white);
    }
    flgAddressList_->setUpdatesEnabled(true);
    const QTableWidgetItem* code = flgAddressList_->item(row, 1);
    const QTableWidgetItem* address = flgAddressList_->item(row, 2);
    setTextFromStart(
        txtSelectAddress_,
        selectedAddressText(code != nullptr ? code->text() : QString(),
                            address != nullptr ? address->data(Qt::UserRole).toString() : QString(),
                            ZipCodeOptions::from(ctx_.env())));
}

void frmZipFind3::CmdSetting_Click() {
    openSettings();
}

void frmZipFind3::settingsClosed() {
    ZipFind_BeforeExecSet();
}

void frmZipFind3::CmdHELP_Click() {
    openHelp();
}

bool frmZipFind3::filterCodeKey(QKeyEvent* event) {
    const int key = event->key();
    // Esc goes on to the screen, whose close button it is.
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Delete ||
        key == Qt::Key_Escape)
        return false;
    if (event->matches(QKeySequence::Copy) || event->matches(QKeySequence::SelectAll))
        return false;
    const QString text = event->text();
    if (!forwardMode())
        return !text.isEmpty();
    // Pasted text is checked by the search button.
    if (event->matches(QKeySequence::Paste))
        return false;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        cmdFindZip_->setFocus();
        return true;
    }
    if (text.isEmpty() || key == Qt::Key_Backspace)
        return false;
    return !(text.size() == 1 && isCodeCharacter(text.at(0)));
}

bool frmZipFind3::filterCodeInputMethod(QInputMethodEvent* event) {
    if (!forwardMode())
        return !event->commitString().isEmpty() || !event->preeditString().isEmpty();
    // The box takes what a typed key gives: digits typed through the input method arrive
    // full-width and are taken as their half-width forms.
    QString accepted;
    for (const QChar c : toHalfWidth(event->commitString())) {
        if (isCodeCharacter(c))
            accepted.append(c);
    }
    if (accepted == event->commitString() && event->preeditString().isEmpty())
        return false;
    QInputMethodEvent replacement;
    replacement.setCommitString(accepted);
    QCoreApplication::sendEvent(txtZipCode_, &replacement);
    return true;
}

bool frmZipFind3::gridToolTip(QHelpEvent* event) {
    const int row = flgAddressList_->rowAt(event->pos().y());
    const QTableWidgetItem* code = flgAddressList_->item(row, 1);
    const QTableWidgetItem* address = flgAddressList_->item(row, 2);
    if (code == nullptr || address == nullptr || !isCut(address)) {
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    QRect cells = flgAddressList_->visualItemRect(code);
    cells = cells.united(flgAddressList_->visualItemRect(address));
    QToolTip::showText(event->globalPos(), code->text() + u' ' + address->text(),
                       flgAddressList_->viewport(), cells);
    return true;
}

bool frmZipFind3::isCut(const QTableWidgetItem* item) const {
    // The cell's text margins are those of the view's item delegate.
    const int margin = flgAddressList_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr,
                                                             flgAddressList_) +
                       1;
    return flgAddressList_->fontMetrics().horizontalAdvance(item->text()) + 2 * margin >
           flgAddressList_->columnWidth(item->column());
}

bool frmZipFind3::eventFilter(QObject* watched, QEvent* event) {
    if (watched == flgAddressList_->viewport() && event->type() == QEvent::ToolTip)
        return gridToolTip(static_cast<QHelpEvent*>(event));
    if (watched == txtZipCode_) {
        if (event->type() == QEvent::KeyPress)
            return filterCodeKey(static_cast<QKeyEvent*>(event));
        if (event->type() == QEvent::InputMethod)
            return filterCodeInputMethod(static_cast<QInputMethodEvent*>(event));
    }
    return SearchScreen::eventFilter(watched, event);
}

int frmZipFind3::screenNo() const {
    return forwardMode() ? ScreenZipToAddress : ScreenAddressToZip;
}

void frmZipFind3::Form_Unload() {
    search_.CloseDictionary();
    UnhookWheel(flgAddressList_);
}

} // namespace pikotel
