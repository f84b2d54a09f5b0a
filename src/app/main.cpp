// The entry procedure: what the program needs from its environment, one instance per user,
// then the main menu, whose loading runs the start-up sequence.

#include "app/componentprobes.h"
#include "app/desktopservices.h"
#include "app/frmmain.h"
#include "app/frmmsg.h"
#include "app/help.h"
#include "app/keyboard.h"
#include "app/programscreens.h"
#include "app/singleinstance.h"
#include "app/termsignals.h"
#include "core/context.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "settings/carryover.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdio>
#include <cstring>

using namespace pikotel;

namespace {

// What must hold before Qt starts (without a display Qt aborts): the one-line reason the
// program cannot run, or nothing.
QString missingEnvironment(int argc, char** argv) {
    if (userConfigFolder().isEmpty())
        return QStringLiteral("HOME is not set (nor XDG_CONFIG_HOME): there is no folder for "
                              "the settings");
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0)
            return QString();
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return QStringLiteral("no display: DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM are "
                              "all unset");
    return QString();
}

// The program already runs on another display (another login of the same user): its
// window is not raised where nobody sees it; this launch says where it runs and ends.
int runningElsewhere(const QString& place) {
    std::fprintf(stderr, "pikotel: already running on another display (%s)\n", qPrintable(place));
    DialogMessagePresenter presenter;
    setMessagePresenter(&presenter);
    MyMsgBoxShow(QStringLiteral("ぴ～こぴこ電話帳は別の画面（%1）で起動しています。").arg(place),
                 MsgOk);
    setMessagePresenter(nullptr);
    return 1;
}

// Brings the window the user last worked in to the front, restored.
void activateFront(QWidget* mainMenu) {
    QWidget* target = QApplication::activeModalWidget();
    if (target == nullptr && mainMenu->isVisible())
        target = mainMenu;
    if (target == nullptr) {
        const auto windows = QApplication::topLevelWidgets();
        for (QWidget* w : windows) {
            if (w->isVisible() && w->isWindow()) {
                target = w;
                break;
            }
        }
    }
    if (target == nullptr)
        return;
    target->showNormal();
    target->raise();
    target->activateWindow();
}

} // namespace

int main(int argc, char** argv) {
    if (const QString missing = missingEnvironment(argc, argv); !missing.isEmpty()) {
        std::fprintf(stderr, "pikotel: %s\n", qPrintable(missing));
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pikotel"));
    QApplication::setApplicationVersion(QStringLiteral(PIKOTEL_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);

    SingleInstance instance(SingleInstance::defaultSocketPath(), SingleInstance::currentPlace());
    SingleInstance::Answer running = instance.activateRunningInstance();
    if (running == SingleInstance::Answer::NoneRunning && !instance.listen())
        running = instance.activateRunningInstance();
    if (running == SingleInstance::Answer::Raised)
        return 0;
    if (running == SingleInstance::Answer::Elsewhere)
        return runningElsewhere(instance.runningPlace());

    QTranslator qtJapanese;
    if (qtJapanese.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtJapanese);

    installKeyboardConventions(app);
    AppContext ctx(AppContext::installedOptions());
    installDesktopServices(ctx);
    installHelpKey(app, ctx);
    registerComponentProbes();
    ctx.setCarryOver(std::make_unique<SettingsCarryOver>(ctx));
    DialogMessagePresenter presenter;
    setMessagePresenter(&presenter);

    ProgramScreens screens(ctx);
    frmMain mainMenu(ctx, screens);
    QObject::connect(&instance, &SingleInstance::activationRequested, &mainMenu,
                     [&mainMenu] { activateFront(&mainMenu); });
    QObject::connect(&mainMenu, &frmMain::shutDown, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    screens.setProgramEnd([&mainMenu] { mainMenu.endAtOnce(); });

    TermSignals termination;
    bool terminationPending = false;
    QObject::connect(&termination, &TermSignals::terminationRequested, &mainMenu, [&] {
        // Modal dialogs first, so the main menu's close is not refused by a running dialog.
        for (int i = 0; i < 16; ++i) {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal == nullptr || !modal->close())
                break;
        }
        if (mainMenu.running())
            mainMenu.close();
        else
            terminationPending = true;
    });

    const bool started = mainMenu.Form_Load();
    // A termination asked for during start-up takes effect once start-up is done.
    if (started && terminationPending)
        mainMenu.close();
    if (!started || terminationPending) {
        setMessagePresenter(nullptr);
        return 0;
    }
    const int code = QApplication::exec();
    setMessagePresenter(nullptr);
    return code;
}
