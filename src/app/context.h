#pragma once

// The process-wide values of one run, in one object. The entry procedure creates it; tests
// create a fresh one per test with the program folder and the store roots pointed at
// temporary folders. Exactly one exists at a time; AppContext::current() reaches it.

#include "app/shellhooks.h"
#include "directory/directory.h"
#include "history/historystore.h"
#include "platform/drives.h"
#include "platform/services.h"
#include "settings/environment.h"
#include "settings/regstore.h"

#include <QString>

#include <memory>

namespace pikotel {

// Screen numbers shared by STARTUPFORM, LASTFORM and the start-up screen list.
enum ScreenNo : int {
    ScreenMainMenu = 0,
    ScreenPhone = 1,
    Screen104 = 2,
    ScreenIndustry = 3,
    ScreenZipToAddress = 4,
    ScreenAddressToZip = 5,
    ScreenLastUsed = 6,
};

// Window position and screen numbers of the application shell.
struct ShellState {
    float startUpPosX = 0; // twips
    float startUpPosY = 0; // twips
    qint16 lastFormNo = 0;
};

struct ContextOptions {
    QString programFolder;
    StorePaths storePaths;
    // The mount table the drive functions read.
    QString mountsFile = QStringLiteral("/proc/self/mounts");
    QString sysRoot = QStringLiteral("/sys");
};

class AppContext {
public:
    explicit AppContext(const ContextOptions& options);
    ~AppContext();
    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

    static AppContext& current();
    static bool exists();

    // The options an installed program runs with.
    static ContextOptions installedOptions();

    const QString& programFolder() const { return programFolder_; }
    SettingsStore& store() { return store_; }
    Environment& env() { return env_; }
    ShellState& shell() { return shell_; }
    // The open directory engine (dicKind, dicOpened), the area list and the last number hits.
    Directory& directory() { return directory_; }
    const DriveTable& drives() const { return drives_; }

    ProcessLauncher& launcher() { return *launcher_; }
    Clock& clock() { return clock_; }
    // Tests replace the real services with scripted ones.
    void setLauncher(std::unique_ptr<ProcessLauncher> launcher);
    void setClock(std::unique_ptr<Clock> clock);

    ShellHooks& hooks() { return hooks_; }

    // The search histories and the postal-code search values, for the whole run.
    HistoryStore& history() { return history_; }

private:
    // Hands every call to the clock installed last, so parts that keep a reference to the
    // context's clock follow a test's replacement.
    class SwitchableClock final : public Clock {
    public:
        qint64 monotonicMs() const override { return target->monotonicMs(); }
        QDateTime now() const override { return target->now(); }
        void processEvents() override { target->processEvents(); }
        void waitProcessingEvents(int ms) override { target->waitProcessingEvents(ms); }
        std::unique_ptr<Clock> target;
    };

    QString programFolder_;
    SettingsStore store_;
    HistoryStore history_;
    Environment env_;
    ShellState shell_;
    DriveTable drives_;
    SwitchableClock clock_;
    Directory directory_;
    ShellHooks hooks_;
    std::unique_ptr<ProcessLauncher> launcher_;
};

} // namespace pikotel
