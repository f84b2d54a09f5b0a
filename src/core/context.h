#pragma once

// The process-wide values of one run, in one object. The entry procedure creates it; tests
// create a fresh one per test with the program folder and the store roots pointed at
// temporary folders. Nothing reaches it through a global: whoever needs it is handed it.
//
// It needs Qt Core only: the services that need a display (modal screens, file dialogs,
// the clipboard) are interfaces here, installed by the entry procedure or a test. Asking
// for one that was never installed is a programming error and stops the program with its
// name, rather than doing nothing.

#include "directory/directory.h"
#include "history/historystore.h"
#include "platform/drives.h"
#include "platform/services.h"
#include "results/clskekka3.h"
#include "results/resultrecord.h"
#include "results/workbooksession.h"
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

// The carry-over of an earlier version's settings. Installed once the program has it;
// without it start-up makes no offer and leaves the stored offer flags as they are.
class CarryOver {
public:
    virtual ~CarryOver() = default;
    // kind 0 everything, 1 the output layout, 2 the original industries. 1 when something was
    // carried over (the in-memory values follow what was written).
    virtual int ImportOldSettings(int kind) = 0;
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
    ModalScreens& modals() { return required(modals_, "modal screens"); }
    FileDialogs& fileDialogs() { return required(fileDialogs_, "file dialogs"); }
    Clipboard& clipboard() { return required(clipboard_, "clipboard"); }
    SpreadsheetGateway& spreadsheet() { return required(spreadsheet_, "spreadsheet gateway"); }
    // Null until the program has a carry-over.
    CarryOver* carryOver() { return carryOver_.get(); }

    // The entry procedure installs the real services; tests install scripted ones.
    void setLauncher(std::unique_ptr<ProcessLauncher> launcher);
    void setClock(std::unique_ptr<Clock> clock);
    void setModals(std::unique_ptr<ModalScreens> modals) { modals_ = std::move(modals); }
    void setFileDialogs(std::unique_ptr<FileDialogs> dialogs) { fileDialogs_ = std::move(dialogs); }
    void setClipboard(std::unique_ptr<Clipboard> clipboard) { clipboard_ = std::move(clipboard); }
    void setSpreadsheet(std::unique_ptr<SpreadsheetGateway> gateway) {
        spreadsheet_ = std::move(gateway);
    }
    void setCarryOver(std::unique_ptr<CarryOver> carryOver) { carryOver_ = std::move(carryOver); }

    // The search histories and the postal-code search values, for the whole run.
    HistoryStore& history() { return history_; }

    // The records the last 104-style or industry search left, and the controller every
    // results screen reads.
    ResultSet& results() { return results_; }
    clsKekka3& kekka() { return kekka_; }
    // The output workbook the exports write into.
    WorkbookSession& workbook() { return workbook_; }

private:
    template <typename T> static T& required(const std::unique_ptr<T>& service, const char* name) {
        if (!service)
            missingService(name);
        return *service;
    }
    [[noreturn]] static void missingService(const char* name);

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
    ResultSet results_;
    clsKekka3 kekka_;
    WorkbookSession workbook_;
    DriveTable drives_;
    SwitchableClock clock_;
    Directory directory_;
    std::unique_ptr<ProcessLauncher> launcher_;
    std::unique_ptr<ModalScreens> modals_;
    std::unique_ptr<FileDialogs> fileDialogs_;
    std::unique_ptr<Clipboard> clipboard_;
    std::unique_ptr<SpreadsheetGateway> spreadsheet_;
    std::unique_ptr<CarryOver> carryOver_;
};

} // namespace pikotel
