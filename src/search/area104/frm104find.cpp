#include "search/area104/frm104find.h"

#include "app/frmtemp.h"
#include "app/pictures.h"
#include "app/placement.h"
#include "app/twips.h"
#include "app/widgets.h"
#include "common/textfold.h"
#include "core/context.h"
#include "history/frmrirekiselect.h"
#include "platform/messages.h"
#include "results/frmkekka3.h"
#include "search/area104/frmseimei.h"

#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QToolButton>

#include <limits>

namespace pikotel {

namespace {

const QString kCaption = QStringLiteral("１０４式検索");
const QString kNotSet = QStringLiteral("設定されていません。");
const QString kNoSuchPrefecture = QStringLiteral("入力した都道府県は存在しません。");
const QString kNoSuchCity = QStringLiteral("入力した市区町村は存在しません。");
const QString kChooseCity = QStringLiteral("市区町村を選択してください。");
const QString kPersonHint = QStringLiteral("姓か名を入力してください。（姓か名は必ず入力）");
const QString kCompanyHint = QStringLiteral("会社名を入力してください。（必ず入力）");
constexpr int kManyCities = 11;

// Design size of the client area, in twips.
constexpr int kFormWidth = 9000;
constexpr int kFormHeight = 6900;

bool isListed(const QComboBox* box, const QString& text) {
    return box->findText(text, Qt::MatchExactly) >= 0;
}

} // namespace

frm104Find::frm104Find(AppContext& ctx, SearchScreenHost& host)
    : SearchScreen(ctx, host, QStringLiteral("frm104Find"), kCaption, QStringLiteral("１０４")) {
    buildUi();
}

frm104Find::~frm104Find() = default;

int frm104Find::screenNo() const {
    return Screen104;
}

void frm104Find::buildUi() {
    setFixedSize(twipsToPixelsX(this, kFormWidth), twipsToPixelsY(this, kFormHeight));
    const auto label = [](QWidget* parent, const char* name, const char* text, QWidget* buddy,
                          int left, int top, int width) {
        QLabel* l =
            newBuddyLabel(parent, QString::fromLatin1(name), QString::fromUtf8(text), buddy);
        setTwipsGeometry(l, left, top, width, 300);
        return l;
    };

    frame1_ = newFrame(this, QStringLiteral("Frame1"), QStringLiteral("地域指定"));
    setTwipsGeometry(frame1_, 120, 60, 5400, 4020);
    cmbTodoufuken_ =
        newTypingCombo(frame1_, QStringLiteral("cmbTodoufuken"), QStringLiteral("都道府県"));
    setTwipsGeometry(cmbTodoufuken_, 1320, 330, 2400, 360);
    label(frame1_, "lblTodoufuken", "都道府県", cmbTodoufuken_, 240, 360, 1080);
    cmbSikuchouson_ =
        newTypingCombo(frame1_, QStringLiteral("cmbSikuchouson"), QStringLiteral("市区町村"));
    setTwipsGeometry(cmbSikuchouson_, 1320, 810, 3900, 360);
    lstSikuchouson_ = new QListWidget(frame1_);
    lstSikuchouson_->setObjectName(QStringLiteral("lstSikuchouson"));
    lstSikuchouson_->setAccessibleName(QStringLiteral("市区町村"));
    lstSikuchouson_->setSelectionMode(QAbstractItemView::MultiSelection);
    setTwipsGeometry(lstSikuchouson_, 1320, 810, 3000, 2340);
    label(frame1_, "lblSikuchouson", "市区町村", cmbSikuchouson_, 240, 840, 1080);
    cmdSikuSel_[0] =
        newTextButton(frame1_, QStringLiteral("cmdSikuSel0"), QStringLiteral("全選択"));
    cmdSikuSel_[1] =
        newTextButton(frame1_, QStringLiteral("cmdSikuSel1"), QStringLiteral("全解除"));
    for (QToolButton* b : cmdSikuSel_)
        setTwipsGeometry(b, 4440, 810, 840, 420);
    txtChomei_ = newField(frame1_, QStringLiteral("txtChomei"), QStringLiteral("町域名"));
    setTwipsGeometry(txtChomei_, 2640, 3330, 2600, 360);
    lblChomei_ = label(frame1_, "lblChomei", "町域名 （任意入力）", txtChomei_, 240, 3360, 2400);

    frame2_ = newFrame(this, QStringLiteral("Frame2"), QStringLiteral("検索方法"));
    setTwipsGeometry(frame2_, 5640, 60, 3240, 900);
    opt検索方法_[Normal] = new QRadioButton(QStringLiteral("通常検索"), frame2_);
    opt検索方法_[Wide] = new QRadioButton(QStringLiteral("広域検索"), frame2_);
    for (int i = 0; i < 2; ++i) {
        opt検索方法_[static_cast<std::size_t>(i)]->setObjectName(
            QStringLiteral("Opt検索方法%1").arg(i));
        setTwipsGeometry(opt検索方法_[static_cast<std::size_t>(i)], 240 + i * 1440, 390, 1400, 300);
        connect(opt検索方法_[static_cast<std::size_t>(i)], &QRadioButton::clicked, this,
                [this, i] { Opt検索方法_Click(i); });
    }

    fraHojinkojin_ = newFrame(this, QStringLiteral("fraHojinkojin"), QStringLiteral("名称入力"));
    setTwipsGeometry(fraHojinkojin_, 5640, 1020, 3240, 3060);
    optKojin_ = new QRadioButton(QStringLiteral("個人名を入力"), fraHojinkojin_);
    optKojin_->setObjectName(QStringLiteral("optKojin"));
    setTwipsGeometry(optKojin_, 240, 330, 2800, 300);
    optHojin_ = new QRadioButton(QStringLiteral("法人名を入力"), fraHojinkojin_);
    optHojin_->setObjectName(QStringLiteral("optHojin"));
    setTwipsGeometry(optHojin_, 240, 690, 2800, 300);
    connect(optKojin_, &QRadioButton::clicked, this, &frm104Find::optKojin_Click);
    connect(optHojin_, &QRadioButton::clicked, this, &frm104Find::optHojin_Click);

    fraSeimei_ = newFrame(fraHojinkojin_, QStringLiteral("fraSeimei"), QString());
    setTwipsGeometry(fraSeimei_, 120, 1080, 3000, 1860);
    txtSei_ = newField(fraSeimei_, QStringLiteral("txtSei"), QStringLiteral("姓"));
    setTwipsGeometry(txtSei_, 600, 270, 1500, 360);
    label(fraSeimei_, "lblSei", "姓", txtSei_, 120, 300, 420);
    txtMei_ = newField(fraSeimei_, QStringLiteral("txtMei"), QStringLiteral("名"));
    setTwipsGeometry(txtMei_, 600, 750, 1500, 360);
    label(fraSeimei_, "lblMei", "名", txtMei_, 120, 780, 420);
    cmdseimei_ = newTextButton(fraSeimei_, QStringLiteral("cmdseimei"), QStringLiteral("姓名辞書"));
    setTwipsGeometry(cmdseimei_, 600, 1260, 1500, 450);

    fraShamei_ = newFrame(fraHojinkojin_, QStringLiteral("fraShamei"), QString());
    setTwipsGeometry(fraShamei_, 120, 1080, 3000, 1860);
    txtShamei_ = newField(fraShamei_, QStringLiteral("txtShamei"), QStringLiteral("会社名"));
    setTwipsGeometry(txtShamei_, 120, 660, 2760, 360);
    label(fraShamei_, "lblShamei", "会社名", txtShamei_, 120, 300, 1200);

    lblStatus2_ = newLabel(this, QStringLiteral("lblStatus2"), QString());
    lblStatus2_->setAccessibleName(QStringLiteral("ヒント"));
    setTwipsGeometry(lblStatus2_, 120, 4200, 8760, 300);
    QGroupBox* outFrame = newFrame(this, QStringLiteral("Frame3"),
                                   QStringLiteral("検索結果を出力するファイルの格納場所"));
    setTwipsGeometry(outFrame, 120, 4560, 8760, 720);
    lblOutFile_ = newLabel(outFrame, QStringLiteral("lblOutFile"), QString());
    setTwipsGeometry(lblOutFile_, 240, 330, 8280, 300);
    lblStatus1_ = newLabel(this, QStringLiteral("lblStatus1"), QString());
    lblStatus1_->setAccessibleName(QStringLiteral("検索状況"));
    setTwipsGeometry(lblStatus1_, 120, 5400, 8760, 300);

    cmdExec_ = newPictureButton(this, QStringLiteral("cmdExec"), QStringLiteral("btn_104"),
                                QStringLiteral("検索"));
    cmdRireki_ = newTextButton(this, QStringLiteral("CmdRireki"), QStringLiteral("検索履歴"));
    cmdSetting_ = newPictureButton(this, QStringLiteral("CmdSetting"),
                                   QStringLiteral("btn_setting"), QStringLiteral("環境設定"));
    cmdHelp_ = newPictureButton(this, QStringLiteral("CmdHELP"), QStringLiteral("btn_help"),
                                QStringLiteral("ヘルプ"));
    cmdExit_ = newPictureButton(this, QStringLiteral("CmdExit"), QStringLiteral("icon_close"),
                                QStringLiteral("閉じる"));
    int left = 120;
    for (QToolButton* b : {cmdExec_, cmdRireki_, cmdSetting_, cmdHelp_, cmdExit_}) {
        setTwipsGeometry(b, left, 6120, 1620, 540);
        left += 1785;
        b->setCursor(handCursor());
    }
    for (QToolButton* b : {cmdSikuSel_[0], cmdSikuSel_[1], cmdseimei_})
        b->setCursor(handCursor());

    connect(cmdSikuSel_[0], &QToolButton::clicked, this, [this] { cmdSikuSel_Click(0); });
    connect(cmdSikuSel_[1], &QToolButton::clicked, this, [this] { cmdSikuSel_Click(1); });
    connect(cmdExec_, &QToolButton::clicked, this, &frm104Find::cmdExec_Click);
    connect(cmdRireki_, &QToolButton::clicked, this, &frm104Find::CmdRireki_Click);
    connect(cmdseimei_, &QToolButton::clicked, this, &frm104Find::cmdseimei_Click);
    connect(cmdSetting_, &QToolButton::clicked, this, [this] {
        if (!running_)
            openSettings();
    });
    connect(cmdHelp_, &QToolButton::clicked, this, [this] { openHelp(); });
    connect(cmdExit_, &QToolButton::clicked, this, &QWidget::close);
    connect(cmbTodoufuken_, &QComboBox::activated, this, [this] { SikuListSet(); });
    connect(lstSikuchouson_, &QListWidget::itemSelectionChanged, this,
            &frm104Find::lstsikuSelComments);

    cmdSetting_->setEnabled(settingsAvailable());

    for (QWidget* w : std::initializer_list<QWidget*>{
             cmbTodoufuken_, cmbSikuchouson_, lstSikuchouson_, txtChomei_, txtSei_, txtMei_,
             txtShamei_, optHojin_, opt検索方法_[0], opt検索方法_[1], cmdExec_, cmdExit_})
        w->installEventFilter(this);
    cmbSikuchouson_->lineEdit()->installEventFilter(this);
    cmbTodoufuken_->lineEdit()->installEventFilter(this);
}

bool frm104Find::Form_Load() {
    Directory& dir = ctx_.directory();
    if (!dir.isOpened()) {
        dir.DicOpen(true);
        if (!dir.isOpened())
            return false;
    }
    fillPrefectures();
    lblStatus1_->clear();
    showOutFile();
    opt検索方法_[Normal]->setChecked(true);
    Opt検索方法_Click(Normal);
    optKojin_->setChecked(true);
    personKindChanged();
    if (ctx_.env().firstChoice(EnvKey::BeforeExec))
        Before104ExecSet();
    lstsikuSelComments();
    followSeimeiSetting();
    centreOverHost();
    return true;
}

void frm104Find::fillPrefectures() {
    cmbTodoufuken_->clear();
    for (const PrefectureItem& p : ctx_.directory().prefectures())
        cmbTodoufuken_->addItem(p.name, p.prefNo);
    cmbTodoufuken_->setCurrentIndex(-1);
    cmbTodoufuken_->clearEditText();
    loadedPrefecture_.clear();
}

void frm104Find::showOutFile() {
    const QString outFile = ctx_.env().text(EnvKey::OutFile);
    lblOutFile_->setText(outFile.isEmpty() ? kNotSet : outFile);
    lblOutFile_->setToolTip(outFile);
}

void frm104Find::SikuListSet() {
    const QString prefecture = cmbTodoufuken_->currentText();
    if (prefecture == loadedPrefecture_ && !prefecture.isEmpty())
        return;
    lstSikuchouson_->clear();
    cmbSikuchouson_->clear();
    loadedPrefecture_.clear();
    if (prefecture.isEmpty())
        return;
    const int index = cmbTodoufuken_->findText(prefecture, Qt::MatchExactly);
    if (index < 0) {
        MyMsgBoxShow(kNoSuchPrefecture, MsgOk);
        cmbTodoufuken_->clearEditText();
        cmbTodoufuken_->setFocus();
        return;
    }
    const int prefNo = cmbTodoufuken_->itemData(index).toInt();
    for (const AreaEntry& city : ctx_.directory().citiesOfPrefecture(prefNo)) {
        cmbSikuchouson_->addItem(city.cityName, city.cityCode);
        auto* item = new QListWidgetItem(city.cityName, lstSikuchouson_);
        item->setData(Qt::UserRole, city.cityCode);
    }
    cmbSikuchouson_->setCurrentIndex(-1);
    cmbSikuchouson_->clearEditText();
    loadedPrefecture_ = prefecture;
    lstsikuSelComments();
}

frm104Find::Mode frm104Find::mode() const {
    return opt検索方法_[Wide]->isChecked() ? Wide : Normal;
}

void frm104Find::Opt検索方法_Click(int index) {
    opt検索方法_[static_cast<std::size_t>(index)]->setChecked(true);
    const bool wide = index == Wide;
    lstSikuchouson_->setVisible(wide);
    lstSikuchouson_->setEnabled(wide);
    cmbSikuchouson_->setVisible(!wide);
    cmbSikuchouson_->setEnabled(!wide);
    lblChomei_->setVisible(!wide);
    txtChomei_->setVisible(!wide);
    txtChomei_->setEnabled(!wide);
    if (wide)
        txtChomei_->clear();
    else
        lstSikuchouson_->clearSelection();
    if (!cmbTodoufuken_->currentText().isEmpty())
        SikuListSet();
    lstsikuSelComments();
}

void frm104Find::lstsikuSelComments() {
    const bool wide = mode() == Wide;
    const int selected = static_cast<int>(lstSikuchouson_->selectedItems().size());
    const bool clearAll = wide && selected > 0;
    cmdSikuSel_[0]->setVisible(wide && !clearAll);
    cmdSikuSel_[0]->setEnabled(wide && !clearAll);
    cmdSikuSel_[1]->setVisible(clearAll);
    cmdSikuSel_[1]->setEnabled(clearAll);
    lstSikuchouson_->setToolTip(selected > 0 ? QString::number(selected) + QStringLiteral("件選択")
                                             : QString());
}

void frm104Find::cmdSikuSel_Click(int index) {
    if (index == 0)
        lstSikuchouson_->selectAll();
    else
        lstSikuchouson_->clearSelection();
    lstsikuSelComments();
}

void frm104Find::personKindChanged() {
    const bool company = optHojin_->isChecked();
    fraSeimei_->setVisible(!company);
    fraShamei_->setVisible(company);
    lblStatus2_->setText(company ? kCompanyHint : kPersonHint);
}

void frm104Find::optKojin_Click() {
    optKojin_->setChecked(true);
    personKindChanged();
}

void frm104Find::optHojin_Click() {
    optHojin_->setChecked(true);
    personKindChanged();
}

bool frm104Find::Banchi_chk(const QString& town) {
    if (town == QStringLiteral("丁目") || town == QStringLiteral("番地"))
        return true;
    for (const QChar c : town) {
        if (c.isDigit())
            return true;
    }
    return false;
}

bool frm104Find::Chk104Cond() {
    const auto fail = [](const QString& message, QWidget* focus) {
        MyMsgBoxShow(message, MsgOk);
        focus->setFocus();
        return false;
    };
    const QString prefecture = cmbTodoufuken_->currentText();
    if (prefecture.isEmpty())
        return fail(QStringLiteral("都道府県を選択してください。"), cmbTodoufuken_);
    if (!isListed(cmbTodoufuken_, prefecture))
        return fail(kNoSuchPrefecture, cmbTodoufuken_);
    // A prefecture typed but not yet chosen loads its cities now.
    SikuListSet();
    if (mode() == Normal) {
        const QString city = cmbSikuchouson_->currentText();
        if (city.isEmpty())
            return fail(kChooseCity, cmbSikuchouson_);
        if (!isListed(cmbSikuchouson_, city))
            return fail(kNoSuchCity, txtChomei_);
    } else if (lstSikuchouson_->selectedItems().isEmpty()) {
        return fail(kChooseCity, lstSikuchouson_);
    }
    if (!txtChomei_->text().isEmpty() && Banchi_chk(txtChomei_->text()))
        return fail(QStringLiteral("番地は入力しないでください。"), txtChomei_);
    if (optKojin_->isChecked()) {
        if (txtSei_->text().isEmpty() && txtMei_->text().isEmpty())
            return fail(QStringLiteral("姓もしくは名を入力してください。"), txtSei_);
        txtSei_->setText(toFullWidth(txtSei_->text()));
        txtMei_->setText(toFullWidth(txtMei_->text()));
    } else {
        if (txtShamei_->text().isEmpty())
            return fail(QStringLiteral("会社名を入力してください。"), txtShamei_);
        txtShamei_->setText(toFullWidth(txtShamei_->text()));
    }
    return true;
}

QList<ChosenCity> frm104Find::chosenCities() const {
    QList<ChosenCity> cities;
    if (mode() == Normal) {
        const int index =
            cmbSikuchouson_->findText(cmbSikuchouson_->currentText(), Qt::MatchExactly);
        if (index >= 0)
            cities.append(
                {cmbSikuchouson_->itemText(index), cmbSikuchouson_->itemData(index).toInt()});
        return cities;
    }
    for (int i = 0; i < lstSikuchouson_->count(); ++i) {
        const QListWidgetItem* item = lstSikuchouson_->item(i);
        if (item->isSelected())
            cities.append({item->text(), item->data(Qt::UserRole).toInt()});
    }
    return cities;
}

Area104Conditions frm104Find::conditions() const {
    Area104Conditions c;
    c.wideArea = mode() == Wide;
    c.prefecture = cmbTodoufuken_->currentText();
    if (c.wideArea) {
        for (const ChosenCity& city : chosenCities())
            c.cities.append(city.name);
    } else {
        c.city = cmbSikuchouson_->currentText();
        c.town = cutToBytes(txtChomei_->text(), kMaxTownBytes);
    }
    c.company = optHojin_->isChecked();
    if (c.company) {
        c.companyName = cutToBytes(txtShamei_->text().trimmed(), kMaxNamePartBytes * 2);
    } else {
        c.surname = cutToBytes(txtSei_->text().trimmed(), kMaxNamePartBytes);
        c.givenName = cutToBytes(txtMei_->text().trimmed(), kMaxNamePartBytes);
    }
    return c;
}

void frm104Find::cmdExec_Click() {
    if (running_ || !Chk104Cond())
        return;
    Directory& dir = ctx_.directory();
    if (dir.DicExistChk())
        return;
    if (!dir.isOpened()) {
        dir.DicOpen(true);
        if (!dir.isOpened())
            return;
    }
    const Area104Conditions c = conditions();
    const QList<ChosenCity> cities = chosenCities();
    if (c.wideArea && cities.size() >= kManyCities &&
        MyMsgBoxShow(QStringLiteral(
                         "多数の市区町村が選択されています。検索に時間がかかるかもしれません。\r\n"
                         "継続してよろしいですか？"),
                     MsgYesNo) != MsgResultYes)
        return;
    // What the search takes is what the boxes show.
    txtSei_->setText(c.surname);
    txtMei_->setText(c.givenName);
    txtShamei_->setText(c.companyName);
    txtChomei_->setText(c.town);
    ctx_.history().record104Search(c);

    running_ = true;
    setCursor(Qt::WaitCursor);
    Search104Outcome outcome;
    if (c.wideArea) {
        frmTemp progress(this);
        progress.setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
        CenterFormOver(this, &progress);
        progress.show();
        setEnabled(false);
        outcome = runSearch104(ctx_, c, cities, &progress, [this](const ChosenCity& city) {
            lblStatus1_->setText(city.name + QStringLiteral("を検索中です。"));
        });
        setEnabled(true);
    } else {
        lblStatus1_->setText(QStringLiteral("検索中です。"));
        ctx_.clock().processEvents();
        outcome = runSearch104(ctx_, c, cities, nullptr);
    }
    lblStatus1_->clear();
    unsetCursor();
    running_ = false;

    if (outcome.result < 0) {
        // A dictionary that went away has said so already.
        const QString message = engineErrorMessage(outcome.result);
        if (!message.isEmpty())
            MyMsgBoxShow(message, MsgOk);
        return;
    }
    if (outcome.hits == 0) {
        MyMsgBoxShow(noHitMessage104(c), MsgOk);
        return;
    }
    set104Captions(ctx_, c);
    const int x = twipsLeft(this);
    const int y = twipsTop(this);
    ctx_.shell().startUpPosX = static_cast<float>(std::max(x, 0));
    ctx_.shell().startUpPosY = static_cast<float>(std::max(y, 0));
    showResults(ctx_, this);
}

void frm104Find::selectCitiesInOrder(const QStringList& cities, int walk) {
    selectInOrder(lstSikuchouson_, cities, walk);
    lstsikuSelComments();
}

void frm104Find::showArea(const Area104Conditions& entry, int walk) {
    cmbTodoufuken_->setCurrentText(entry.prefecture);
    SikuListSet();
    if (entry.wideArea) {
        Opt検索方法_Click(Wide);
        selectCitiesInOrder(entry.cities, walk);
        return;
    }
    Opt検索方法_Click(Normal);
    if (!entry.city.isEmpty())
        cmbSikuchouson_->setCurrentText(entry.city);
}

void frm104Find::Before104ExecSet() {
    HistoryStore& history = ctx_.history();
    history.Load104History();
    Area104Conditions entry;
    if (!history.lastUsed104(entry))
        return;
    showArea(entry, HistoryStore::kMax104Cities);
    if (!entry.wideArea && !entry.town.isEmpty())
        txtChomei_->setText(entry.town);
}

void frm104Find::CmdRireki_Click() {
    if (running_)
        return;
    frmRirekiSelect dialog(
        ctx_, HistoryKind::Area104,
        [this](int entry) { applyHistory(ctx_.history().area104History().at(entry)); }, this);
    ctx_.modals().exec(dialog);
}

void frm104Find::cmdseimei_Click() {
    if (running_)
        return;
    if (txtSei_->text().isEmpty() && txtMei_->text().isEmpty()) {
        MyMsgBoxShow(QStringLiteral("姓か名を入力してください。"), MsgOk);
        return;
    }
    frmSeimei dialog(ctx_, SeimeiCaller::screen104(txtSei_, txtMei_), this);
    dialog.run();
    if (txtSei_->text().isEmpty())
        txtSei_->setFocus();
    else if (txtMei_->text().isEmpty())
        txtMei_->setFocus();
    else
        cmdExec_->setFocus();
}

void frm104Find::applyHistory(const Area104Conditions& entry) {
    lstSikuchouson_->clearSelection();
    showArea(entry, std::numeric_limits<int>::max());
    txtChomei_->setText(entry.town);
    if (entry.company) {
        optHojin_Click();
        txtShamei_->setText(entry.companyName);
        txtSei_->clear();
        txtMei_->clear();
    } else {
        optKojin_Click();
        txtSei_->setText(entry.surname);
        txtMei_->setText(entry.givenName);
        txtShamei_->clear();
    }
}

void frm104Find::followSeimeiSetting() {
    const bool seimei = ctx_.env().firstChoice(EnvKey::Seimei);
    cmdseimei_->setVisible(seimei);
    for (QLineEdit* box : {txtSei_, txtMei_})
        box->setInputMethodHints(seimei ? Qt::ImhPreferLatin : Qt::ImhNone);
}

void frm104Find::settingsSaved() {
    followSeimeiSetting();
}

void frm104Find::settingsClosed() {
    showOutFile();
    Before104ExecSet();
}

void frm104Find::Form_Unload() {
    const int viewer = ctx_.env().viewerKind;
    if (!running_ && (viewer == ViewerExcel || viewer == ViewerExcel2007) &&
        lblOutFile_->text() == kNotSet)
        ctx_.env().setText(EnvKey::OutFile, QString());
}

bool frm104Find::moveOnEnter(QObject* watched, QKeyEvent* key) {
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return false;
    QWidget* personBox = optHojin_->isChecked() ? static_cast<QWidget*>(txtShamei_) : txtSei_;
    QWidget* next = nullptr;
    if (watched == cmbTodoufuken_ || watched == cmbTodoufuken_->lineEdit()) {
        SikuListSet();
        next = mode() == Normal ? static_cast<QWidget*>(cmbSikuchouson_) : lstSikuchouson_;
    } else if (watched == cmbSikuchouson_ || watched == cmbSikuchouson_->lineEdit()) {
        next = txtChomei_;
    } else if (watched == lstSikuchouson_ || watched == txtChomei_) {
        next = personBox;
    } else if (watched == txtSei_) {
        next = txtMei_;
    } else if (watched == txtMei_ || watched == txtShamei_) {
        next = cmdExec_;
    } else {
        return false;
    }
    next->setFocus();
    return true;
}

void frm104Find::showHint(QObject* watched) {
    QString hint;
    if (watched == cmbTodoufuken_ || watched == cmbTodoufuken_->lineEdit())
        hint = QStringLiteral("都道府県を選択してください。（必ず選択）");
    else if (watched == cmbSikuchouson_ || watched == cmbSikuchouson_->lineEdit() ||
             watched == lstSikuchouson_)
        hint = QStringLiteral("市区町村を選択してください。（必ず選択）");
    else if (watched == txtChomei_)
        hint = QStringLiteral(
            "町域名を入力してください。丁目・番地は入力しないでください。（任意入力）");
    else if (watched == txtSei_)
        hint = QStringLiteral("姓を入力してください。（姓か名は必ず入力）");
    else if (watched == txtMei_)
        hint = QStringLiteral("名を入力してください。（姓か名は必ず入力）");
    else if (watched == txtShamei_ || watched == optHojin_)
        hint = kCompanyHint;
    else if (watched == opt検索方法_[0] || watched == opt検索方法_[1])
        hint = QStringLiteral("通常検索か広域検索を選択してください。");
    else if (watched == cmdExec_)
        hint = QStringLiteral("検索条件より検索を実行します。");
    else if (watched == cmdExit_)
        hint = QStringLiteral("メニュー画面へ戻ります。");
    else
        return;
    lblStatus2_->setText(hint);
}

bool frm104Find::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (moveOnEnter(watched, key))
            return true;
        if (key->key() == Qt::Key_Escape) {
            for (QLineEdit* box : {txtChomei_, txtSei_, txtMei_, txtShamei_}) {
                if (watched == box) {
                    box->clear();
                    return true;
                }
            }
        }
        break;
    }
    case QEvent::FocusIn:
        showHint(watched);
        break;
    case QEvent::FocusOut:
        if (watched == cmbSikuchouson_->lineEdit() && mode() == Normal && !running_) {
            const QString city = cmbSikuchouson_->currentText();
            if (!city.isEmpty() && !isListed(cmbSikuchouson_, city))
                MyMsgBoxShow(kNoSuchCity, MsgOk);
        }
        break;
    default:
        break;
    }
    return SearchScreen::eventFilter(watched, event);
}

bool frm104Find::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        personKindChanged();
    return SearchScreen::event(event);
}

QWidget* create104FindScreen(AppContext& ctx, SearchScreenHost& host) {
    auto* screen = new frm104Find(ctx, host);
    screen->Form_Load();
    return screen;
}

} // namespace pikotel
