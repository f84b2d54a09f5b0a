#include "app/frmmain.h"
#include "app/scriptedmessages.h"
#include "app/searchscreen.h"
#include "app/startupvalues.h"
#include "app/sysinfo.h"
#include "app/twips.h"
#include "shell/recordingscreens.h"
#include "shell/shellfixture.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace pikotel;
using namespace pikotel::test;

namespace {

// A running program's per-user record, as a later run finds it.
void writeLaterRunRecord(ShellFixture& f) {
    f.setUser(QStringLiteral("CDDRIVE"), QStringLiteral("/media/cdrom/"));
    f.setUser(QStringLiteral("IMPORT"), QStringLiteral("0"));
    f.setUser(QStringLiteral("IMPORT_ATE"), QStringLiteral("0"));
    f.setUser(QStringLiteral("IMPORT_MRU"), QStringLiteral("0"));
    f.setUser(QStringLiteral("ANIME"), QStringLiteral("1"));
}

// Screens 1 to 4 available, recording which screen was asked for.
struct ScreenRecorder : RecordingScreens {
    ScreenRecorder() { searchScreens = true; }
};

// A carry-over that records its offers and carries nothing.
class RecordingCarryOver final : public CarryOver {
public:
    explicit RecordingCarryOver(QList<int>& offered) : offered_(offered) {}
    int ImportOldSettings(int kind) override {
        offered_.append(kind);
        return 0;
    }

private:
    QList<int>& offered_;
};

QToolButton* button(frmMain& w, const char* name) {
    return w.findChild<QToolButton*>(QString::fromLatin1(name));
}

} // namespace

TEST(MainMenu, AnimationShowsFramesInItsCycle) {
    ShellFixture f;
    RecordingScreens none;
    frmMain w(*f.ctx, none);
    w.ShowMascotFrame(1);
    QList<int> frames;
    for (int i = 0; i < 11; ++i) {
        w.Timer1_Timer();
        frames.append(w.visibleMascotFrame());
    }
    EXPECT_EQ(frames, (QList<int>{1, 2, 3, 4, 1, 1, 2, 3, 4, 1, 1}));
    w.ShowMascotFrame(3);
    w.ShowMascotFrame(7);
    EXPECT_EQ(w.visibleMascotFrame(), 3);
}

TEST(MainMenu, AnimationLastsAboutTwoSecondsUnlessTurnedOff) {
    ShellFixture f;
    RecordingScreens none;
    frmMain w(*f.ctx, none);
    f.ctx->env().setText(EnvKey::Anime, QStringLiteral("1"));
    const qint64 before = f.clock->nowMs;
    w.Animate();
    EXPECT_EQ(f.clock->nowMs, before);

    f.ctx->env().setText(EnvKey::Anime, QString());
    for (const qint64 start : {qint64(101499), qint64(101500), qint64(102000)}) {
        f.clock->nowMs = start;
        w.Animate();
        const qint64 elapsed = f.clock->nowMs - start;
        EXPECT_GE(elapsed, 1490) << start;
        EXPECT_LE(elapsed, 2510) << start;
    }
}

TEST(MainMenu, SecondClickWhileBusyIsIgnored) {
    ShellFixture f;
    f.installDictionary();
    f.ctx->env().setText(EnvKey::DicDrive, QStringLiteral("0"));
    f.ctx->directory().DicOpen(false);
    ScreenRecorder screens;
    frmMain w(*f.ctx, screens);
    w.refreshCommandStates();
    f.ctx->env().setText(EnvKey::Anime, QStringLiteral("0"));
    bool nested = false;
    f.clock->onWait = [&] {
        if (!nested) {
            nested = true;
            w.cmd104Find_Click();
            w.mnuGyoshuFind_Click();
        }
    };
    w.cmd104Find_Click();
    EXPECT_EQ(screens.opened, QList<int>{2});
    EXPECT_FALSE(w.menuBusy());
}

TEST(MainMenu, EnterOnAFocusedButtonPressesIt) {
    ShellFixture f;
    ScreenRecorder screens;
    frmMain w(*f.ctx, screens);
    w.refreshCommandStates();
    f.ctx->env().setText(EnvKey::Anime, QStringLiteral("1"));
    QToolButton* zip = button(w, "cmdZipFind");
    zip->setFocus();
    QTest::keyClick(zip, Qt::Key_Return);
    EXPECT_EQ(screens.opened, QList<int>{4});
    QTest::keyClick(zip, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(screens.opened, (QList<int>{4, 4}));
    QTest::keyClick(button(w, "cmdTelFind"), Qt::Key_Return);
    EXPECT_EQ(screens.opened, (QList<int>{4, 4})) << "only the focused button answers";
}

TEST(MainMenu, AltLettersPressThePictureButtonsAndTheirTipsSaySo) {
    ShellFixture f;
    ScreenRecorder screens;
    frmMain w(*f.ctx, screens);
    w.refreshCommandStates();
    f.ctx->env().setText(EnvKey::Anime, QStringLiteral("1"));
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(&w, Qt::Key_Y, Qt::AltModifier);
    EXPECT_EQ(screens.opened, QList<int>{4});
    const QToolButton* zip = button(w, "cmdZipFind");
    EXPECT_TRUE(zip->toolTip().startsWith(zip->text())) << zip->toolTip().toStdString();
    EXPECT_TRUE(zip->toolTip().contains(QStringLiteral("Alt+Y"))) << zip->toolTip().toStdString();
    EXPECT_EQ(zip->accessibleName(), zip->text()) << "the tip never becomes the spoken name";
    // Every button has its own letter, none taken by the menu bar's Alt+F, Alt+S, Alt+H.
    QStringList keys;
    for (const char* name : {"cmdTelFind", "cmd104Find", "cmdGyoshuFind", "cmdZipFind",
                             "CmdSetting", "CmdHELP", "cmdEnd"}) {
        const QString tip = button(w, name)->toolTip();
        const QString key = tip.mid(tip.lastIndexOf(QStringLiteral("Alt+")));
        EXPECT_FALSE(keys.contains(key)) << name;
        EXPECT_FALSE(key.startsWith(QStringLiteral("Alt+F")) ||
                     key.startsWith(QStringLiteral("Alt+S")) ||
                     key.startsWith(QStringLiteral("Alt+H")))
            << name;
        keys.append(key);
    }
    // A button waiting for its screen ignores its letter.
    RecordingScreens none;
    frmMain idle(*f.ctx, none);
    idle.show();
    idle.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&idle));
    QTest::keyClick(&idle, Qt::Key_Y, Qt::AltModifier);
    EXPECT_TRUE(none.opened.isEmpty());
}

TEST(MainMenu, FailedDictionaryCheckOpensNothing) {
    ShellFixture f;
    ScriptedMessagePresenter messages;
    ScreenRecorder screens;
    frmMain w(*f.ctx, screens);
    f.ctx->env().setText(EnvKey::Anime, QStringLiteral("1"));
    w.cmdTelFind_Click();
    w.cmd104Find_Click();
    EXPECT_TRUE(screens.opened.isEmpty());
    EXPECT_FALSE(w.menuBusy());
    w.cmdZipFind_Click();
    EXPECT_EQ(screens.opened, QList<int>{4}) << "the postal-code screen needs no dictionary";
}

TEST(MainMenu, CommandsWaitForTheirScreens) {
    ShellFixture f;
    RecordingScreens none;
    frmMain w(*f.ctx, none);
    for (const char* name :
         {"cmdTelFind", "cmd104Find", "cmdGyoshuFind", "cmdZipFind", "CmdSetting"})
        EXPECT_FALSE(button(w, name)->isEnabled()) << name;
    EXPECT_TRUE(button(w, "CmdHELP")->isEnabled());
    EXPECT_TRUE(button(w, "cmdEnd")->isEnabled());
    none.searchScreens = true;
    w.refreshCommandStates();
    EXPECT_TRUE(button(w, "cmdGyoshuFind")->isEnabled());
}

TEST(MainMenu, StatusLineDescribesTheControlUnderTheMouse) {
    ShellFixture f;
    RecordingScreens none;
    frmMain w(*f.ctx, none);
    auto* status = w.findChild<QLabel*>(QStringLiteral("lblStatus"));
    ASSERT_NE(status, nullptr);
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(button(w, "cmdZipFind"), &enter);
    EXPECT_EQ(status->text(),
              QStringLiteral("郵便番号を入力して住所を検索／住所を選択して郵便番号を検索"));
    QApplication::sendEvent(w.findChild<QLabel*>(QStringLiteral("imgLogo")), &enter);
    EXPECT_EQ(status->text(), QStringLiteral("株式会社　ザクロ・コボ"));
    QApplication::sendEvent(w.findChild<QWidget*>(QStringLiteral("Frame2")), &enter);
    EXPECT_EQ(status->text(), QString());
}

TEST(MainMenu, LogoTextClearsWhenThePointerLeaves) {
    ShellFixture f;
    RecordingScreens none;
    frmMain w(*f.ctx, none);
    auto* status = w.findChild<QLabel*>(QStringLiteral("lblStatus"));
    auto* logo = w.findChild<QLabel*>(QStringLiteral("imgLogo"));
    QEvent enter(QEvent::Enter);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(logo, &enter);
    ASSERT_FALSE(status->text().isEmpty());
    QApplication::sendEvent(logo, &leave);
    EXPECT_EQ(status->text(), QString());
}

TEST(MainMenu, EveryStatusTextFitsItsLabel) {
    ShellFixture f;
    RecordingScreens none;
    frmMain w(*f.ctx, none);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    auto* status = w.findChild<QLabel*>(QStringLiteral("lblStatus"));
    for (const char* name : {"cmdTelFind", "cmd104Find", "cmdGyoshuFind", "cmdZipFind",
                             "CmdSetting", "CmdHELP", "cmdEnd"}) {
        QToolButton* b = button(w, name);
        ASSERT_NE(b, nullptr) << name;
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(b, &enter);
        ASSERT_FALSE(status->text().isEmpty()) << b->objectName().toStdString();
        // A framed label keeps half an x of indent on each side.
        const int indent = status->fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2;
        EXPECT_LE(status->fontMetrics().horizontalAdvance(status->text()) + 2 * indent,
                  status->contentsRect().width())
            << b->objectName().toStdString();
    }
}

namespace {

void writeHelpPage(ShellFixture& f, const QString& name) {
    QDir().mkpath(f.programFolder() + QStringLiteral("/help"));
    QFile page(f.programFolder() + QStringLiteral("/help/") + name);
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
}

} // namespace

TEST(MainMenu, HelpOpensThePageOrSaysItIsMissing) {
    ShellFixture f;
    ScriptedMessagePresenter messages;
    RecordingScreens none;
    frmMain w(*f.ctx, none);
    w.CmdHELP_Click();
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("ヘルプが見つかりません。")});
    EXPECT_TRUE(f.launcher->opened.isEmpty());

    writeHelpPage(f, QStringLiteral("main.html"));
    writeHelpPage(f, QStringLiteral("index.html"));
    const QString help = f.programFolder() + QStringLiteral("/help/");
    w.CmdHELP_Click();
    w.findChild<QAction*>(QStringLiteral("mnuMokuji"))->trigger();
    EXPECT_EQ(f.launcher->opened, (QStringList{help + QStringLiteral("main.html"),
                                               help + QStringLiteral("index.html")}))
        << "the button opens the main menu's page, the menu the contents";
}

TEST(MainMenu, HelpMenuWaitsWhileAScreenOpens) {
    ShellFixture f;
    writeHelpPage(f, QStringLiteral("index.html"));
    ScreenRecorder screens;
    frmMain w(*f.ctx, screens);
    w.refreshCommandStates();
    f.ctx->env().setText(EnvKey::Anime, QStringLiteral("0"));
    auto* contents = w.findChild<QAction*>(QStringLiteral("mnuMokuji"));
    f.clock->onWait = [&] { contents->trigger(); };
    w.cmdZipFind_Click();
    EXPECT_EQ(screens.opened, QList<int>{4});
    EXPECT_TRUE(f.launcher->opened.isEmpty());
    f.clock->onWait = nullptr;
    contents->trigger();
    EXPECT_EQ(f.launcher->opened.size(), 1);
}

TEST(StartUp, FirstRunStoresDefaultsAndShowsTheMainMenu) {
    ShellFixture f;
    f.installDictionary();
    ScriptedMessagePresenter messages;
    RecordingScreens none;
    frmMain w(*f.ctx, none);
    ASSERT_TRUE(w.Form_Load());
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(f.user(QStringLiteral("OUTFILE")).endsWith(QStringLiteral("/電話帳テキスト.txt")));
    EXPECT_EQ(f.user(QStringLiteral("CDDRIVE")), QStringLiteral("/media/cdrom/"));
    EXPECT_EQ(f.user(QStringLiteral("IMPORT_MRU")), QStringLiteral("0"));
    EXPECT_TRUE(messages.shown().isEmpty());
    w.close();
    EXPECT_EQ(f.user(QStringLiteral("LASTFORM")), QStringLiteral("0"));
    EXPECT_NE(f.user(QStringLiteral("StartUpPosition_X")), QStringLiteral("<missing>"));
}

TEST(StartUp, FirstRunWithoutADictionarySaysSoStoresTheDefaultsAndOffersTheSettings) {
    ShellFixture f;
    ScriptedMessagePresenter messages;
    ScreenRecorder screens;
    screens.settingsScreen = true;
    frmMain w(*f.ctx, screens);
    ASSERT_TRUE(w.Form_Load());
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("ぴ～こぴこ電話帳の辞書が存在しません。")});
    EXPECT_EQ(f.user(QStringLiteral("DICDRIVE")), QStringLiteral("0"));
    EXPECT_EQ(f.user(QStringLiteral("IMPORT")), QStringLiteral("0"));
    EXPECT_EQ(screens.settingsCallers, QStringList{QStringLiteral("初期メイン")});
}

TEST(StartUp, EndingAtOnceWritesNoShutdownValues) {
    ShellFixture f;
    f.installDictionary();
    RecordingScreens none;
    frmMain w(*f.ctx, none);
    ASSERT_TRUE(w.Form_Load());
    int ends = 0;
    QObject::connect(&w, &frmMain::shutDown, [&ends] { ++ends; });
    w.endAtOnce();
    w.close();
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(f.user(QStringLiteral("StartUpPosition_X")), QStringLiteral("<missing>"));
    EXPECT_EQ(f.user(QStringLiteral("LASTFORM")), QStringLiteral("<missing>"));
}

TEST(StartUp, UnusableInstallationEndsWithoutWriting) {
    ShellFixture f(QStringLiteral("2"));
    ScriptedMessagePresenter messages;
    {
        RecordingScreens none;
        frmMain w(*f.ctx, none);
        EXPECT_FALSE(w.Form_Load());
        w.close();
    }
    EXPECT_EQ(messages.shown().size(), 1);
    EXPECT_FALSE(QFile::exists(f.userStore()));
}

TEST(StartUp, StartScreenFollowsTheStoredChoice) {
    struct Case {
        QString startUpForm;
        QString lastForm; // empty: not stored
        QList<int> opened;
    };
    const Case cases[] = {
        {QStringLiteral("6"), QStringLiteral("3"), {3}},
        {QStringLiteral("2"), QString(), {}},
        {QStringLiteral("abc"), QStringLiteral("1"), {}},
        {QStringLiteral("7"), QStringLiteral("1"), {}},
        {QStringLiteral("1"), QStringLiteral("1"), {1}},
        {QStringLiteral("5"), QStringLiteral("1"), {4}},
    };
    for (const Case& c : cases) {
        ShellFixture f;
        writeLaterRunRecord(f);
        f.setUser(QStringLiteral("STARTUPFORM"), c.startUpForm);
        if (!c.lastForm.isEmpty())
            f.setUser(QStringLiteral("LASTFORM"), c.lastForm);
        f.reset();
        f.installDictionary();
        ScreenRecorder screens;
        frmMain w(*f.ctx, screens);
        w.refreshCommandStates();
        ASSERT_TRUE(w.Form_Load());
        EXPECT_EQ(screens.opened, c.opened) << c.startUpForm.toStdString();
        EXPECT_EQ(w.isVisible(), c.opened.isEmpty());
        if (c.startUpForm == QLatin1String("5")) {
            EXPECT_EQ(f.ctx->history().zipConditions().prefecture, QStringLiteral("北海道"));
        }
    }
}

TEST(StartUp, ExitWritesBackTheLastFormReadAtStartUp) {
    ShellFixture f;
    writeLaterRunRecord(f);
    f.setUser(QStringLiteral("LASTFORM"), QStringLiteral("3"));
    f.reset();
    RecordingScreens none;
    frmMain w(*f.ctx, none);
    ASSERT_TRUE(w.Form_Load());
    f.setUser(QStringLiteral("LASTFORM"), QStringLiteral("9"));
    w.close();
    EXPECT_EQ(f.user(QStringLiteral("LASTFORM")), QStringLiteral("3"));
}

TEST(StartUp, CarryOverOffersFollowTheImportSwitches) {
    ShellFixture f;
    writeLaterRunRecord(f);
    f.setUser(QStringLiteral("IMPORT_ATE"), QString());
    f.setUser(QStringLiteral("IMPORT_MRU"), QStringLiteral("1"));
    f.reset();
    RecordingScreens none;
    {
        frmMain w(*f.ctx, none);
        ASSERT_TRUE(w.Form_Load());
    }
    EXPECT_EQ(f.user(QStringLiteral("IMPORT_ATE")), QString()) << "no offer made, none answered";
    EXPECT_EQ(f.user(QStringLiteral("IMPORT_MRU")), QStringLiteral("1"));

    f.reset();
    RegHandle ate;
    f.ctx->store().RegKeyCreate(kAteKey, 1, ate);
    f.ctx->store().RegValueSet(ate, QStringLiteral("ATEMEISAI(0,0)"), QStringLiteral("名称"));
    f.ctx->store().RegKeyClose(ate);
    QList<int> offered;
    f.ctx->setCarryOver(std::make_unique<RecordingCarryOver>(offered));
    frmMain w(*f.ctx, none);
    ASSERT_TRUE(w.Form_Load());
    EXPECT_EQ(offered, QList<int>{2}) << "a non-empty layout is not offered";
    EXPECT_EQ(f.user(QStringLiteral("IMPORT_ATE")), QStringLiteral("0"));
    EXPECT_EQ(f.user(QStringLiteral("IMPORT_MRU")), QStringLiteral("0"));
}

TEST(StartUp, WorkbookOutputWarnsWhenTheRegisteredSpreadsheetIsNotLibreOffice) {
    const QString warning = QStringLiteral("エクセルのインストールが確認できません。"
                                           "検索結果の保存先の設定を変更してください。");
    const QString xlsx =
        QStringLiteral("application/vnd.openxmlformats-officedocument.spreadsheetml.sheet");
    DesktopDefaults desktop;
    ScratchDir bin;
    for (const char* name : {"gnumeric", "libreoffice"}) {
        QFile program(bin.file(QString::fromLatin1(name)));
        ASSERT_TRUE(program.open(QIODevice::WriteOnly));
        program.close();
        program.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    }
    setAppSearchPath({bin.path()});
    ShellFixture f;
    writeLaterRunRecord(f);
    f.setUser(QStringLiteral("HIDEEXE"), QStringLiteral("Excel"));

    desktop.setDefault(xlsx, QStringLiteral("gnumeric.desktop"), QStringLiteral("gnumeric"));
    f.reset();
    {
        ScriptedMessagePresenter messages;
        RecordingScreens none;
        frmMain w(*f.ctx, none);
        ASSERT_TRUE(w.Form_Load());
        EXPECT_TRUE(messages.texts().contains(warning))
            << messages.texts().join(u'|').toStdString();
    }

    desktop.setDefault(xlsx, QStringLiteral("libreoffice-calc.desktop"),
                       QStringLiteral("libreoffice --calc"));
    f.reset();
    {
        ScriptedMessagePresenter messages;
        RecordingScreens none;
        frmMain w(*f.ctx, none);
        ASSERT_TRUE(w.Form_Load());
        EXPECT_FALSE(messages.texts().contains(warning));
    }

    f.setUser(QStringLiteral("HIDEEXE"), QStringLiteral("NotePad"));
    desktop.setDefault(xlsx, QStringLiteral("gnumeric.desktop"), QStringLiteral("gnumeric"));
    f.reset();
    {
        ScriptedMessagePresenter messages;
        RecordingScreens none;
        frmMain w(*f.ctx, none);
        ASSERT_TRUE(w.Form_Load());
        EXPECT_FALSE(messages.texts().contains(warning)) << "text output needs no spreadsheet";
    }
    setAppSearchPath({});
}

TEST(StartUp, FailedDictionaryOpenFallsBackToTheMainMenu) {
    ShellFixture f;
    writeLaterRunRecord(f);
    f.setUser(QStringLiteral("STARTUPFORM"), QStringLiteral("1"));
    f.setUser(QStringLiteral("LASTFORM"), QStringLiteral("1"));
    f.reset();
    ScriptedMessagePresenter messages;
    ScreenRecorder screens;
    frmMain w(*f.ctx, screens);
    ASSERT_TRUE(w.Form_Load());
    EXPECT_TRUE(screens.opened.isEmpty());
    EXPECT_EQ(screens.settingsCallers, QStringList{QStringLiteral("初期メイン")});
    EXPECT_TRUE(w.isVisible());
}

TEST(Placement, MainPositionRestoredOrCentred) {
    ShellFixture f;
    RecordingScreens none;
    frmMain w(*f.ctx, none);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const int screenW = pixelsToTwipsX(&w, screen.width());
    const int centreX = (screenW - twipsWidth(&w)) / 2;

    SaveStartUpPosition(*f.ctx, 0, 0);
    w.RestoreMainPosition();
    EXPECT_NEAR(f.ctx->shell().startUpPosX, centreX, 15);

    SaveStartUpPosition(*f.ctx, 200, static_cast<float>(screenW));
    w.RestoreMainPosition();
    EXPECT_NEAR(f.ctx->shell().startUpPosX, centreX, 15);

    SaveStartUpPosition(*f.ctx, 200, -100);
    w.RestoreMainPosition();
    EXPECT_EQ(f.ctx->shell().startUpPosX, -100.0f);
    EXPECT_EQ(f.ctx->shell().startUpPosY, 200.0f);

    w.KeepMainPosition();
    EXPECT_EQ(f.ctx->shell().startUpPosX, 0.0f) << "a position off the left edge is kept as 0";
}

namespace {

// A search screen whose size differs from the main menu's by an odd number of pixels both
// ways, so centring it over the main menu leaves half a pixel to round.
class TripScreen final : public SearchScreen {
public:
    TripScreen(AppContext& ctx, SearchScreenHost& host)
        : SearchScreen(ctx, host, QStringLiteral("frmTrip"), QStringLiteral("trip"),
                       QStringLiteral("郵便")) {
        resize(host.hostWindow()->width() + 101, host.hostWindow()->height() + 77);
        centreOverHost();
    }

protected:
    int screenNo() const override { return 4; }
};

class TripScreens final : public RecordingScreens {
public:
    explicit TripScreens(AppContext& ctx) : ctx_(ctx) { searchScreens = true; }
    QWidget* createSearchScreen(int screenNo, SearchScreenHost& host) override {
        opened.append(screenNo);
        last = new TripScreen(ctx_, host);
        return last;
    }
    QPointer<QWidget> last;

private:
    AppContext& ctx_;
};

} // namespace

TEST(Placement, FiftyRoundTripsToASearchScreenLeaveTheMainMenuWhereItWas) {
    ShellFixture f;
    f.ctx->env().setText(EnvKey::Anime, QStringLiteral("1"));
    TripScreens screens(*f.ctx);
    frmMain w(*f.ctx, screens);
    w.refreshCommandStates();
    w.move(101, 61);
    w.show();
    w.KeepMainPosition();
    const float keptX = f.ctx->shell().startUpPosX;
    const float keptY = f.ctx->shell().startUpPosY;
    EXPECT_EQ(keptY, 61.0f * 15) << "kept in twips";

    for (int trip = 0; trip < 50; ++trip) {
        w.cmdZipFind_Click();
        ASSERT_FALSE(screens.last.isNull());
        ASSERT_TRUE(w.isHidden());
        screens.last->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ASSERT_TRUE(screens.last.isNull());
        ASSERT_FALSE(w.isHidden());
    }
    EXPECT_EQ(w.pos(), QPoint(101, 61));
    w.KeepMainPosition();
    EXPECT_EQ(f.ctx->shell().startUpPosX, keptX);
    EXPECT_EQ(f.ctx->shell().startUpPosY, keptY);
}

TEST(StartUp, DamagedUserStoreIsSetAsideAndTheRunStartsAfresh) {
    ShellFixture f;
    f.installDictionary();
    writeLaterRunRecord(f);
    f.ctx.reset();
    {
        QFile store(f.userStore());
        ASSERT_TRUE(store.open(QIODevice::WriteOnly | QIODevice::Truncate));
        store.write(QByteArray(4096, 'x'));
    }
    f.reset();
    ScriptedMessagePresenter messages;
    RecordingScreens none;
    frmMain w(*f.ctx, none);
    ASSERT_TRUE(w.Form_Load());
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_TRUE(messages.shown().at(0).text.startsWith(QStringLiteral("設定ファイルが壊れていた")));
    const QStringList aside = QDir(QFileInfo(f.userStore()).path())
                                  .entryList({QStringLiteral("HKCU.db.damaged-*")}, QDir::Files);
    ASSERT_EQ(aside.size(), 1);
    QFile kept(QFileInfo(f.userStore()).path() + u'/' + aside.at(0));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray(4096, 'x')) << "the damaged file is kept as it was";
    EXPECT_EQ(f.user(QStringLiteral("IMPORT")), QStringLiteral("0"))
        << "first-run values stored afresh";
}

namespace {

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Another program holding the settings locked while the program starts: said, not taken
// for a first run, and the file is what it was after the run has ended.
TEST(StartUp, LockedUserStoreIsSaidAndLeftAsItWas) {
    ShellFixture f;
    f.installDictionary();
    writeLaterRunRecord(f);
    f.setUser(QStringLiteral("OUTFILE"), QStringLiteral("/home/user/mine.txt"));
    f.reset();
    const QByteArray before = fileBytes(f.userStore());
    f.ctx->store().setLockWait(50);
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(f.userStore()).constData(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    ScriptedMessagePresenter messages;
    RecordingScreens none;
    {
        frmMain w(*f.ctx, none);
        ASSERT_TRUE(w.Form_Load());
        sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(other);
        EXPECT_TRUE(
            f.ctx->env().text(EnvKey::OutFile).endsWith(QStringLiteral("電話帳テキスト.txt")))
            << "the run goes on with first-run values";
        w.close();
    }
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_TRUE(messages.shown().at(0).text.startsWith(
        QStringLiteral("設定ファイルは他のプログラムが使用中のため")));
    EXPECT_TRUE(messages.shown().at(0).text.contains(f.userStore()));
    EXPECT_EQ(fileBytes(f.userStore()), before);
}

// Nowhere to keep the settings (a file where the settings folder should be): one message,
// then the run goes on; the writes at the end say nothing more.
TEST(StartUp, SettingsThatCannotBeKeptAreSaidOnce) {
    ShellFixture f;
    f.installDictionary();
    QFile blocker(QFileInfo(QFileInfo(f.userStore()).path()).path());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    f.reset();
    ScriptedMessagePresenter messages;
    RecordingScreens none;
    {
        frmMain w(*f.ctx, none);
        ASSERT_TRUE(w.Form_Load());
        EXPECT_TRUE(w.isVisible());
        w.close();
    }
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_TRUE(messages.shown().at(0).text.startsWith(QStringLiteral("設定を保存できません")));
    EXPECT_TRUE(messages.shown().at(0).text.contains(f.userStore()));
}

} // namespace
