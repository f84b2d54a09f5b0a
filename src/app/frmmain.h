#pragma once

// The main menu, the program's home window. Loading it runs the start-up sequence and
// closing it the shutdown; while a search screen is open it is hidden, not closed.

#include "app/screens.h"

#include <QMainWindow>

#include <array>

class QAction;
class QFrame;
class QLabel;
class QTimer;
class QToolButton;

namespace pikotel {

class AppContext;
class CarryOver;

class frmMain : public QMainWindow, public SearchScreenHost {
    Q_OBJECT
public:
    frmMain(AppContext& ctx, ScreenCatalog& screens);
    ~frmMain() override;

    // The start-up sequence. False when the program must end at once (nothing was written).
    bool Form_Load();

    // n = 1 to 4 shows that mascot frame alone; anything else changes nothing.
    void ShowMascotFrame(int n);
    int visibleMascotFrame() const;
    int animeCount() const { return animeCount_; }
    bool menuBusy() const { return menuBusy_; }
    // True once the start-up sequence has finished and the program runs.
    bool running() const { return running_; }

    void RestoreMainPosition();
    void KeepMainPosition();
    // Ends the run without the shutdown writes: the settings changed the dictionary drive
    // and the program must restart on it.
    void endAtOnce();
    // The main menu's help page.
    void OpenHelp();

    // As the host of the search screens.
    QWidget* hostWindow() override { return this; }
    // Its position and number become the remembered ones, and the main menu shows again,
    // centred over it.
    void searchScreenClosed(QWidget* screen, int screenNo) override;
    void openHelp(const QString& page) override;
    ScreenCatalog& screens() override { return screens_; }
    // Plays the mascot animation for about two seconds unless ANIME turns it off.
    void Animate();

    // The commands, as the buttons and the menu run them.
    void cmdTelFind_Click();
    void cmd104Find_Click();
    void cmdGyoshuFind_Click();
    void cmdZipFind_Click();
    void CmdSetting_Click();
    void CmdHELP_Click();
    void mnuMokuji_Click();
    void cmdEnd_Click();
    void mnuTelFind_Click();
    void mnu104Find_Click();
    void mnuGyoshuFind_Click();
    void mnuZipFind_Click();
    void mnuEnv_Click();
    void mnuAbout_Click();
    void Timer1_Timer();

    // Enables the commands whose screens exist.
    void refreshCommandStates();

signals:
    // Emitted after the shutdown steps ran.
    void shutDown();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Route { Button, Menu };
    void buildUi();
    void buildMenus();
    // key: the letter that with Alt presses the button, as its menu command's mnemonic does.
    QToolButton* makeButton(const char* objectName, const QString& text, const QString& picture,
                            char key);
    void openAreaScreen(int screenNo, Route route);
    void openSearchScreen(int screenNo);
    void openStartScreen();
    void makePendingCarryOverOffers(CarryOver& carryOver);
    void setStatus(const QString& text, bool hand);
    void runShutdown();

    AppContext& ctx_;
    ScreenCatalog& screens_;
    bool menuBusy_ = false;
    bool running_ = false;
    bool shutDownDone_ = false;
    int animeCount_ = 0;
    std::array<QLabel*, 4> imgPikoda_{};
    QLabel* image1_ = nullptr;
    QLabel* logo_ = nullptr;
    QLabel* imgHand_ = nullptr;
    QLabel* lblStatus_ = nullptr;
    QFrame* frame2_ = nullptr;
    QTimer* timer1_ = nullptr;
    QToolButton* cmdTelFind_ = nullptr;
    QToolButton* cmd104Find_ = nullptr;
    QToolButton* cmdGyoshuFind_ = nullptr;
    QToolButton* cmdZipFind_ = nullptr;
    QToolButton* cmdSetting_ = nullptr;
    QToolButton* cmdHelp_ = nullptr;
    QToolButton* cmdEnd_ = nullptr;
    QAction* mnuEnv_ = nullptr;
    QAction* mnuTelFind_ = nullptr;
    QAction* mnu104Find_ = nullptr;
    QAction* mnuGyoshuFind_ = nullptr;
    QAction* mnuZipFind_ = nullptr;
};

} // namespace pikotel
