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
    bool hasSettingsScreen() const override { return true; }
    QWidget* createSettingsScreen(const QString& caller, QWidget* over,
                                  std::function<void()> afterSave) override;
    // How the program ends at once when the settings changed the dictionary drive.
    void setProgramEnd(std::function<void()> end) { programEnd_ = std::move(end); }

private:
    AppContext& ctx_;
    std::function<void()> programEnd_;
};

} // namespace pikotel
