#pragma once

// A screen catalog for tests: says which screens exist and records what was asked of it.
// Search screens and the settings screen are plain widgets; a settings screen that does not
// exist is still asked for, and answers nothing.

#include "app/screens.h"

#include <QList>
#include <QStringList>
#include <QWidget>

#include <memory>

namespace pikotel::test {

class RecordingScreens : public ScreenCatalog {
public:
    bool hasSearchScreen(int) const override { return searchScreens; }
    QWidget* createSearchScreen(int screenNo, SearchScreenHost&) override {
        opened.append(screenNo);
        screen = std::make_unique<QWidget>();
        return screen.get();
    }
    bool hasSettingsScreen() const override { return settingsScreen; }
    QWidget* createSettingsScreen(const QString& caller, QWidget*, std::function<void()>) override {
        settingsCallers.append(caller);
        if (!settingsScreen)
            return nullptr;
        settings = std::make_unique<QWidget>();
        return settings.get();
    }

    bool searchScreens = false;
    bool settingsScreen = false;
    QList<int> opened;
    QStringList settingsCallers;
    std::unique_ptr<QWidget> screen;
    std::unique_ptr<QWidget> settings;
};

} // namespace pikotel::test
