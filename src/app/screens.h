#pragma once

// How screens reach each other: the catalog of the screens the program has, and the host a
// search screen was opened from (the main menu). Screens know these interfaces, not the
// main menu class, so each can be opened and tested on its own.

#include <QString>

#include <functional>

class QWidget;

namespace pikotel {

class SearchScreenHost;

class ScreenCatalog {
public:
    virtual ~ScreenCatalog() = default;
    // Search screens by screen number 1 to 4 (4 is the postal-code screen in either mode).
    virtual bool hasSearchScreen(int screenNo) const = 0;
    // Creates and loads the screen over its host; the caller shows it. The screen deletes
    // itself when it closes. nullptr for a screen the program does not have.
    virtual QWidget* createSearchScreen(int screenNo, SearchScreenHost& host) = 0;
    virtual bool hasSettingsScreen() const = 0;
    // The settings screen for a caller ("初期メイン", "メイン", "電話", "郵便", …) over the
    // caller's window, not shown yet; it deletes itself when it closes. afterSave runs once
    // the user saved the settings.
    virtual QWidget* createSettingsScreen(const QString& caller, QWidget* over,
                                          std::function<void()> afterSave = {}) = 0;
};

class SearchScreenHost {
public:
    virtual ~SearchScreenHost() = default;
    // The window a search screen centres itself over.
    virtual QWidget* hostWindow() = 0;
    // A search screen closing: its position and screen number become the remembered ones
    // and the host shows itself again.
    virtual void searchScreenClosed(QWidget* screen, int screenNo) = 0;
    // Opens a page of the help (help/<page>).
    virtual void openHelp(const QString& page) = 0;
    virtual ScreenCatalog& screens() = 0;
};

} // namespace pikotel
