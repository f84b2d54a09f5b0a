#include "app/frmmain.h"

#include "app/frmabout.h"
#include "app/frmstart.h"
#include "app/frmwait.h"
#include "app/help.h"
#include "app/pictures.h"
#include "app/placement.h"
#include "app/startupvalues.h"
#include "app/sysinfo.h"
#include "app/twips.h"
#include "app/widgets.h"
#include "common/texthelpers.h"
#include "core/context.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "settings/envsave.h"

#include <QCloseEvent>
#include <QFile>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <memory>

namespace pikotel {

namespace {

// Clears a flag on every way out of a command.
class BusyGuard {
public:
    explicit BusyGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~BusyGuard() { flag_ = false; }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

private:
    bool& flag_;
};

struct StatusText {
    const char* objectName;
    const char* text;
};

const StatusText kStatusTexts[] = {
    {"cmdTelFind", "電話番号を入力して名前・住所の検索"},
    {"cmd104Find", "住所・名称を入力して電話番号の検索"},
    {"cmdGyoshuFind", "都道府県・市区町村・業種を選択して社名／電話番号の検索"},
    {"cmdZipFind", "郵便番号を入力して住所を検索／住所を選択して郵便番号を検索"},
    {"cmdEnd", "ぴ～こぴこ電話帳を終了します"},
    {"CmdHELP", "ヘルプファイルを開きます"},
    {"CmdSetting", "設定の変更を行います"},
};

} // namespace

frmMain::frmMain(AppContext& ctx, ScreenCatalog& screens)
    : QMainWindow(nullptr), ctx_(ctx), screens_(screens) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(kAppTitle);
    setWindowIcon(applicationIcon());
    buildMenus();
    buildUi();
    refreshCommandStates();
}

frmMain::~frmMain() = default;

QToolButton* frmMain::makeButton(const char* objectName, const QString& text,
                                 const QString& picture, char key) {
    QToolButton* b = newPictureButton(frame2_, QString::fromLatin1(objectName), picture, text,
                                      Qt::ToolButtonTextUnderIcon);
    // The caption stays as it is; the Alt key is told in the tip.
    const QKeySequence keys(Qt::ALT | static_cast<Qt::Key>(Qt::Key_A + (key - 'A')));
    auto* shortcut = new QShortcut(keys, this);
    connect(shortcut, &QShortcut::activated, b, &QToolButton::click);
    b->setToolTip(text + QStringLiteral(" (") + keys.toString(QKeySequence::NativeText) +
                  QLatin1Char(')'));
    b->setIconSize(QSize(48, 48));
    b->setAutoRaise(true);
    b->setMinimumSize(QSize(104, 84));
    b->installEventFilter(this);
    return b;
}

void frmMain::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    file->setObjectName(QStringLiteral("mnuFile"));
    mnuEnv_ = file->addAction(QStringLiteral("環境設定(&E)"), this, &frmMain::mnuEnv_Click);
    mnuEnv_->setObjectName(QStringLiteral("mnuEnv"));
    QAction* end = file->addAction(QStringLiteral("終了(&X)"), this, &frmMain::cmdEnd_Click);
    end->setObjectName(QStringLiteral("mnuEnd"));

    QMenu* find = menuBar()->addMenu(QStringLiteral("検索(&S)"));
    find->setObjectName(QStringLiteral("mnuFind"));
    mnuTelFind_ =
        find->addAction(QStringLiteral("電話番号検索(&T)"), this, &frmMain::mnuTelFind_Click);
    mnuTelFind_->setObjectName(QStringLiteral("mnuTelFind"));
    mnu104Find_ =
        find->addAction(QStringLiteral("１０４式検索(&N)"), this, &frmMain::mnu104Find_Click);
    mnu104Find_->setObjectName(QStringLiteral("mnu104Find"));
    mnuGyoshuFind_ =
        find->addAction(QStringLiteral("業種検索(&G)"), this, &frmMain::mnuGyoshuFind_Click);
    mnuGyoshuFind_->setObjectName(QStringLiteral("mnuGyoshuFind"));
    mnuZipFind_ =
        find->addAction(QStringLiteral("郵便番号検索(&Y)"), this, &frmMain::mnuZipFind_Click);
    mnuZipFind_->setObjectName(QStringLiteral("mnuZipFind"));

    QMenu* help = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    QAction* contents =
        help->addAction(QStringLiteral("ヘルプを開く(&M)"), this, &frmMain::mnuMokuji_Click);
    contents->setObjectName(QStringLiteral("mnuMokuji"));
    QAction* about =
        help->addAction(QStringLiteral("バージョン情報(&A)"), this, &frmMain::mnuAbout_Click);
    about->setObjectName(QStringLiteral("mnuAbout"));
}

void frmMain::buildUi() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralWidget"));
    central->installEventFilter(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(12, 8, 12, 6);

    auto* top = new QHBoxLayout;
    image1_ = new QLabel(central);
    image1_->setObjectName(QStringLiteral("Image1"));
    image1_->setPixmap(picture(QStringLiteral("title")));
    top->addWidget(image1_, 1);

    // The four frames share one place; exactly one is visible.
    auto* mascotBox = new QWidget(central);
    auto* mascotLayout = new QGridLayout(mascotBox);
    mascotLayout->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < 4; ++i) {
        auto* frame = new QLabel(mascotBox);
        frame->setObjectName(QStringLiteral("ImgPikoda%1").arg(i));
        frame->setPixmap(picture(QStringLiteral("mascot%1").arg(i + 1)));
        frame->setVisible(i == 0);
        mascotLayout->addWidget(frame, 0, 0);
        imgPikoda_[static_cast<size_t>(i)] = frame;
    }
    top->addWidget(mascotBox, 0, Qt::AlignRight | Qt::AlignVCenter);
    layout->addLayout(top);

    frame2_ = new QFrame(central);
    frame2_->setObjectName(QStringLiteral("Frame2"));
    frame2_->setFrameShape(QFrame::StyledPanel);
    frame2_->installEventFilter(this);
    auto* grid = new QGridLayout(frame2_);
    cmdTelFind_ =
        makeButton("cmdTelFind", QStringLiteral("電話番号検索"), QStringLiteral("btn_tel"), 'T');
    cmd104Find_ =
        makeButton("cmd104Find", QStringLiteral("１０４式検索"), QStringLiteral("btn_104"), 'N');
    cmdGyoshuFind_ =
        makeButton("cmdGyoshuFind", QStringLiteral("業種検索"), QStringLiteral("btn_gyoshu"), 'G');
    cmdZipFind_ =
        makeButton("cmdZipFind", QStringLiteral("郵便番号検索"), QStringLiteral("btn_zip"), 'Y');
    cmdSetting_ =
        makeButton("CmdSetting", QStringLiteral("環境設定"), QStringLiteral("btn_setting"), 'E');
    cmdHelp_ = makeButton("CmdHELP", QStringLiteral("ヘルプ"), QStringLiteral("btn_help"), 'M');
    cmdEnd_ = makeButton("cmdEnd", QStringLiteral("終了"), QStringLiteral("btn_end"), 'X');
    grid->addWidget(cmdTelFind_, 0, 0);
    grid->addWidget(cmd104Find_, 0, 1);
    grid->addWidget(cmdGyoshuFind_, 0, 2);
    grid->addWidget(cmdZipFind_, 0, 3);
    grid->addWidget(cmdSetting_, 1, 1);
    grid->addWidget(cmdHelp_, 1, 2);
    grid->addWidget(cmdEnd_, 1, 3);
    layout->addWidget(frame2_);

    connect(cmdTelFind_, &QToolButton::clicked, this, &frmMain::cmdTelFind_Click);
    connect(cmd104Find_, &QToolButton::clicked, this, &frmMain::cmd104Find_Click);
    connect(cmdGyoshuFind_, &QToolButton::clicked, this, &frmMain::cmdGyoshuFind_Click);
    connect(cmdZipFind_, &QToolButton::clicked, this, &frmMain::cmdZipFind_Click);
    connect(cmdSetting_, &QToolButton::clicked, this, &frmMain::CmdSetting_Click);
    connect(cmdHelp_, &QToolButton::clicked, this, &frmMain::CmdHELP_Click);
    connect(cmdEnd_, &QToolButton::clicked, this, &frmMain::cmdEnd_Click);

    auto* bottom = new QHBoxLayout;
    lblStatus_ = new QLabel(central);
    lblStatus_->setObjectName(QStringLiteral("lblStatus"));
    lblStatus_->setFrameShape(QFrame::Panel);
    lblStatus_->setFrameShadow(QFrame::Sunken);
    lblStatus_->setMinimumHeight(24);
    // Wide enough for the longest description, whatever font the desktop gives.
    int longest = 0;
    for (const StatusText& s : kStatusTexts)
        longest = std::max(longest,
                           lblStatus_->fontMetrics().horizontalAdvance(QString::fromUtf8(s.text)));
    // The frame, the margin and the indent a framed label keeps on each side.
    lblStatus_->setMinimumWidth(longest + 2 * lblStatus_->frameWidth() + 2 * lblStatus_->margin() +
                                2 * lblStatus_->fontMetrics().horizontalAdvance(QLatin1Char('x')));
    lblStatus_->installEventFilter(this);
    bottom->addWidget(lblStatus_, 1);
    logo_ = new QLabel(central);
    logo_->setObjectName(QStringLiteral("imgLogo"));
    logo_->setPixmap(picture(QStringLiteral("logo")));
    logo_->installEventFilter(this);
    bottom->addWidget(logo_);
    layout->addLayout(bottom);

    imgHand_ = new QLabel(central);
    imgHand_->setObjectName(QStringLiteral("imgHand"));
    imgHand_->setPixmap(handCursor().pixmap());
    imgHand_->hide();

    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(150);
    connect(timer1_, &QTimer::timeout, this, &frmMain::Timer1_Timer);

    setCentralWidget(central);
    setFixedSize(sizeHint());
}

void frmMain::refreshCommandStates() {
    const auto available = [this](int screen) { return screens_.hasSearchScreen(screen); };
    cmdTelFind_->setEnabled(available(ScreenPhone));
    mnuTelFind_->setEnabled(available(ScreenPhone));
    cmd104Find_->setEnabled(available(Screen104));
    mnu104Find_->setEnabled(available(Screen104));
    cmdGyoshuFind_->setEnabled(available(ScreenIndustry));
    mnuGyoshuFind_->setEnabled(available(ScreenIndustry));
    cmdZipFind_->setEnabled(available(ScreenZipToAddress));
    mnuZipFind_->setEnabled(available(ScreenZipToAddress));
    cmdSetting_->setEnabled(screens_.hasSettingsScreen());
    mnuEnv_->setEnabled(screens_.hasSettingsScreen());
}

void frmMain::ShowMascotFrame(int n) {
    if (n < 1 || n > 4)
        return;
    for (int i = 0; i < 4; ++i)
        imgPikoda_[static_cast<size_t>(i)]->setVisible(i == n - 1);
}

int frmMain::visibleMascotFrame() const {
    for (int i = 0; i < 4; ++i) {
        if (!imgPikoda_[static_cast<size_t>(i)]->isHidden())
            return i + 1;
    }
    return 0;
}

void frmMain::Timer1_Timer() {
    if (animeCount_ < 4) {
        ShowMascotFrame(animeCount_ + 1);
        ++animeCount_;
    } else {
        ShowMascotFrame(1);
        animeCount_ = 0;
    }
}

void frmMain::Animate() {
    if (!ctx_.env().firstChoice(EnvKey::Anime))
        return;
    Clock& clock = ctx_.clock();
    // Whole seconds, rounded, so the wait lasts between 1.5 and 2.5 seconds.
    const qint64 start = std::llround(static_cast<double>(clock.monotonicMs()) / 1000.0);
    animeCount_ = 0;
    timer1_->start();
    while (static_cast<double>(clock.monotonicMs()) / 1000.0 < static_cast<double>(start + 2))
        clock.waitProcessingEvents(10);
    timer1_->stop();
}

void frmMain::RestoreMainPosition() {
    ShellState& shell = ctx_.shell();
    shell.startUpPosX = 0;
    shell.startUpPosY = 0;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect geometry = screen != nullptr ? screen->geometry() : QRect(0, 0, 1024, 768);
    const double screenWidth = pixelsToTwipsX(this, geometry.width());
    const double screenHeight = pixelsToTwipsY(this, geometry.height());
    const double width = twipsWidth(this);
    const double height = twipsHeight(this);

    bool keep = false;
    if (LoadStartUpPosition(ctx_) == 0 && (shell.startUpPosX > 0 || shell.startUpPosY > 0))
        keep =
            screenWidth - width >= shell.startUpPosX && screenHeight - height >= shell.startUpPosY;
    if (!keep) {
        shell.startUpPosX = static_cast<float>((screenWidth - width) / 2);
        shell.startUpPosY = static_cast<float>((screenHeight - height) / 2);
    }
    setTwipsLeft(this, shell.startUpPosX);
    setTwipsTop(this, shell.startUpPosY);
}

void frmMain::KeepMainPosition() {
    ShellState& shell = ctx_.shell();
    const int left = twipsLeft(this);
    const int top = twipsTop(this);
    shell.startUpPosX = static_cast<float>(left >= 0 ? left : 0);
    shell.startUpPosY = static_cast<float>(top >= 0 ? top : 0);
}

void frmMain::searchScreenClosed(QWidget* screen, int screenNo) {
    ShellState& shell = ctx_.shell();
    shell.lastFormNo = static_cast<qint16>(screenNo);
    const int left = twipsLeft(screen);
    const int top = twipsTop(screen);
    shell.startUpPosX = static_cast<float>(left > 0 ? left : 0);
    shell.startUpPosY = static_cast<float>(top > 0 ? top : 0);
    CenterFormOver(screen, this);
    show();
}

void frmMain::OpenHelp() {
    pikotel::OpenHelp(ctx_, helpPageOf(objectName()));
}

void frmMain::openHelp(const QString& page) {
    pikotel::OpenHelp(ctx_, page);
}

void frmMain::setStatus(const QString& text, bool hand) {
    lblStatus_->setText(text);
    if (hand)
        setCursor(handCursor());
    else
        unsetCursor();
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Enter) {
        const QString name = watched->objectName();
        for (const StatusText& s : kStatusTexts) {
            if (name == QLatin1String(s.objectName)) {
                setStatus(QString::fromUtf8(s.text), true);
                return false;
            }
        }
        if (watched == logo_)
            setStatus(QStringLiteral("株式会社　ザクロ・コボ"), false);
        else
            setStatus(QString(), false);
    } else if (event->type() == QEvent::Leave &&
               (qobject_cast<QToolButton*>(watched) != nullptr || watched == logo_)) {
        setStatus(QString(), false);
    }
    return QMainWindow::eventFilter(watched, event);
}

bool frmMain::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        ShowMascotFrame(1);
        animeCount_ = 0;
    }
    return QMainWindow::event(event);
}

void frmMain::openSearchScreen(int screenNo) {
    QWidget* screen = screens_.createSearchScreen(screenNo, *this);
    if (screen == nullptr)
        return;
    hide();
    screen->show();
}

void frmMain::cmdTelFind_Click() {
    if (menuBusy_)
        return;
    BusyGuard busy(menuBusy_);
    if (ctx_.directory().DicExistChk())
        return;
    Animate();
    KeepMainPosition();
    openSearchScreen(ScreenPhone);
}

void frmMain::openAreaScreen(int screenNo, Route route) {
    if (menuBusy_)
        return;
    BusyGuard busy(menuBusy_);
    Directory& dir = ctx_.directory();
    if (dir.DicExistChk())
        return;
    if (!dir.isOpened()) {
        if (route == Route::Button) {
            dir.DicOpen(true);
            if (dir.dicKind() == -1 && !dir.isOpened())
                return;
        } else if (dir.XchDicOpen() != 0) {
            return;
        }
    }
    Animate();
    if (route == Route::Button)
        KeepMainPosition();

    frmWait wait;
    setTwipsLeft(&wait, twipsLeft(this) + (twipsWidth(this) - twipsWidth(&wait)) / 2.0);
    setTwipsTop(&wait, twipsTop(this) + (twipsHeight(this) - twipsHeight(&wait)) / 2.0);
    wait.show();
    ctx_.clock().processEvents();
    openSearchScreen(screenNo);
}

void frmMain::cmd104Find_Click() {
    openAreaScreen(Screen104, Route::Button);
}

void frmMain::cmdGyoshuFind_Click() {
    openAreaScreen(ScreenIndustry, Route::Button);
}

void frmMain::cmdZipFind_Click() {
    if (menuBusy_)
        return;
    BusyGuard busy(menuBusy_);
    Animate();
    KeepMainPosition();
    openSearchScreen(ScreenZipToAddress);
}

void frmMain::mnuTelFind_Click() {
    if (menuBusy_)
        return;
    BusyGuard busy(menuBusy_);
    Animate();
    openSearchScreen(ScreenPhone);
}

void frmMain::mnu104Find_Click() {
    openAreaScreen(Screen104, Route::Menu);
}

void frmMain::mnuGyoshuFind_Click() {
    openAreaScreen(ScreenIndustry, Route::Menu);
}

void frmMain::mnuZipFind_Click() {
    if (menuBusy_)
        return;
    BusyGuard busy(menuBusy_);
    Animate();
    openSearchScreen(ScreenZipToAddress);
}

void frmMain::CmdSetting_Click() {
    if (menuBusy_)
        return;
    KeepMainPosition();
    QWidget* settings = screens_.createSettingsScreen(QStringLiteral("メイン"), this);
    if (settings == nullptr)
        return;
    setTwipsLeft(settings, ctx_.shell().startUpPosX);
    setTwipsTop(settings, ctx_.shell().startUpPosY);
    settings->setWindowModality(Qt::ApplicationModal);
    settings->show();
}

void frmMain::mnuEnv_Click() {
    if (menuBusy_)
        return;
    QWidget* settings = screens_.createSettingsScreen(QStringLiteral("メイン"), this);
    if (settings == nullptr)
        return;
    settings->setWindowModality(Qt::ApplicationModal);
    settings->show();
}

void frmMain::CmdHELP_Click() {
    if (menuBusy_)
        return;
    OpenHelp();
}

void frmMain::mnuMokuji_Click() {
    if (menuBusy_)
        return;
    pikotel::OpenHelp(ctx_);
}

void frmMain::mnuAbout_Click() {
    if (menuBusy_)
        return;
    frmAbout about(DictionaryPlaces::of(ctx_), this);
    ctx_.modals().exec(about);
}

void frmMain::cmdEnd_Click() {
    if (menuBusy_)
        return;
    close();
}

void frmMain::closeEvent(QCloseEvent* event) {
    runShutdown();
    event->accept();
}

void frmMain::runShutdown() {
    // Before start-up has finished nothing may be written.
    if (shutDownDone_ || !running_)
        return;
    shutDownDone_ = true;
    ctx_.directory().DicClose();
    SaveStartUpPosition(ctx_, static_cast<float>(twipsTop(this)),
                        static_cast<float>(twipsLeft(this)));
    SaveLastForm(ctx_, ctx_.shell().lastFormNo);
    emit shutDown();
}

void frmMain::endAtOnce() {
    shutDownDone_ = true;
    emit shutDown();
}

bool frmMain::Form_Load() {
    Environment& env = ctx_.env();
    Directory& dir = ctx_.directory();

    env.clear(EnvKey::CdDrive);
    env.lastSaveDir.clear();
    env.lastSaveFile.clear();
    setCursor(handCursor());

    auto splash = std::make_unique<frmstart>();
    splash->show();
    ctx_.clock().processEvents();

    // What goes wrong with the per-user settings file is said once, when first met.
    ctx_.store().setProblemReporter(
        [](const StoreProblem& problem) { MyMsgBoxShow(storeProblemText(problem), MsgOk); });
    CheckComponentRegistration();
    RestoreMainPosition();

    const int loaded = LoadEnvironment(ctx_);
    if (loaded == EnvUnusable)
        return false;

    if (loaded == EnvFirstRun || loaded == EnvUnreadable) {
        QString documents;
        SystemVersion version;
        const int osKind = GetOsKind(version);
        const QString name = QStringLiteral("電話帳テキスト.txt");
        if (osKind != -1 && osKind != 0 && !GetPersonalFolder(documents))
            env.setText(EnvKey::OutFile, joinPath(documents, name));
        else
            env.setText(EnvKey::OutFile, joinPath(ctx_.programFolder(), name));
        // Settings that could not be read are not replaced by older ones either.
        CarryOver* carryOver = ctx_.carryOver();
        if (carryOver != nullptr && loaded == EnvFirstRun)
            carryOver->ImportOldSettings(0);
        ctx_.history().LoadAreaAndIndustryHistories();
        HandSettingsToResultList(ctx_);
        env.initialCdRoot = dir.GetCdromDrive();
        // With an unreadable file this only sets the values in memory: the store writes
        // nothing to it.
        SilentFirstSave(ctx_);
        show();
    } else {
        // Without a carry-over the offers stay stored for a program that has one.
        if (CarryOver* carryOver = ctx_.carryOver()) {
            makePendingCarryOverOffers(*carryOver);
            ctx_.history().LoadAreaAndIndustryHistories();
        }
        if (env.viewerKind == ViewerExcel && FindAppRegistration(RegSpreadsheet) == 0 &&
            !isSpreadsheetProgram(FileNameOnly(AppExePath()))) {
            MyMsgBoxShow(QStringLiteral("エクセルのインストールが確認できません。"
                                        "検索結果の保存先の設定を変更してください。"),
                         MsgOk);
        }
        dir.DicOpen(true);
    }

    ctx_.clock().processEvents();
    if (LoadLastForm(ctx_) != 0)
        env.startUpFormNo = 0;

    running_ = true;
    if (dir.isOpened()) {
        openStartScreen();
        return true;
    }
    QWidget* settings = screens_.createSettingsScreen(QStringLiteral("初期メイン"), this);
    if (settings != nullptr)
        settings->show();
    else
        show();
    return true;
}

void frmMain::makePendingCarryOverOffers(CarryOver& carryOver) {
    const Environment& env = ctx_.env();
    const auto answered = [this](EnvKey offer) {
        RegHandle key;
        if (ctx_.store().RegKeyOpen(kVersionKey, 1, key) == 0) {
            ctx_.store().RegValueSet(key, envName(offer), QStringLiteral("0"));
            ctx_.store().RegKeyClose(key);
        }
    };
    const auto wanted = [&env](EnvKey offer) {
        const QString& text = env.text(offer);
        return text == QLatin1String("1") || text.isEmpty();
    };
    if (env.text(EnvKey::Import) == QLatin1String("1")) {
        carryOver.ImportOldSettings(0);
        answered(EnvKey::Import);
        HandSettingsToResultList(ctx_);
        return;
    }
    if (wanted(EnvKey::ImportAte)) {
        if (layoutEmpty(LoadOutputLayout(ctx_.store())) && carryOver.ImportOldSettings(1) == 1)
            HandSettingsToResultList(ctx_);
        answered(EnvKey::ImportAte);
    }
    if (wanted(EnvKey::ImportMru)) {
        carryOver.ImportOldSettings(2);
        answered(EnvKey::ImportMru);
    }
}

void frmMain::openStartScreen() {
    int n = ctx_.env().startUpFormNo;
    if (n == ScreenLastUsed)
        n = ctx_.shell().lastFormNo;
    switch (n) {
    case ScreenPhone:
    case Screen104:
    case ScreenIndustry:
        if (screens_.hasSearchScreen(n)) {
            show();
            if (n == ScreenPhone)
                cmdTelFind_Click();
            else if (n == Screen104)
                cmd104Find_Click();
            else
                cmdGyoshuFind_Click();
            return;
        }
        break;
    case ScreenZipToAddress:
    case ScreenAddressToZip: {
        // The stored prefecture decides the postal-code screen's mode.
        QString& prefecture = ctx_.history().zipConditions().prefecture;
        if (n == ScreenZipToAddress)
            prefecture.clear();
        else if (prefecture.isEmpty())
            prefecture = QStringLiteral("北海道");
        if (screens_.hasSearchScreen(ScreenZipToAddress)) {
            show();
            cmdZipFind_Click();
            return;
        }
        break;
    }
    default:
        break;
    }
    show();
}

} // namespace pikotel
