#pragma once

// Carrying over the settings of an earlier version: its environment values, its output
// layout and its original industries, from the newest earlier version whose key exists.
// Start-up offers it (everything on a first run or when the installer asks; the layout and
// the industries alone while their offers stand).

#include "core/context.h"
#include "settings/regstore.h"

#include <QString>

#include <array>

namespace pikotel {

// The fourteen texts read from an earlier version's environment key.
struct OldEnvRecord {
    QString outFile;
    QString hideExe;
    QString hideExePath;
    QString browser;
    QString browserPath;
    QString defaultTel;
    QString defaultTelUse;
    QString beforeExec;
    QString seimei;
    QString anime;
    QString outForm;
    QString telHifon;
    QString zipHifon;
    QString zipMark;
};

class SettingsCarryOver final : public CarryOver {
public:
    explicit SettingsCarryOver(AppContext& ctx) : ctx_(ctx) {}

    // kind 0 everything, 1 the output layout, 2 the original industries: 1 carried over;
    // 0 nothing to do, declined or failed; -1 after an unexpected error.
    int ImportOldSettings(int kind) override;

    // The newest version text whose key exists, "0" when none.
    QString FindOldVersion();
    void ReadOldEnvironment(const QString& version, OldEnvRecord& record);
    bool WriteImportedEnvironment(const OldEnvRecord& record);
    bool ImportOldLayout(const QString& version);
    int CountOldLayout(const QString& version);
    bool ImportOldGyoshu(const QString& version);
    bool MergeOldGyoshu(const QString& version);
    int CountOldGyoshu(const QString& version);

    // The name a version is offered by ("Ver.17", "首都圏版", …).
    static QString versionName(const QString& version);

private:
    AppContext& ctx_;
};

} // namespace pikotel
