// The entry procedure: one instance per user, then the main menu, whose loading runs the
// start-up sequence.

#include "app/desktopservices.h"
#include "app/frmmain.h"
#include "app/frmmsg.h"
#include "app/keyboard.h"
#include "app/programscreens.h"
#include "app/singleinstance.h"
#include "app/termsignals.h"
#include "core/context.h"
#include "settings/carryover.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

using namespace pikotel;

namespace {

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
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pikotel"));
    QApplication::setApplicationVersion(QStringLiteral(PIKOTEL_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);

    SingleInstance instance;
    if (instance.activateRunningInstance())
        return 0;
    if (!instance.listen() && instance.activateRunningInstance())
        return 0;

    QTranslator qtJapanese;
    if (qtJapanese.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtJapanese);

    installKeyboardConventions(app);
    AppContext ctx(AppContext::installedOptions());
    installDesktopServices(ctx);
    ctx.setCarryOver(std::make_unique<SettingsCarryOver>(ctx));
    DialogMessagePresenter presenter;
    setMessagePresenter(&presenter);

    ProgramScreens screens(ctx);
    frmMain mainMenu(ctx, screens);
    QObject::connect(&instance, &SingleInstance::activationRequested, &mainMenu,
                     [&mainMenu] { activateFront(&mainMenu); });
    QObject::connect(&mainMenu, &frmMain::shutDown, &app, &QApplication::quit,
                     Qt::QueuedConnection);

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
