#include "search/industry/frmgyoshufind2.h"

#include "app/frmtemp.h"
#include "app/pictures.h"
#include "app/placement.h"
#include "app/twips.h"
#include "app/widgets.h"
#include "core/context.h"
#include "history/frmrirekiselect.h"
#include "platform/messages.h"
#include "results/frmkekka3.h"
#include "search/industry/frmmygyoshu.h"
#include "search/industry/industrysearch.h"
#include "search/industry/industryvocab.h"

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QToolButton>

namespace pikotel {

namespace {

const QString kCaption = QStringLiteral("業種検索");
// More cities than this ask before searching.
constexpr int kManyCities = 10;

// Design size of the client area, in twips.
constexpr int kFormWidth = 9000;
constexpr int kFormHeight = 6900;

constexpr Qt::MatchFlags kExactText = Qt::MatchExactly | Qt::MatchCaseSensitive;

} // namespace

frmGyoshuFind2::frmGyoshuFind2(AppContext& ctx, SearchScreenHost& host)
    : SearchScreen(ctx, host, QStringLiteral("frmGyoshuFind2"), kCaption, QStringLiteral("業種")),
      originals_(ctx.store()) {
    buildUi();
}

frmGyoshuFind2::~frmGyoshuFind2() = default;

int frmGyoshuFind2::screenNo() const {
    return ScreenIndustry;
}

void frmGyoshuFind2::buildUi() {
    setFixedSize(twipsToPixelsX(this, kFormWidth), twipsToPixelsY(this, kFormHeight));
    const auto label = [](QWidget* parent, const char* name, const char* text, QWidget* buddy,
                          int left, int top, int width) {
        QLabel* l =
            newBuddyLabel(parent, QString::fromLatin1(name), QString::fromUtf8(text), buddy);
        setTwipsGeometry(l, left, top, width, 300);
        return l;
    };

    frame1_ = newFrame(this, QStringLiteral("Frame1"), QStringLiteral("地域選択"));
    setTwipsGeometry(frame1_, 120, 60, 5400, 4680);
    cmbTodoufuken_ =
        newTypingCombo(frame1_, QStringLiteral("cmbTodoufuken"), QStringLiteral("都道府県"));
    setTwipsGeometry(cmbTodoufuken_, 1320, 330, 2400, 360);
    label(frame1_, "lblTodoufuken", "都道府県", cmbTodoufuken_, 240, 360, 1080);
    lstSikuchouson_ = new QListWidget(frame1_);
    lstSikuchouson_->setObjectName(QStringLiteral("lstSikuchouson"));
    lstSikuchouson_->setAccessibleName(QStringLiteral("市区町村"));
    lstSikuchouson_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    setTwipsGeometry(lstSikuchouson_, 1320, 810, 3000, 3660);
    label(frame1_, "lblSikuchouson", "市区町村", lstSikuchouson_, 240, 840, 1080);
    cmdSikuSel_[0] =
        newTextButton(frame1_, QStringLiteral("cmdSikuSel0"), QStringLiteral("全選択"));
    cmdSikuSel_[1] =
        newTextButton(frame1_, QStringLiteral("cmdSikuSel1"), QStringLiteral("全解除"));
    for (QToolButton* b : cmdSikuSel_)
        setTwipsGeometry(b, 4440, 810, 840, 420);

    fraGyoshu_ = newFrame(this, QStringLiteral("FraGyoshu"), QStringLiteral("業種選択"));
    setTwipsGeometry(fraGyoshu_, 5640, 60, 3240, 4680);
    lstGyoshu_ = new QListWidget(fraGyoshu_);
    lstGyoshu_->setObjectName(QStringLiteral("lstGyoshu"));
    lstGyoshu_->setAccessibleName(QStringLiteral("業種"));
    lstGyoshu_->setSelectionMode(QAbstractItemView::SingleSelection);
    setTwipsGeometry(lstGyoshu_, 240, 330, 2760, 4140);

    lblStatus_ = newLabel(this, QStringLiteral("lblStatus"), QStringLiteral("メッセージ"));
    lblStatus_->setAccessibleName(QStringLiteral("ヒント"));
    setTwipsGeometry(lblStatus_, 120, 4860, 8760, 300);
    auto* line = new QFrame(this);
    line->setObjectName(QStringLiteral("Line1"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    setTwipsGeometry(line, 120, 5280, 8760, 30);
    lblOutfile_ = newLabel(this, QStringLiteral("lblOutfile"), QString());
    lblOutfile_->setAccessibleName(QStringLiteral("出力ファイル"));
    setTwipsGeometry(lblOutfile_, 120, 5400, 8760, 300);

    cmdExec_ = newPictureButton(this, QStringLiteral("cmdExec"), QStringLiteral("btn_gyoshu"),
                                QStringLiteral("検索"));
    cmdMyGyoshu_ =
        newTextButton(this, QStringLiteral("CmdMyGyoshu"), QStringLiteral("オリジナル業種"));
    cmdRireki_ = newTextButton(this, QStringLiteral("CmdRireki"), QStringLiteral("検索履歴"));
    cmdSetting_ = newPictureButton(this, QStringLiteral("CmdSetting"),
                                   QStringLiteral("btn_setting"), QStringLiteral("環境設定"));
    cmdHelp_ = newPictureButton(this, QStringLiteral("CmdHELP"), QStringLiteral("btn_help"),
                                QStringLiteral("ヘルプ"));
    cmdExit_ = newPictureButton(this, QStringLiteral("CmdExit"), QStringLiteral("icon_close"),
                                QStringLiteral("閉じる"));
    int left = 120;
    for (QToolButton* b : {cmdExec_, cmdMyGyoshu_, cmdRireki_, cmdSetting_, cmdHelp_, cmdExit_}) {
        setTwipsGeometry(b, left, 6120, 1380, 540);
        left += 1476;
        b->setCursor(handCursor());
    }
    for (QToolButton* b : cmdSikuSel_)
        b->setCursor(handCursor());

    connect(cmdSikuSel_[0], &QToolButton::clicked, this, [this] { cmdSikuSel_Click(0); });
    connect(cmdSikuSel_[1], &QToolButton::clicked, this, [this] { cmdSikuSel_Click(1); });
    connect(cmdExec_, &QToolButton::clicked, this, &frmGyoshuFind2::cmdExec_Click);
    connect(cmdMyGyoshu_, &QToolButton::clicked, this, &frmGyoshuFind2::CmdMyGyoshu_Click);
    connect(cmdSetting_, &QToolButton::clicked, this, [this] {
        if (!running_)
            openSettings();
    });
    connect(cmdHelp_, &QToolButton::clicked, this, [this] {
        if (!running_)
            openHelp();
    });
    connect(cmdExit_, &QToolButton::clicked, this, &QWidget::close);
    connect(cmbTodoufuken_, &QComboBox::activated, this, [this] { cmbTodoufuken_Click(); });
    connect(lstSikuchouson_, &QListWidget::itemSelectionChanged, this,
            &frmGyoshuFind2::lstsikuSelComments);

    connect(cmdRireki_, &QToolButton::clicked, this, &frmGyoshuFind2::CmdRireki_Click);
    cmdSetting_->setEnabled(settingsAvailable());

    for (QWidget* w : std::initializer_list<QWidget*>{cmbTodoufuken_, cmbTodoufuken_->lineEdit(),
                                                      lstSikuchouson_, lstGyoshu_})
        w->installEventFilter(this);
}

bool frmGyoshuFind2::Form_Load() {
    Directory& dir = ctx_.directory();
    if (!dir.isOpened()) {
        dir.DicOpen(true);
        if (!dir.isOpened())
            return false;
    }
    fillPrefectures();
    SikuchouSet();
    originals_.load();
    BuildIndustryList();
    Gyoshu_BeforeExecSet();
    lblOutfile_->setText(ctx_.env().text(EnvKey::OutFile));
    lstsikuSelComments();
    centreOverHost();
    return true;
}

void frmGyoshuFind2::fillPrefectures() {
    cmbTodoufuken_->clear();
    for (const PrefectureItem& p : ctx_.directory().prefectures())
        cmbTodoufuken_->addItem(p.name, p.prefNo);
    cmbTodoufuken_->setCurrentIndex(-1);
    cmbTodoufuken_->clearEditText();
    currentPrefecture_.clear();
}

void frmGyoshuFind2::BuildIndustryList() {
    lstGyoshu_->clear();
    for (int i = 0; i < OriginalIndustries::kSlots; ++i) {
        const QString& name = originals_.slot(i).name;
        if (name.isEmpty())
            continue;
        auto* item = new QListWidgetItem(kOriginalMark + name, lstGyoshu_);
        item->setData(Qt::UserRole, static_cast<int>(industry::Kind::Original));
    }
    for (const industry::Industry& builtin : industry::builtinIndustries()) {
        auto* item = new QListWidgetItem(builtin.name.toString(), lstGyoshu_);
        item->setData(Qt::UserRole, static_cast<int>(builtin.kind));
    }
}

void frmGyoshuFind2::SikuchouSet() {
    const QString prefecture = cmbTodoufuken_->currentText();
    if (prefecture.isEmpty())
        return;
    const int index = cmbTodoufuken_->findText(prefecture, kExactText);
    if (index < 0) {
        MyMsgBoxShow(QStringLiteral("入力した都道府県は存在しません。"), MsgOk);
        cmbTodoufuken_->clearEditText();
        cmbTodoufuken_->setFocus();
        return;
    }
    lstSikuchouson_->clear();
    const int prefNo = cmbTodoufuken_->itemData(index).toInt();
    for (const AreaEntry& city : ctx_.directory().citiesOfPrefecture(prefNo)) {
        auto* item = new QListWidgetItem(city.cityName, lstSikuchouson_);
        item->setData(Qt::UserRole, city.cityCode);
    }
}

void frmGyoshuFind2::cmbTodoufuken_Click() {
    const QString prefecture = cmbTodoufuken_->currentText();
    if (prefecture != currentPrefecture_) {
        lstSikuchouson_->clear();
        currentPrefecture_ = prefecture;
    }
    if (lstSikuchouson_->count() == 0)
        SikuchouSet();
    if (lstSikuchouson_->count() > 0)
        lstSikuchouson_->selectionModel()->setCurrentIndex(lstSikuchouson_->model()->index(0, 0),
                                                           QItemSelectionModel::NoUpdate);
    cmdSikuSel_[0]->setEnabled(true);
    cmdSikuSel_[0]->setVisible(true);
    cmdSikuSel_[1]->setEnabled(false);
    cmdSikuSel_[1]->setVisible(false);
}

void frmGyoshuFind2::cmdSikuSel_Click(int index) {
    if (lstSikuchouson_->count() == 0)
        return;
    if (index == 0) {
        lstSikuchouson_->setVisible(false);
        lstSikuchouson_->selectAll();
        lstSikuchouson_->setVisible(true);
    } else {
        lstSikuchouson_->clearSelection();
        lstSikuchouson_->selectionModel()->setCurrentIndex(QModelIndex(),
                                                           QItemSelectionModel::NoUpdate);
    }
    const bool all = index == 0;
    cmdSikuSel_[0]->setEnabled(!all);
    cmdSikuSel_[0]->setVisible(!all);
    cmdSikuSel_[1]->setEnabled(all);
    cmdSikuSel_[1]->setVisible(all);
}

void frmGyoshuFind2::lstsikuSelComments() {
    const int selected = static_cast<int>(lstSikuchouson_->selectedItems().size());
    cmdSikuSel_[0]->setEnabled(selected == 0);
    cmdSikuSel_[0]->setVisible(selected == 0);
    cmdSikuSel_[1]->setEnabled(selected > 0);
    cmdSikuSel_[1]->setVisible(selected > 0);
    lstSikuchouson_->setToolTip(selected > 0 ? QString::number(selected) + QStringLiteral("件選択")
                                             : QString());
}

bool frmGyoshuFind2::ValidateConditions() {
    const auto fail = [](const QString& message, QWidget* focus) {
        MyMsgBoxShow(message, MsgOk);
        focus->setFocus();
        return false;
    };
    const QString prefecture = cmbTodoufuken_->currentText();
    if (prefecture.isEmpty())
        return fail(QStringLiteral("都道府県名を選択してください。"), cmbTodoufuken_);
    if (cmbTodoufuken_->findText(prefecture, kExactText) < 0)
        return fail(QStringLiteral("入力した都道府県名は存在しません。"), cmbTodoufuken_);
    if (lstSikuchouson_->selectedItems().isEmpty())
        return fail(QStringLiteral("市区町村名を選択してください。"), lstSikuchouson_);
    if (lstGyoshu_->selectedItems().isEmpty())
        return fail(QStringLiteral("業種を選択してください。"), lstGyoshu_);
    return true;
}

QList<ChosenCity> frmGyoshuFind2::chosenCities() const {
    QList<ChosenCity> cities;
    for (int i = 0; i < lstSikuchouson_->count(); ++i) {
        const QListWidgetItem* item = lstSikuchouson_->item(i);
        if (item->isSelected())
            cities.append({item->text(), item->data(Qt::UserRole).toInt()});
    }
    return cities;
}

QString frmGyoshuFind2::selectedIndustry() const {
    const QList<QListWidgetItem*> selected = lstGyoshu_->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

void frmGyoshuFind2::setRunning(bool running) {
    running_ = running;
    for (QListWidget* list : {lstSikuchouson_, lstGyoshu_}) {
        if (running)
            list->setCursor(Qt::WaitCursor);
        else
            list->unsetCursor();
    }
}

void frmGyoshuFind2::cmdExec_Click() {
    if (running_)
        return;
    const QList<ChosenCity> cities = chosenCities();
    if (cities.size() > kManyCities &&
        MyMsgBoxShow(QStringLiteral(
                         "多数の市区町村が選択されています。検索に時間がかかるかもしれません。\r\n"
                         "継続してよろしいですか？"),
                     MsgYesNo) != MsgResultYes)
        return;
    Directory& dir = ctx_.directory();
    if (dir.DicExistChk())
        return;
    if (!dir.isOpened()) {
        dir.DicOpen(true);
        if (!dir.isOpened())
            return;
    }
    if (!ValidateConditions())
        return;

    IndustryConditions conditions;
    conditions.prefecture = cmbTodoufuken_->currentText();
    for (const ChosenCity& city : cities)
        conditions.cities.append(city.name);
    conditions.industry = selectedIndustry();
    ctx_.history().recordIndustrySearch(conditions);

    setRunning(true);
    ctx_.clock().processEvents();
    // The kind is that of the first item with the text; an original is the slot at its row.
    const QList<QListWidgetItem*> sameText = lstGyoshu_->findItems(conditions.industry, kExactText);
    const auto kind = static_cast<industry::Kind>(sameText.first()->data(Qt::UserRole).toInt());
    const IndustryKeywords keywords =
        BuildKeywords(conditions.industry, kind,
                      lstGyoshu_->row(lstGyoshu_->selectedItems().first()), originals_);

    // Without a parent: the screen is disabled while the progress screen's stop button works.
    frmTemp progress;
    progress.setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    CenterFormOver(this, &progress);
    progress.show();
    setEnabled(false);
    const IndustryOutcome outcome = runIndustrySearch(ctx_, keywords, cities, &progress);
    progress.close();
    setRunning(false);
    setEnabled(true);

    if (outcome.hits == 0) {
        MyMsgBoxShow(kNoIndustryHit, MsgOk);
        show();
        return;
    }
    applyIndustryRecordLimit(ctx_, cities.size());
    setIndustryCaptions(ctx_, conditions.prefecture, conditions.cities, conditions.industry);
    showResults(ctx_, this);
}

void frmGyoshuFind2::CmdMyGyoshu_Click() {
    if (running_)
        return;
    frmMyGyoshu editor(originals_, selectedIndustry(), this);
    editor.Form_Load();
    ctx_.modals().exec(editor);
    if (!editor.changed())
        return;
    originals_.load();
    BuildIndustryList();
    Gyoshu_BeforeExecSet();
}

void frmGyoshuFind2::Gyoshu_BeforeExecSet() {
    const auto clearIndustry = [this] {
        lstGyoshu_->clearSelection();
        lstGyoshu_->setCurrentRow(-1);
    };
    if (!ctx_.env().firstChoice(EnvKey::BeforeExec)) {
        clearIndustry();
        return;
    }
    HistoryStore& history = ctx_.history();
    if (history.LoadIndustryHistory() != 0 || history.industryHistory().isEmpty())
        return;
    const QList<IndustryConditions>& entries = history.industryHistory();
    // Position 0 means the newest entry.
    int position = history.industryLastFind();
    if (position == 0)
        position = static_cast<int>(entries.size()) - 1;
    if (position < 0 || position >= entries.size())
        return;
    showEntry(entries.at(position));
}

void frmGyoshuFind2::showEntry(const IndustryConditions& entry) {
    const auto clearIndustry = [this] {
        lstGyoshu_->clearSelection();
        lstGyoshu_->setCurrentRow(-1);
    };

    if (entry.prefecture.isEmpty()) {
        clearIndustry();
    } else {
        const int index = cmbTodoufuken_->findText(entry.prefecture, kExactText);
        if (index >= 0) {
            cmbTodoufuken_->setCurrentIndex(index);
            cmbTodoufuken_Click();
        }
    }
    // Stored cities are in list order: one pass selects them.
    selectInOrder(lstSikuchouson_, entry.cities, HistoryStore::kMaxIndustryCities);
    if (!entry.industry.isEmpty()) {
        const QList<QListWidgetItem*> found = lstGyoshu_->findItems(entry.industry, kExactText);
        if (!found.isEmpty())
            lstGyoshu_->setCurrentItem(found.first());
    }
}

void frmGyoshuFind2::CmdRireki_Click() {
    if (running_)
        return;
    frmRirekiSelect dialog(
        ctx_, HistoryKind::Industry,
        [this](int entry) { showEntry(ctx_.history().industryHistory().at(entry)); }, this);
    ctx_.modals().exec(dialog);
}

void frmGyoshuFind2::settingsClosed() {
    const QString outFile = ctx_.env().text(EnvKey::OutFile);
    if (!outFile.isEmpty())
        lblOutfile_->setText(outFile);
    Gyoshu_BeforeExecSet();
}

void frmGyoshuFind2::Form_Unload() {
    const int viewer = ctx_.env().viewerKind;
    if (!running_ && (viewer == ViewerExcel || viewer == ViewerExcel2007) &&
        lblOutfile_->text().isEmpty())
        ctx_.env().setText(EnvKey::OutFile, QString());
}

bool frmGyoshuFind2::moveOnEnter(QObject* watched, const QKeyEvent* key) {
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return false;
    if (watched == cmbTodoufuken_ || watched == cmbTodoufuken_->lineEdit()) {
        // A typed prefecture counts as chosen; one that is not listed keeps the focus.
        const QString prefecture = cmbTodoufuken_->currentText();
        const bool listed =
            prefecture.isEmpty() || cmbTodoufuken_->findText(prefecture, kExactText) >= 0;
        if (prefecture != currentPrefecture_)
            cmbTodoufuken_Click();
        if (listed)
            lstSikuchouson_->setFocus();
    } else if (watched == lstSikuchouson_) {
        lstGyoshu_->setFocus();
    } else if (watched == lstGyoshu_) {
        cmdExec_->setFocus();
    } else {
        return false;
    }
    return true;
}

void frmGyoshuFind2::showHint(QObject* watched) {
    if (watched == cmbTodoufuken_ || watched == cmbTodoufuken_->lineEdit())
        lblStatus_->setText(QStringLiteral("都道府県を選択してください。（必ず選択）"));
    else if (watched == lstSikuchouson_)
        lblStatus_->setText(QStringLiteral(
            "市区町村を選択してください。（必ず選択）  ＣＴＲＬ＋クリックで複数選択"));
    else if (watched == lstGyoshu_)
        lblStatus_->setText(QStringLiteral("業種を選択してください。（必ず選択）"));
}

bool frmGyoshuFind2::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && moveOnEnter(watched, static_cast<QKeyEvent*>(event)))
        return true;
    if (event->type() == QEvent::FocusIn)
        showHint(watched);
    return SearchScreen::eventFilter(watched, event);
}

QWidget* createGyoshuFindScreen(AppContext& ctx, SearchScreenHost& host) {
    auto* screen = new frmGyoshuFind2(ctx, host);
    screen->Form_Load();
    return screen;
}

} // namespace pikotel
