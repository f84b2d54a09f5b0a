#pragma once

// What every search screen does alike: a window of its own that deletes itself when closed,
// centred over its host; help; the settings screen opened in the screen's caller mode; and
// on closing, its unload step and the hand-back of its position and screen number. Opening
// one lets go of an output workbook the user has closed. Esc presses its close button.

#include <QPointer>
#include <QWidget>

namespace pikotel {

class AppContext;
class SearchScreenHost;

class SearchScreen : public QWidget {
    Q_OBJECT
public:
    ~SearchScreen() override;

protected:
    // caption: the window title; settingsCaller: the mode the settings screen opens in.
    SearchScreen(AppContext& ctx, SearchScreenHost& host, const QString& objectName,
                 const QString& caption, QString settingsCaller);

    // The screen number handed back when the screen closes.
    virtual int screenNo() const = 0;
    // Runs once when the screen closes, before the host shows itself again.
    virtual void Form_Unload() {}
    // Runs when the settings opened from here were saved, before the settings screen closes.
    virtual void settingsSaved() {}
    // Runs when a settings screen opened from here has closed, saved or not.
    virtual void settingsClosed() {}

    void centreOverHost();
    void openHelp();
    bool settingsAvailable() const;
    // Opens the settings screen modally over this one.
    void openSettings();

    void closeEvent(QCloseEvent* event) override;
    // Esc is the screen's close button (CmdExit), unless the focused box used it already.
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    AppContext& ctx_;

private:
    void settingsScreenGone();

    SearchScreenHost& host_;
    // The host's window, to know the host still exists.
    QPointer<QWidget> hostWindow_;
    QString settingsCaller_;
    QPointer<QWidget> settings_;
    bool settingsOpen_ = false;
    bool unloaded_ = false;
};

} // namespace pikotel
