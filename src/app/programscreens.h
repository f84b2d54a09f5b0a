#pragma once

// The screens this program has, for the main menu and for whatever shows them all.

#include "app/screens.h"

namespace pikotel {

class AppContext;

class ProgramScreens final : public ScreenCatalog {
public:
    explicit ProgramScreens(AppContext& ctx) : ctx_(ctx) {}
    bool hasSearchScreen(int screenNo) const override;
    QWidget* createSearchScreen(int screenNo, SearchScreenHost& host) override;
    bool hasSettingsScreen() const override { return false; }
    QWidget* createSettingsScreen(const QString&, QWidget*) override { return nullptr; }

private:
    AppContext& ctx_;
};

} // namespace pikotel
