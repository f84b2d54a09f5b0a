#include "settings/frmenvset.h"

#include "app/pictures.h"
#include "app/widgets.h"
#include "common/texthelpers.h"
#include "core/context.h"
#include "platform/messages.h"
#include "results/frmoutset.h"
#include "results/textexport.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace pikotel {

namespace {

const QString kInitialMain = QStringLiteral("初期メイン");
const QString kMain = QStringLiteral("メイン");
const QString kHdd = QStringLiteral("HDドライブ");
const QString kCdrom = QStringLiteral("CD-ROM");
const QString kOutFileTip = QStringLiteral("検索結果を保存するファイル名");

// The list of cmbStartUpForm; the position is the screen number.
const QStringList kStartUpForms = {
    QStringLiteral("メインメニュー"),         QStringLiteral("電話番号検索"),
    QStringLiteral("１０４式検索"),           QStringLiteral("業種検索"),
    QStringLiteral("郵便番号検索（正引き）"), QStringLiteral("郵便番号検索（逆引き）"),
    QStringLiteral("最後に利用した検索画面")};

} // namespace

FrmEnvset::FrmEnvset(AppContext& ctx, QString callType, QWidget* over,
                     std::function<void()> afterSave, std::function<void()> endProgram)
    : QDialog(over), ctx_(ctx), callType_(std::move(callType)), over_(over),
      afterSave_(std::move(afterSave)), endProgram_(std::move(endProgram)) {
    setObjectName(QStringLiteral("frmEnvset"));
    setWindowTitle(QStringLiteral("環境設定"));
    setAccessibleName(windowTitle());
    setWindowIcon(applicationIcon());
    buildUi();
}

bool FrmEnvset::mainMenuScreen() const {
    return callType_ == kInitialMain || callType_ == kMain;
}

QGroupBox* FrmEnvset::newOptionPair(const QString& frameName, const QString& frameTip,
                                    const QString& optionName, const QStringList& captions,
                                    const QStringList& tips, OptionPair& pair) {
    QGroupBox* frame = newFrame(this, frameName, QString());
    frame->setToolTip(frameTip);
    frame->setAccessibleName(frameTip);
    auto* layout = new QHBoxLayout(frame);
    layout->setContentsMargins(6, 2, 6, 2);
    for (int i = 0; i < 2; ++i) {
        auto* option = new QRadioButton(captions.at(i), frame);
        option->setObjectName(optionName + QString::number(i));
        option->setToolTip(tips.at(i));
        pair[static_cast<std::size_t>(i)] = option;
        layout->addWidget(option);
    }
    layout->addStretch();
    return frame;
}

void FrmEnvset::buildUi() {
    auto* grid = new QGridLayout;
    int row = 0;
    const auto addRow = [&](QLabel* label, QWidget* field) {
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
        label->setBuddy(field);
        ++row;
    };

    // The dictionary drive.
    auto* drivePanel = newPanel(this, QStringLiteral("panDicDrive"));
    auto* driveLayout = new QHBoxLayout(drivePanel);
    driveLayout->setContentsMargins(0, 0, 0, 0);
    fraDicDrvChange_ = newOptionPair(
        QStringLiteral("FraDicDrvChange"), QStringLiteral("電話帳辞書指定"),
        QStringLiteral("optDic"), {kHdd, kCdrom},
        {QStringLiteral("ﾊｰﾄﾞﾃﾞｨｽｸﾄﾞﾗｲﾌﾞに設定"), QStringLiteral("CD-ROMﾄﾞﾗｲﾌﾞに設定")}, optDic_);
    lblDriveNm_ = newLabel(drivePanel, QStringLiteral("LblDriveNm"), kHdd);
    drvCdrom_ = new QComboBox(drivePanel);
    drvCdrom_->setObjectName(QStringLiteral("drvCdrom"));
    drvCdrom_->setToolTip(QStringLiteral("電話帳辞書がセットされているCD-ROMﾄﾞﾗｲﾌﾞ"));
    drvCdrom_->setAccessibleName(drvCdrom_->toolTip());
    drvCdrom_->setMinimumContentsLength(16);
    lblCaution_ =
        newLabel(drivePanel, QStringLiteral("lblCaution"),
                 QStringLiteral("電話帳辞書の変更はメイン画面の環境設定から行ってください"));
    lblCaution_->setStyleSheet(QStringLiteral("color: #b00000;"));
    driveLayout->addWidget(fraDicDrvChange_);
    driveLayout->addWidget(lblDriveNm_);
    driveLayout->addWidget(drvCdrom_);
    driveLayout->addWidget(lblCaution_);
    driveLayout->addStretch();
    addRow(newLabel(this, QStringLiteral("Label9"), QStringLiteral("電話帳辞書指定")), drivePanel);
    for (int i = 0; i < 2; ++i)
        connect(optDic_[static_cast<std::size_t>(i)], &QRadioButton::clicked, this,
                [this, i] { optDic_Click(i); });

    // The delta dictionary.
    auto* deltaPanel = newPanel(this, QStringLiteral("panXchdbAdd"));
    auto* deltaLayout = new QHBoxLayout(deltaPanel);
    deltaLayout->setContentsMargins(0, 0, 0, 0);
    txtXchdbAdd_ =
        newField(deltaPanel, QStringLiteral("TxtXchdbAdd"), QStringLiteral("差分辞書ファイル指定"));
    txtXchdbAdd_->setToolTip(QStringLiteral("差分電話帳辞書が存在する場所を指定"));
    txtXchdbAdd_->setMinimumWidth(320);
    cmdView2_ =
        newTextButton(deltaPanel, QStringLiteral("cmdView2"), QStringLiteral("ファイル指定"));
    cmdView2_->setToolTip(QStringLiteral("差分電話帳辞書指定"));
    cmdClear1_ = newTextButton(deltaPanel, QStringLiteral("CmdClear1"), QStringLiteral("クリア"));
    cmdClear1_->setToolTip(QStringLiteral("差分電話帳辞書の設定をクリア"));
    deltaLayout->addWidget(txtXchdbAdd_, 1);
    deltaLayout->addWidget(cmdView2_);
    deltaLayout->addWidget(cmdClear1_);
    addRow(newLabel(this, QStringLiteral("Label7"), QStringLiteral("差分辞書ファイル指定")),
           deltaPanel);
    connect(cmdView2_, &QToolButton::clicked, this, &FrmEnvset::cmdView2_Click);
    connect(cmdClear1_, &QToolButton::clicked, txtXchdbAdd_, &QLineEdit::clear);

    // The output file.
    auto* outPanel = newPanel(this, QStringLiteral("panOutFile"));
    auto* outLayout = new QHBoxLayout(outPanel);
    outLayout->setContentsMargins(0, 0, 0, 0);
    txtOutFile_ = newField(outPanel, QStringLiteral("txtOutFile"),
                           QStringLiteral("検索結果を出力するファイル設定"));
    cmdView_ = newPictureButton(outPanel, QStringLiteral("cmdView"), QStringLiteral("icon_folder"),
                                QStringLiteral("出力先ファイル指定"), Qt::ToolButtonIconOnly);
    cmdView_->setToolTip(QStringLiteral("出力先ファイル指定"));
    cmdClear2_ =
        newPictureButton(outPanel, QStringLiteral("CmdClear2"), QStringLiteral("icon_cancel"),
                         QStringLiteral("出力先ファイル設定をクリア"), Qt::ToolButtonIconOnly);
    cmdClear2_->setToolTip(QStringLiteral("出力先ファイル設定をクリア"));
    outLayout->addWidget(txtOutFile_, 1);
    outLayout->addWidget(cmdView_);
    outLayout->addWidget(cmdClear2_);
    addRow(
        newLabel(this, QStringLiteral("lblFile"), QStringLiteral("検索結果を出力するファイル設定")),
        outPanel);
    connect(cmdView_, &QToolButton::clicked, this, &FrmEnvset::cmdView_Click);
    connect(cmdClear2_, &QToolButton::clicked, txtOutFile_, &QLineEdit::clear);
    connect(txtOutFile_, &QLineEdit::textChanged, this, &FrmEnvset::showOutFileTip);
    for (QLineEdit* box : {txtXchdbAdd_, txtOutFile_})
        box->installEventFilter(this);

    // The viewer.
    cmbHideExe_ = new QComboBox(this);
    cmbHideExe_->setObjectName(QStringLiteral("CmbHideExe"));
    cmbHideExe_->setToolTip(QStringLiteral("ファイル閲覧で使用するアプリケーションを設定"));
    addRow(newLabel(this, QStringLiteral("Label5"),
                    QStringLiteral("「ファイル閲覧」で使用するアプリケーション")),
           cmbHideExe_);
    cmbHideExe_->setAccessibleName(QStringLiteral("「ファイル閲覧」で使用するアプリケーション"));
    connect(cmbHideExe_, &QComboBox::activated, this, &FrmEnvset::CmbHideExe_Click);

    // The default area code.
    auto* telPanel = newPanel(this, QStringLiteral("panDefaultTel"));
    auto* telLayout = new QHBoxLayout(telPanel);
    telLayout->setContentsMargins(0, 0, 0, 0);
    const QStringList useCaptions = {QStringLiteral("使用する"), QStringLiteral("使用しない")};
    telLayout->addWidget(newOptionPair(QStringLiteral("FraDTelUse"),
                                       QStringLiteral("初期表示市外局番設定"),
                                       QStringLiteral("optDTelUse"), useCaptions,
                                       {QStringLiteral("初期表示市外局番を使用する"),
                                        QStringLiteral("初期表示市外局番を使用しない")},
                                       optDTelUse_));
    lblDefaultTel_ =
        newLabel(this, QStringLiteral("lblDefaultTel"), QStringLiteral("初期表示市外局番"));
    txtDefaultTel_ =
        newField(telPanel, QStringLiteral("txtDefaultTel"), QStringLiteral("初期表示市外局番"));
    txtDefaultTel_->setToolTip(QStringLiteral("電話番号検索で初期表示でセットされる市外局番"));
    txtDefaultTel_->setMaxLength(16);
    txtDefaultTel_->setFixedWidth(120);
    telLayout->addWidget(txtDefaultTel_);
    telLayout->addStretch();
    grid->addWidget(lblDefaultTel_, row, 0);
    grid->addWidget(telPanel, row, 1);
    lblDefaultTel_->setBuddy(txtDefaultTel_);
    ++row;

    // A labelled pair of options in a grid; the grid's widget becomes their parent.
    const auto optionRow =
        [this](QGridLayout* into, int& at, const QString& labelName, const QString& labelText,
               const QString& frameName, const QString& frameTip, const QString& optionName,
               const QStringList& captions, const QStringList& tips, OptionPair& pair) {
            QGroupBox* frame = newOptionPair(frameName, frameTip, optionName, captions, tips, pair);
            QLabel* label = newLabel(this, labelName, labelText);
            label->setBuddy(frame);
            into->addWidget(label, at, 0);
            into->addWidget(frame, at, 1);
            ++at;
        };
    optionRow(grid, row, QStringLiteral("Label4"), QStringLiteral("最終検索条件の表示機能"),
              QStringLiteral("Frame6"), QStringLiteral("最後の検索条件を表示機能設定"),
              QStringLiteral("optBeforeExec"), useCaptions,
              {QStringLiteral("１０４式・業種検索・〒番号逆引き検索で前回の検索条件を表示する"),
               QStringLiteral("１０４式・業種検索・〒番号逆引き検索で前回の検索条件を表示しない")},
              optBeforeExec_);
    optionRow(grid, row, QStringLiteral("Label6"), QStringLiteral("姓名辞書変換機能"),
              QStringLiteral("Frame8"), QStringLiteral("姓名辞書変換機能設定"),
              QStringLiteral("optSeiMei"), useCaptions,
              {QStringLiteral("姓名辞書変換機能を使用する"),
               QStringLiteral("姓名辞書変換機能を使用しない")},
              optSeiMei_);
    optionRow(grid, row, QStringLiteral("Label8"), QStringLiteral("ピッコンのアニメーション機能"),
              QStringLiteral("Frame7"), QStringLiteral("ピッコンアニメーション機能設定"),
              QStringLiteral("optAni"), useCaptions,
              {QStringLiteral("ﾋﾟｯｺﾝ ｱﾆﾒｰｼｮﾝ機能を使用する"),
               QStringLiteral("ﾋﾟｯｺﾝ ｱﾆﾒｰｼｮﾝ機能を使用しない")},
              optAni_);

    // How results are saved.
    QGroupBox* frame1 =
        newFrame(this, QStringLiteral("Frame1"), QStringLiteral("検索結果の出力形式"));
    auto* outGrid = new QGridLayout(frame1);
    int outRow = 0;
    optionRow(
        outGrid, outRow, QStringLiteral("lblOutkeisiki"), QStringLiteral("区切り指定"),
        QStringLiteral("Frame5"), QStringLiteral("検索結果を保存するときの項目の区切り方を指定"),
        QStringLiteral("optOutForm"),
        {QStringLiteral("カンマ区切り"), QStringLiteral("タブ区切り")},
        {QStringLiteral("出力形式をｶﾝﾏ区切りに設定"), QStringLiteral("出力形式をﾀﾌﾞ区切りに設定")},
        optOutForm_);
    const QStringList withWithout = {QStringLiteral("有り"), QStringLiteral("無し")};
    optionRow(
        outGrid, outRow, QStringLiteral("Label1"), QStringLiteral("電話番号ハイフン"),
        QStringLiteral("Frame2"),
        QStringLiteral("検索結果を保存する時、電話番号にハイフォンを付けるか付けないかの指定"),
        QStringLiteral("optTelHifon"), withWithout,
        {QStringLiteral("電話番号にﾊｲﾌﾝ有り"), QStringLiteral("電話番号にﾊｲﾌﾝ無し")}, optTelHifon_);
    optionRow(
        outGrid, outRow, QStringLiteral("Label2"), QStringLiteral("郵便番号ハイフン"),
        QStringLiteral("Frame3"),
        QStringLiteral("検索結果を保存する時、郵便番号にハイフォンを付けるか付けないかの指定"),
        QStringLiteral("optZipHifon"), withWithout,
        {QStringLiteral("郵便番号にﾊｲﾌﾝ有り"), QStringLiteral("郵便番号にﾊｲﾌﾝ無し")}, optZipHifon_);
    optionRow(
        outGrid, outRow, QStringLiteral("Label3"), QStringLiteral("郵便番号〒マーク"),
        QStringLiteral("Frame4"),
        QStringLiteral("検索結果を保存する時、郵便番号に〒を付けるか付けないかの指定"),
        QStringLiteral("optZipMark"), {QStringLiteral("付けない"), QStringLiteral("付ける")},
        {QStringLiteral("郵便番号に〒ﾏｰｸを付けない"), QStringLiteral("郵便番号に〒ﾏｰｸを付ける")},
        optZipMark_);
    cmdEnv_ = newPictureButton(frame1, QStringLiteral("CmdEnv"), QStringLiteral("btn_setting"),
                               QStringLiteral("出力項目設定"));
    cmdEnv_->setToolTip(QStringLiteral("出力項目・位置・順番を設定します。"));
    outGrid->addWidget(cmdEnv_, outRow, 0, 1, 2, Qt::AlignRight);
    connect(cmdEnv_, &QToolButton::clicked, this, &FrmEnvset::CmdEnv_Click);
    grid->addWidget(frame1, row, 0, 1, 2);
    ++row;

    cmbStartUpForm_ = new QComboBox(this);
    cmbStartUpForm_->setObjectName(QStringLiteral("cmbStartUpForm"));
    cmbStartUpForm_->addItems(kStartUpForms);
    addRow(newLabel(this, QStringLiteral("lblStartUpForm"), QStringLiteral("初期表示画面")),
           cmbStartUpForm_);
    cmbStartUpForm_->setAccessibleName(QStringLiteral("初期表示画面"));

    // The commands.
    auto* commands = new QHBoxLayout;
    cmdUpdate_ = newPictureButton(this, QStringLiteral("cmdUpdate"), QStringLiteral("icon_update"),
                                  QStringLiteral("最新版"));
    cmdUpdate_->setToolTip(QStringLiteral("ダウンロードページを開きます。"));
    cmdSave_ = newPictureButton(this, QStringLiteral("cmdSave"), QStringLiteral("icon_ok"),
                                QStringLiteral("設定"));
    cmdSave_->setToolTip(QStringLiteral("現在の設定を有効にします。"));
    cmdCancel_ = newPictureButton(this, QStringLiteral("cmdCancel"), QStringLiteral("icon_cancel"),
                                  QStringLiteral("キャンセル"));
    cmdCancel_->setToolTip(QStringLiteral("現在の設定を破棄します。"));
    commands->addWidget(cmdUpdate_);
    commands->addStretch();
    commands->addWidget(cmdSave_);
    commands->addWidget(cmdCancel_);
    connect(cmdUpdate_, &QToolButton::clicked, this, &FrmEnvset::cmdUpdate_Click);
    connect(cmdSave_, &QToolButton::clicked, this, &FrmEnvset::cmdSave_Click);
    connect(cmdCancel_, &QToolButton::clicked, this, &FrmEnvset::cmdCancel_Click);

    auto* outer = new QVBoxLayout(this);
    outer->addLayout(grid);
    outer->addLayout(commands);
    outer->setSizeConstraint(QLayout::SetFixedSize);
}

void FrmEnvset::fillDriveList(const QString& shownRoot) {
    drvCdrom_->clear();
    for (const MountEntry& mount : ctx_.drives().mediaMounts()) {
        if (drvCdrom_->findText(mount.root) < 0)
            drvCdrom_->addItem(mount.root);
    }
    if (!shownRoot.isEmpty() && drvCdrom_->findText(shownRoot) < 0)
        drvCdrom_->insertItem(0, shownRoot);
    drvCdrom_->setCurrentIndex(drvCdrom_->findText(shownRoot));
}

void FrmEnvset::Form_Load() {
    const Environment& env = ctx_.env();
    const EnvFormValues v = envFormValuesFromMemory(ctx_);
    spreadsheetPath_ = v.spreadsheetPath;
    wordProcessorPath_ = v.wordProcessorPath;

    cmbHideExe_->clear();
    cmbHideExe_->addItems(offeredViewers(nullptr, nullptr));
    optDic_[v.dicOnHdd ? 0 : 1]->setChecked(true);
    lblDriveNm_->setText(v.dicOnHdd ? kHdd : kCdrom);
    fillDriveList(v.cdDriveRoot);
    txtXchdbAdd_->setText(v.xchdbAdd);
    txtOutFile_->setText(v.outFile);
    showOutFileTip();

    selViewer_ = v.selViewer;
    cmbHideExe_->setCurrentIndex(cmbHideExe_->findText(v.hideExe));

    optDTelUse_[v.defaultTelUse ? 0 : 1]->setChecked(true);
    txtDefaultTel_->setText(v.defaultTel);
    const std::pair<OptionPair*, bool> switches[] = {{&optBeforeExec_, v.beforeExecFirst},
                                                     {&optSeiMei_, v.seimeiFirst},
                                                     {&optAni_, v.animeFirst},
                                                     {&optOutForm_, v.outFormFirst},
                                                     {&optTelHifon_, v.telHifonFirst},
                                                     {&optZipHifon_, v.zipHifonFirst},
                                                     {&optZipMark_, v.zipMarkFirst}};
    for (const auto& [pair, first] : switches)
        (*pair)[first ? 0 : 1]->setChecked(true);

    lblDefaultTel_->setVisible(true);
    txtDefaultTel_->setVisible(true);
    const bool mainMenu = mainMenuScreen();
    drvCdrom_->setVisible(mainMenu && !env.firstChoice(EnvKey::DicDrive));
    lblCaution_->setVisible(!mainMenu);
    fraDicDrvChange_->setVisible(mainMenu && env.hddInstalled);
    lblDriveNm_->setVisible(mainMenu);
    cmdUpdate_->setEnabled(mainMenu);
    openedWithCd_ = !optDic_[0]->isChecked();

    const int startUp = v.startUpForm;
    cmbStartUpForm_->setCurrentIndex(startUp >= 0 && startUp < kStartUpForms.size() ? startUp : -1);
}

EnvFormValues FrmEnvset::formValues() const {
    EnvFormValues v;
    v.dicOnHdd = optDic_[0]->isChecked();
    v.cdDriveRoot = drvCdrom_->currentText();
    v.xchdbAdd = txtXchdbAdd_->text();
    v.outFile = txtOutFile_->text();
    v.hideExe = cmbHideExe_->currentIndex() >= 0 ? cmbHideExe_->currentText() : QString();
    v.selViewer = selViewer_;
    v.spreadsheetPath = spreadsheetPath_;
    v.wordProcessorPath = wordProcessorPath_;
    v.defaultTelUse = optDTelUse_[0]->isChecked();
    v.defaultTel = txtDefaultTel_->text();
    v.beforeExecFirst = optBeforeExec_[0]->isChecked();
    v.seimeiFirst = optSeiMei_[0]->isChecked();
    v.animeFirst = optAni_[0]->isChecked();
    v.outFormFirst = optOutForm_[0]->isChecked();
    v.telHifonFirst = optTelHifon_[0]->isChecked();
    v.zipHifonFirst = optZipHifon_[0]->isChecked();
    v.zipMarkFirst = optZipMark_[0]->isChecked();
    v.startUpForm = cmbStartUpForm_->currentIndex();
    return v;
}

void FrmEnvset::optDic_Click(int index) {
    optDic_[static_cast<std::size_t>(index)]->setChecked(true);
    drvCdrom_->setVisible(index == 1);
    lblDriveNm_->setText(index == 1 ? kCdrom : kHdd);
}

void FrmEnvset::CmbHideExe_Click() {
    const int viewer = decodeViewer(cmbHideExe_->currentText());
    if (viewer >= 0)
        selViewer_ = viewer;
}

void FrmEnvset::showOutFileTip() {
    const QString name = txtOutFile_->text();
    txtOutFile_->setToolTip(name.isEmpty() ? kOutFileTip : name);
}

void FrmEnvset::cmdView_Click() {
    FileDialogRequest request;
    request.parent = this;
    request.folder = outputStartFolder(ctx_, true);
    if (selViewer_ == ViewerExcel) {
        request.filter = QStringLiteral("Microsoft Excelﾌｧｲﾙ (*.xls)");
    } else if (selViewer_ == ViewerExcel2007) {
        request.filter = QStringLiteral("Excel2007ブック(*.xlsx);;Excel97-2003ブック(*.xls)");
    } else {
        const QString csv = QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ (*.csv)");
        const QString txt = QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ (*.txt)");
        request.filter = csv + QStringLiteral(";;") + txt;
        const bool textFirst =
            ctx_.env().text(EnvKey::OutFile).toLower().contains(QLatin1String(".txt"));
        request.selectedFilter = textFirst ? txt : csv;
    }
    QString chosen = ctx_.fileDialogs().saveFileName(request);
    if (chosen.isEmpty())
        return;
    if (selViewer_ == ViewerExcel2007 && !QFileInfo::exists(chosen) &&
        GetExtension(chosen) == QLatin1String("xls")) {
        chosen = ChangeExtension(chosen, QStringLiteral("xlsx"));
        MyMsgBoxShow(QStringLiteral("指定したファイルはxlsx形式で新規作成されます。"), MsgOk);
    }
    txtOutFile_->setText(chosen);
}

void FrmEnvset::cmdView2_Click() {
    FileDialogRequest request;
    request.parent = this;
    const QString current = txtXchdbAdd_->text();
    request.folder = current.isEmpty() ? ctx_.programFolder() : ParentFolder(current);
    const QString file = ctx_.directory().dicKind() != 0 ? QStringLiteral("xchdbad.dic")
                                                         : QStringLiteral("DXS5001.dct");
    request.proposedName = file;
    request.filter = QStringLiteral("差分辞書ﾌｧｲﾙ (%1)").arg(file);
    request.selectedFilter = request.filter;
    const QString chosen = ctx_.fileDialogs().openFileName(request);
    if (!chosen.isEmpty())
        txtXchdbAdd_->setText(chosen);
}

void FrmEnvset::cmdUpdate_Click() {
    SettingsStore& store = ctx_.store();
    RegHandle key;
    if (store.RegKeyOpen(kVersionKey, 0, key) != 0)
        return;
    QString url;
    if (store.RegValueGet(key, QStringLiteral("UpdateURL"), url) != 0 || url.trimmed().isEmpty())
        MyMsgBoxShow(QStringLiteral("ダウンロードページが設定されていません"), MsgOk);
    else
        ctx_.launcher().openWithDesktop(url.trimmed());
    store.RegKeyClose(key);
}

void FrmEnvset::CmdEnv_Click() {
    FrmOutSet editor(ctx_, this);
    editor.Form_Load();
    ctx_.modals().exec(editor);
}

void FrmEnvset::focusField(EnvField field) {
    QWidget* target = nullptr;
    switch (field) {
    case EnvField::DicDrive:
        target = optDic_[0]->isVisible() ? optDic_[0] : nullptr;
        break;
    case EnvField::CdDrive:
        target = drvCdrom_;
        break;
    case EnvField::XchdbAdd:
        target = txtXchdbAdd_;
        break;
    case EnvField::OutFileButton:
        target = cmdView_;
        break;
    case EnvField::DefaultTel:
        target = txtDefaultTel_;
        break;
    case EnvField::None:
        break;
    }
    if (target != nullptr)
        target->setFocus(Qt::OtherFocusReason);
}

void FrmEnvset::cmdSave_Click() {
    const bool startUpScreen = callType_ == kInitialMain;
    const EnvFormValues values = formValues();
    EnvField focus = EnvField::None;
    // Start-up's screen stores the values all the same: the user has no other way on.
    if (EnvInputChk(ctx_, values, startUpScreen, &focus) != 0 && !startUpScreen) {
        focusField(focus);
        return;
    }
    const bool driveChanged = SaveEnvironment(ctx_, values, callType_, openedWithCd_);
    if (afterSave_)
        afterSave_();
    if (driveChanged) {
        MyMsgBoxShow(QStringLiteral("辞書ドライブの変更がありました。ぴ～こぴこ電話帳を再起動して"
                                    "ください。"),
                     MsgOk);
        if (endProgram_)
            endProgram_();
        return;
    }
    accept();
}

void FrmEnvset::cmdCancel_Click() {
    reject();
}

void FrmEnvset::done(int result) {
    QDialog::done(result);
    Form_Unload();
    if (testAttribute(Qt::WA_DeleteOnClose))
        deleteLater();
}

void FrmEnvset::Form_Unload() {
    if (unloaded_)
        return;
    unloaded_ = true;
    if (callType_ == kInitialMain && !over_.isNull())
        over_->show();
}

bool FrmEnvset::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == txtOutFile_ || watched == txtXchdbAdd_) && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        static_cast<QLineEdit*>(watched)->clear();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace pikotel
