#include "search/phone/frmtelfind.h"

#include "app/pictures.h"
#include "app/twips.h"
#include "app/widgets.h"
#include "common/textfold.h"
#include "common/texthelpers.h"
#include "core/context.h"
#include "history/frmrirekiselect.h"
#include "platform/messages.h"
#include "results/resultexport.h"
#include "results/viewers.h"
#include "search/area104/frmseimei.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace pikotel {

namespace {

const QString kCaption = QStringLiteral("電話番号検索");
const QString kMsgEnterNumber = QStringLiteral("電話番号を入力してください。");
const QString kMsgWrongNumber = QStringLiteral("正しい電話番号を入力してください。");
const QString kMsgEnterName = QStringLiteral("名前を入力してください。");
const QString kOutfileNotSet = QStringLiteral("設定されていません。");
const QString kZipMark = QStringLiteral("〒");

// Design size of the client area, in twips.
constexpr int kFormWidth = 9000;
constexpr int kFormHeight = 6720;

// Inputs of four characters or fewer cannot be a telephone number.
constexpr int kShortestNumber = 5;

const QColor kLockedColour(0xF0, 0xF0, 0xF0);

// The number as the search takes it: half-width, without a "|" comment, digits and "-" only.
QString normalizedNumber(const QString& typed) {
    QString text = toHalfWidth(typed);
    const qsizetype bar = text.indexOf(u'|');
    if (bar >= 0)
        text.truncate(bar);
    return NumberOnly(text, QStringLiteral("-"));
}

// Digits whose value is 12 or more; anything shorter is no number of any exchange. Compared
// on the text, so a long input cannot overflow.
bool searchableDigits(const QString& digits) {
    if (digits.isEmpty())
        return false;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9')
            return false;
    }
    qsizetype first = 0;
    while (first < digits.size() && digits.at(first) == u'0')
        ++first;
    const QString significant = digits.mid(first);
    return significant.size() > 2 || (significant.size() == 2 && significant.toInt() >= 12);
}

} // namespace

frmTelFind::frmTelFind(AppContext& ctx, SearchScreenHost& host)
    : SearchScreen(ctx, host, QStringLiteral("frmTelFind"), kCaption, QStringLiteral("電話")) {
    buildUi();
}

frmTelFind::~frmTelFind() = default;

int frmTelFind::screenNo() const {
    return ScreenPhone;
}

QToolButton* frmTelFind::newButton(QWidget* parent, const QString& name, const QString& picture,
                                   const QString& text) {
    QToolButton* button = picture.isEmpty() ? newTextButton(parent, name, text)
                                            : newPictureButton(parent, name, picture, text);
    button->setCursor(handCursor());
    return button;
}

void frmTelFind::buildUi() {
    setFixedSize(twipsToPixelsX(this, kFormWidth), twipsToPixelsY(this, kFormHeight));

    fraInputTelNo_ =
        newFrame(this, QStringLiteral("FraInputTelNo"), QStringLiteral("電話番号入力"));
    setTwipsGeometry(fraInputTelNo_, 120, 60, 8760, 1080);
    txtTelNo_ = newField(fraInputTelNo_, QStringLiteral("txtTelNo"), QStringLiteral("電話番号"));
    txtTelNo_->installEventFilter(this);
    setTwipsGeometry(txtTelNo_, 240, 420, 3420, 420);
    cmdFind_ = newButton(fraInputTelNo_, QStringLiteral("CmdFind"), QStringLiteral("btn_tel"),
                         QStringLiteral("検索"));
    setTwipsGeometry(cmdFind_, 3840, 360, 1500, 540);
    cmdClear_ = newButton(fraInputTelNo_, QStringLiteral("cmdClear"), QStringLiteral("icon_cancel"),
                          QStringLiteral("クリア"));
    setTwipsGeometry(cmdClear_, 5460, 360, 1500, 540);
    cmdRireki_ = newButton(fraInputTelNo_, QStringLiteral("CmdRireki"), QString(),
                           QStringLiteral("検索履歴"));
    setTwipsGeometry(cmdRireki_, 7080, 360, 1500, 540);

    fraFind_ = newFrame(this, QStringLiteral("FraFind"), QStringLiteral("検索結果"));
    setTwipsGeometry(fraFind_, 120, 1200, 8760, 3660);
    constexpr int labelLeft = 240;
    constexpr int labelWidth = 1080;
    constexpr int fieldLeft = 1380;
    constexpr int rowHeight = 390;
    const auto label = [this](const char* name, const char* text, int left, int top) {
        setTwipsGeometry(newLabel(fraFind_, QString::fromLatin1(name), QString::fromUtf8(text)),
                         left, top, labelWidth, rowHeight);
    };
    label("lblName", "名前", labelLeft, 360);
    txtName_ = newField(fraFind_, QStringLiteral("txtName"), QStringLiteral("名前"));
    setTwipsGeometry(txtName_, fieldLeft, 360, 5700, rowHeight);
    cmdseimei_ =
        newButton(fraFind_, QStringLiteral("cmdseimei"), QString(), QStringLiteral("姓名辞書"));
    setTwipsGeometry(cmdseimei_, 7200, 330, 1380, 450);

    label("lblYubin", "郵便番号", labelLeft, 840);
    txtYubin_ = newField(fraFind_, QStringLiteral("txtYubin"), QStringLiteral("郵便番号"));
    setTwipsGeometry(txtYubin_, fieldLeft, 840, 1800, rowHeight);

    label("lblAddress1", "都道府県", labelLeft, 1320);
    txtAddress1_ = newField(fraFind_, QStringLiteral("txtAddress1"), QStringLiteral("都道府県"));
    setTwipsGeometry(txtAddress1_, fieldLeft, 1320, 2400, rowHeight);
    label("lblAddress2", "市区町村", 3960, 1320);
    txtAddress2_ = newField(fraFind_, QStringLiteral("txtAddress2"), QStringLiteral("市区町村"));
    setTwipsGeometry(txtAddress2_, 5100, 1320, 3480, rowHeight);
    label("Label2", "町域名", labelLeft, 1800);
    txtAddress3_ = newField(fraFind_, QStringLiteral("txtAddress3"), QStringLiteral("町域名"));
    setTwipsGeometry(txtAddress3_, fieldLeft, 1800, 2400, rowHeight);
    label("Label1", "区域名", 3960, 1800);
    txtAddress4_ = newField(fraFind_, QStringLiteral("txtAddress4"), QStringLiteral("区域名"));
    setTwipsGeometry(txtAddress4_, 5100, 1800, 3480, rowHeight);
    label("Label4", "住所", labelLeft, 2280);
    txtAddress_ = newField(fraFind_, QStringLiteral("txtAddress"), QStringLiteral("住所"));
    txtAddress_->setReadOnly(true);
    setTwipsGeometry(txtAddress_, fieldLeft, 2280, 7200, rowHeight);
    for (QLineEdit* part : {txtAddress1_, txtAddress2_, txtAddress3_, txtAddress4_})
        connect(part, &QLineEdit::textChanged, this, &frmTelFind::refreshAddress);

    cmdBefore_ =
        newButton(fraFind_, QStringLiteral("cmdBefore"), QString(), QStringLiteral("前のページ"));
    setTwipsGeometry(cmdBefore_, fieldLeft, 2880, 1380, 480);
    lblPage_ = newLabel(fraFind_, QStringLiteral("lblPage"), QString());
    lblPage_->setAlignment(Qt::AlignCenter);
    setTwipsGeometry(lblPage_, 2820, 2880, 1080, 480);
    cmdAfter_ =
        newButton(fraFind_, QStringLiteral("cmdAfter"), QString(), QStringLiteral("次のページ"));
    setTwipsGeometry(cmdAfter_, 3960, 2880, 1380, 480);
    cmdSave_ = newButton(fraFind_, QStringLiteral("cmdSave"), QStringLiteral("icon_ok"),
                         QStringLiteral("結果保存"));
    setTwipsGeometry(cmdSave_, 5640, 2880, 1440, 540);
    cmdMemo_ =
        newButton(fraFind_, QStringLiteral("cmdMemo"), QString(), QStringLiteral("ファイル閲覧"));
    setTwipsGeometry(cmdMemo_, 7140, 2880, 1440, 540);
    connect(cmdseimei_, &QToolButton::clicked, this, &frmTelFind::cmdseimei_Click);
    connect(cmdBefore_, &QToolButton::clicked, this, &frmTelFind::cmdBefore_Click);
    connect(cmdAfter_, &QToolButton::clicked, this, &frmTelFind::cmdAfter_Click);

    frame1_ = newFrame(this, QStringLiteral("Frame1"),
                       QStringLiteral("検索結果を出力するファイルの格納場所"));
    setTwipsGeometry(frame1_, 120, 4980, 8760, 840);
    lblOutfile_ = newLabel(frame1_, QStringLiteral("lblOutfile"), QString());
    setTwipsGeometry(lblOutfile_, 240, 360, 8280, 360);

    imgHand_ = newLabel(this, QStringLiteral("imgHand"), QString());
    imgHand_->setPixmap(picture(QStringLiteral("hand")));
    imgHand_->hide();
    cmdSetting_ = newButton(this, QStringLiteral("CmdSetting"), QStringLiteral("btn_setting"),
                            QStringLiteral("環境設定"));
    setTwipsGeometry(cmdSetting_, 4560, 6000, 1380, 540);
    cmdHelp_ = newButton(this, QStringLiteral("CmdHELP"), QStringLiteral("btn_help"),
                         QStringLiteral("ヘルプ"));
    setTwipsGeometry(cmdHelp_, 6030, 6000, 1380, 540);
    cmdExit_ = newButton(this, QStringLiteral("CmdExit"), QStringLiteral("icon_close"),
                         QStringLiteral("閉じる"));
    setTwipsGeometry(cmdExit_, 7500, 6000, 1380, 540);

    connect(cmdFind_, &QToolButton::clicked, this, &frmTelFind::CmdFind_Click);
    connect(cmdClear_, &QToolButton::clicked, this, &frmTelFind::cmdClear_Click);
    connect(cmdSetting_, &QToolButton::clicked, this, &frmTelFind::CmdSetting_Click);
    connect(cmdHelp_, &QToolButton::clicked, this, &frmTelFind::CmdHELP_Click);
    connect(cmdExit_, &QToolButton::clicked, this, &QWidget::close);

    connect(cmdRireki_, &QToolButton::clicked, this, &frmTelFind::CmdRireki_Click);
    connect(cmdSave_, &QToolButton::clicked, this, &frmTelFind::cmdSave_Click);
    connect(cmdMemo_, &QToolButton::clicked, this, &frmTelFind::cmdMemo_Click);
    // Only a shown name can be saved.
    connect(txtName_, &QLineEdit::textChanged, this,
            [this](const QString& name) { cmdSave_->setEnabled(!name.isEmpty()); });
    cmdSetting_->setEnabled(settingsAvailable());
}

void frmTelFind::Form_Load() {
    fraFind_->show();
    cmdSave_->setEnabled(false);
    cmdClear_->setEnabled(false);
    cmdseimei_->setEnabled(false);
    hidePaging();

    // The output file as stored now: another screen's settings may have changed it.
    RegHandle key;
    if (ctx_.store().RegKeyOpen(kVersionKey, 1, key) == 0) {
        QString outFile;
        if (ctx_.store().RegValueGet(key, QStringLiteral("OUTFILE"), outFile) == 0)
            ctx_.env().setText(EnvKey::OutFile, outFile);
        ctx_.store().RegKeyClose(key);
    }
    const QString lastNumber = ctx_.history().LoadFindTelNo();

    // Input modes of the name box have no counterpart here; only the button follows SEIMEI.
    cmdseimei_->setVisible(ctx_.env().firstChoice(EnvKey::Seimei));
    FormClear();
    if (ctx_.env().firstChoice(EnvKey::BeforeExec)) {
        // Nothing stored yet leaves the default area code in place.
        if (!lastNumber.isEmpty())
            txtTelNo_->setText(lastNumber);
        cmdClear_->setEnabled(true);
    }
    Form_Activate();
    centreOverHost();
}

void frmTelFind::Form_Activate() {
    const QString outFile = ctx_.env().text(EnvKey::OutFile);
    if (outFile.isEmpty()) {
        lblOutfile_->setText(kOutfileNotSet);
        lblOutfile_->setToolTip(QString());
        return;
    }
    lblOutfile_->setText(
        lblOutfile_->fontMetrics().elidedText(outFile, Qt::ElideMiddle, lblOutfile_->width()));
    lblOutfile_->setToolTip(outFile);
}

void frmTelFind::FormClear() {
    txtTelNo_->clear();
    clearResultFields();
    setResultFieldsLocked(true);
    hidePaging();
    cmdseimei_->setEnabled(false);
    const QString areaCode = ctx_.env().text(EnvKey::DefaultTel);
    if (ctx_.env().firstChoice(EnvKey::DefaultTelUse) && !areaCode.isEmpty())
        txtTelNo_->insert(areaCode);
}

void frmTelFind::clearResultFields() {
    for (QLineEdit* field :
         {txtName_, txtYubin_, txtAddress1_, txtAddress2_, txtAddress3_, txtAddress4_})
        field->clear();
}

void frmTelFind::setResultFieldsLocked(bool locked) {
    for (QLineEdit* field :
         {txtName_, txtYubin_, txtAddress1_, txtAddress2_, txtAddress3_, txtAddress4_}) {
        field->setReadOnly(locked);
        QPalette p = field->palette();
        p.setColor(QPalette::Base, locked ? kLockedColour : palette().color(QPalette::Base));
        field->setPalette(p);
    }
}

void frmTelFind::hidePaging() {
    for (QToolButton* b : {cmdBefore_, cmdAfter_}) {
        b->setEnabled(false);
        b->hide();
    }
    lblPage_->clear();
    lblPage_->hide();
}

void frmTelFind::refreshAddress() {
    txtAddress_->setText(txtAddress1_->text() + txtAddress2_->text() + txtAddress3_->text() +
                         txtAddress4_->text());
}

void frmTelFind::CmdFind_Click() {
    const QString typed = txtTelNo_->text();
    if (typed.isEmpty()) {
        MyMsgBoxShow(kMsgEnterNumber, MsgOk);
        txtTelNo_->setFocus();
        return;
    }
    const QString number = normalizedNumber(typed);
    if (number.size() < kShortestNumber) {
        MyMsgBoxShow(kMsgWrongNumber, MsgOk);
        txtTelNo_->setFocus();
        cmdClear_->setEnabled(true);
        return;
    }

    lastFoundNo_.clear();
    Directory& directory = ctx_.directory();
    if (directory.DicExistChk())
        return;
    directory.DicOpen(true);
    if (directory.dicKind() == -1)
        return;

    const QString digits = DelHifon(number);
    bool found = false;
    if (searchableDigits(digits)) {
        ctx_.history().SaveFindTelNo(typed);
        found = directory.TelSearchWithOverride(digits) == 0 && directory.telCount() > 0;
    }

    if (!found) {
        clearResultFields();
        confirmAddress(number);
        lastFoundNo_ = number;
        cmdClear_->setEnabled(true);
        hidePaging();
        return;
    }

    currentHit_ = 1;
    fraFind_->show();
    setResultFieldsLocked(false);
    clearResultFields();
    cmdClear_->setEnabled(true);
    cmdClear_->setFocus();
    cmdseimei_->setEnabled(true);
    hidePaging();
    if (directory.telCount() > 1) {
        cmdBefore_->show();
        cmdAfter_->setEnabled(true);
        cmdAfter_->show();
        lblPage_->setText(QStringLiteral("1/%1").arg(directory.telCount()));
        lblPage_->show();
    }
    showHit(currentHit_);
    lastFoundNo_ = directory.telResult().constFirst().telNo;
    recordHistory();

    const bool outFileSet = !ctx_.env().text(EnvKey::OutFile).isEmpty();
    if (outFileSet && cmdSave_->isEnabled())
        cmdSave_->setFocus();
    else
        cmdClear_->setFocus();
}

void frmTelFind::confirmAddress(const QString& number) {
    JyushoExchange exchange;
    exchange.telNo = number;
    frmJyusho2 dialog(ctx_.programFolder(), exchange, this);
    if (dialog.run(ctx_.modals())) {
        txtYubin_->setText(exchange.zip);
        txtAddress1_->setText(exchange.pref);
        txtAddress2_->setText(exchange.city);
        txtAddress3_->setText(exchange.town);
        txtAddress4_->setText(exchange.block);
        setResultFieldsLocked(false);
    }
    if (exchange.resultFlag == 1)
        txtTelNo_->setFocus();
    else
        txtName_->setFocus();
}

void frmTelFind::showHit(int n) {
    const QList<DirRecord>& hits = ctx_.directory().telResult();
    if (n < 1 || n > hits.size())
        return;
    const DirRecord& hit = hits.at(n - 1);
    const Environment& env = ctx_.env();
    txtName_->setText(hit.name);
    // Every hit of one search carries the number searched; the first one's is shown.
    const QString& number = hits.constFirst().telNo;
    txtTelNo_->setText(env.telWithoutHyphens() ? DelHifon(number) : number);
    QString zip = env.zipWithoutHyphen() ? DelHifon(hit.zip) : hit.zip;
    if (env.zipWithMark())
        zip.prepend(kZipMark);
    txtYubin_->setText(zip);
    txtAddress1_->setText(hit.pref);
    txtAddress2_->setText(hit.city);
    txtAddress3_->setText(hit.town);
    txtAddress4_->setText(hit.block);
}

void frmTelFind::showPage() {
    showHit(currentHit_);
    lblPage_->setText(QStringLiteral("%1/%2").arg(currentHit_).arg(ctx_.directory().telCount()));
}

void frmTelFind::cmdAfter_Click() {
    ++currentHit_;
    if (currentHit_ < ctx_.directory().telCount()) {
        cmdBefore_->setEnabled(true);
    } else {
        cmdAfter_->setEnabled(false);
        cmdBefore_->setEnabled(true);
        cmdBefore_->setFocus();
    }
    showPage();
}

void frmTelFind::cmdBefore_Click() {
    --currentHit_;
    if (currentHit_ > 1) {
        cmdAfter_->setEnabled(true);
    } else {
        cmdBefore_->setEnabled(false);
        cmdAfter_->setEnabled(true);
        cmdAfter_->setFocus();
    }
    showPage();
}

void frmTelFind::cmdseimei_Click() {
    if (txtName_->text().isEmpty()) {
        MyMsgBoxShow(kMsgEnterName, MsgOk);
        return;
    }
    frmSeimei dialog(ctx_, SeimeiCaller::phoneScreen(txtName_), this);
    dialog.run();
    // A name with both parts is complete and ready to be saved.
    txtName_->setFocus();
    const QString name = txtName_->text();
    if (name.contains(u' ') || name.contains(u'\u3000'))
        cmdSave_->setFocus();
}

void frmTelFind::recordHistory() {
    PhoneConditions conditions;
    conditions.number = DelHifon(txtTelNo_->text());
    conditions.name = txtName_->text();
    ctx_.history().recordPhoneSearch(conditions);
}

void frmTelFind::cmdClear_Click() {
    FormClear();
    txtTelNo_->setFocus();
    cmdClear_->setEnabled(false);
}

void frmTelFind::cmdSave_Click() {
    DirRecord shown;
    shown.telNo = txtTelNo_->text();
    shown.name = txtName_->text();
    shown.zip = txtYubin_->text();
    shown.pref = txtAddress1_->text();
    shown.city = txtAddress2_->text();
    shown.town = txtAddress3_->text();
    shown.block = txtAddress4_->text();
    const int viewer = ctx_.env().viewerKind;
    const bool toText = viewer != ViewerExcel && viewer != ViewerExcel2007;
    PhoneSave(ctx_, shown, this);
    // A workbook chosen for the save is the output file from now on.
    Form_Activate();
    if (toText && !shown.name.isEmpty())
        cmdClear_->setFocus();
}

void frmTelFind::cmdMemo_Click() {
    ViewOutputFile(ctx_, this);
    Form_Activate();
}

void frmTelFind::CmdRireki_Click() {
    frmRirekiSelect dialog(
        ctx_, HistoryKind::Phone,
        [this](int entry) {
            // The number only: the name is not put back.
            const QString stored = ctx_.history().phoneHistory().at(entry);
            txtTelNo_->setText(stored.section(u' ', 0, 0));
        },
        this);
    ctx_.modals().exec(dialog);
}

void frmTelFind::CmdSetting_Click() {
    openSettings();
}

void frmTelFind::CmdHELP_Click() {
    openHelp();
}

bool frmTelFind::filterTelNoKey(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
        txtTelNo_->clear();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        cmdFind_->setFocus();
        return true;
    default:
        return false;
    }
}

bool frmTelFind::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtTelNo_ && event->type() == QEvent::KeyPress)
        return filterTelNoKey(static_cast<QKeyEvent*>(event));
    return SearchScreen::eventFilter(watched, event);
}

bool frmTelFind::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        Form_Activate();
    return SearchScreen::event(event);
}

void frmTelFind::settingsSaved() {
    FormClear();
    cmdseimei_->setVisible(ctx_.env().firstChoice(EnvKey::Seimei));
}

void frmTelFind::settingsClosed() {
    Form_Activate();
}

void frmTelFind::Form_Unload() {
    const int viewer = ctx_.env().viewerKind;
    if ((viewer == ViewerExcel || viewer == ViewerExcel2007) &&
        lblOutfile_->text() == kOutfileNotSet)
        ctx_.env().setText(EnvKey::OutFile, QString());
}

} // namespace pikotel
