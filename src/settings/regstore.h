#pragma once

// The settings store: three roots of keys and typed values, laid out as the Windows registry
// the program was designed for, kept in one SQLite file per root.
//
//   mode 0  machine-wide (HKLM)  <program folder>/HKLM.db, read only to the program
//   mode 1  per-user (HKCU)      $XDG_CONFIG_HOME/pikotel/HKCU.db, created on demand
//   mode 2  class registry (HKCR) absent on Linux: every open fails
//
// Keys are "\"-joined paths, matched without regard to ASCII letter case. Text values are
// stored as their cp932 bytes plus one NUL, so sizes and buffer limits behave as they did
// on Windows. Values enumerate in creation order; rewriting a value keeps its place.
// A flush is a committed transaction: a process killed at any point leaves every value
// with either its old or its new text.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <utility>

namespace pikotel {

enum class RegRoot { Machine = 0, User = 1, Classes = 2 };

enum class RegType : int { Text = 1, ExpandText = 2, Binary = 3, Dword = 4 };

struct RegValuePair {
    QString name;
    QString text;
    bool operator==(const RegValuePair&) const = default;
};
using RegValueListData = QList<RegValuePair>;

class RegStoreFile;

// An open key. Owned by the caller, closed by RegKeyClose or RegKeyFlushClose (or, as a
// safety net, when destroyed; pending writes are then committed as a close would).
class RegHandle {
public:
    RegHandle();
    ~RegHandle();
    RegHandle(RegHandle&&) noexcept;
    RegHandle& operator=(RegHandle&&) noexcept;
    RegHandle(const RegHandle&) = delete;
    RegHandle& operator=(const RegHandle&) = delete;
    bool isOpen() const;

private:
    friend class SettingsStore;
    std::shared_ptr<RegStoreFile> file_;
    std::int64_t keyId_ = -1;
    bool writable_ = false;
};

struct StorePaths {
    QString machine; // empty: no machine-wide root
    QString user;
    QString classes; // empty on Linux
    // Whether the per-user file's folder is made when missing (the program's own folder);
    // a file named on a command line goes only into a folder that exists.
    bool createUserFolder = true;
};

// Why the per-user file could not be used as it should be.
struct StoreProblem {
    enum class Kind {
        Damaged,    // not a store, or failing its checks: moved aside, a fresh one begins
        Locked,     // another program kept it locked while it was to be read
        Unreadable, // it cannot be opened or read (permissions, a folder in its place, I/O)
        Newer,      // written by a later version of the program
        Unwritable, // what the program saves cannot be kept (read-only, no folder, disk full)
    };
    Kind kind = Kind::Damaged;
    QString path;
    QString movedTo; // Damaged: where the file is now; empty when it was left in place
    QString detail;  // the system's or SQLite's words
};

// The message for a problem: what failed, where, and how the run goes on.
QString storeProblemText(const StoreProblem& problem);

class SettingsStore {
public:
    explicit SettingsStore(StorePaths paths);
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    const StorePaths& paths() const { return paths_; }

    // Problems of the per-user file, each kind noted once per store object (once per run
    // in the program). A damaged file is renamed aside (never deleted) the first time the
    // root is opened and a fresh store begins, as on a first run. A file that is locked,
    // unreadable or of a newer format is not a first run: the root is held off for the rest
    // of the run, nothing is read from it or written to it, so defaults never overwrite
    // what it holds. Writes that cannot be kept are noted as Unwritable.
    QList<StoreProblem> takeProblems();
    // Called with each problem as it is noted (the program shows it); also kept for
    // takeProblems. With a reporter, RegValueListPut leaves these failures to it.
    void setProblemReporter(std::function<void(const StoreProblem&)> reporter);
    // False once the per-user file was found locked, unreadable or of a newer format.
    bool userRootUsable() const { return !userHeldOff_; }

    // Inspection only (the tool's read commands): no root is written and a damaged file
    // stays where it is.
    void setReadOnly(bool readOnly) { readOnly_ = readOnly; }
    // How long an operation waits for another process's lock (5 seconds unless set).
    void setLockWait(int ms) { lockWaitMs_ = ms; }

    // 0 and an open handle; 1 when the key does not exist or cannot be opened.
    int RegKeyOpen(const QString& path, int mode, RegHandle& handle);
    // Per-user root only (mode 1): creates the key and its missing parents, or opens it.
    int RegKeyCreate(const QString& path, int mode, RegHandle& handle);
    int RegKeyClose(RegHandle& handle);
    int RegKeyFlushClose(RegHandle& handle);

    // 0 read; 1 missing or unreadable (text untouched); 2 not a text value (text untouched).
    // Only plain texts count: an expandable text gives 2 and is read with RegValueGetRaw.
    int RegValueGet(RegHandle& handle, const QString& name, QString& text);
    // Writes the text and commits; 0 success, 1 failure.
    int RegValueSet(RegHandle& handle, const QString& name, const QString& text);
    // Writes without committing; 0 for success, else an error code.
    int RegValuePut(RegHandle& handle, const QString& name, const QString& text);
    int RegValueDelete(RegHandle& handle, const QString& name);

    // Pairs of (name, text) in enumeration order, stopping at the first value whose name
    // needs more than 255 cp932 bytes or whose data more than 256 bytes.
    int RegValueList(int mode, const QString& path, RegValueListData& list);
    // The same, keeping only the original-industry values.
    int RegGyoshuValueList(int mode, const QString& path, RegValueListData& list);
    // Writes every pair into the per-user key, creating it when needed; one commit at the end.
    bool RegValueListPut(const QString& path, const RegValueListData& list);

    // Typed access for the tool and for reading system policies.
    int RegValueGetRaw(RegHandle& handle, const QString& name, RegType& type, QByteArray& data);
    int RegValueSetRaw(RegHandle& handle, const QString& name, RegType type,
                       const QByteArray& data);
    // Subkey names and value names in creation order.
    QStringList RegSubKeys(RegHandle& handle);
    QStringList RegValueNames(RegHandle& handle);
    // Deletes a key with all its subkeys and values.
    int RegKeyDelete(int mode, const QString& path);

    // Writing a root that the program only reads (the installer's way in).
    void setMachineWritable(bool writable) { machineWritable_ = writable; }

private:
    std::shared_ptr<RegStoreFile> rootFile(int mode, bool forWriting);
    bool rootWritable(int mode) const;
    bool setAside(const QString& path, const QString& why);
    void note(StoreProblem problem);
    void holdOffUser(StoreProblem::Kind kind, const QString& detail);
    bool isUserFile(const std::shared_ptr<RegStoreFile>& file) const;
    // Passes a result on, noting a failure of the per-user file: a read that failed holds
    // the root off, a write that failed is Unwritable.
    int readResult(const std::shared_ptr<RegStoreFile>& file, int rc);
    int writeResult(const std::shared_ptr<RegStoreFile>& file, int rc);
    // The operations below answer with the registry's error codes.
    int createKey(const QString& path, int mode, RegHandle& handle);
    int closeKey(RegHandle& handle);
    int listValues(int mode, const QString& path, RegValueListData& list, bool industryOnly);

    StorePaths paths_;
    bool machineWritable_ = false;
    bool readOnly_ = false;
    int lockWaitMs_ = 5000;
    std::shared_ptr<RegStoreFile> files_[3];
    bool userHeldOff_ = false;
    QList<StoreProblem> problems_;
    QList<StoreProblem::Kind> noted_;
    std::function<void(const StoreProblem&)> reporter_;
};

// Names of the product and version keys, and of the subkeys under the version key.
inline const QString kProductKey = QStringLiteral("SOFTWARE\\(株)ザクロコボ\\ぴ～こぴこ電話帳");
inline const QString kVersionKey = kProductKey + QStringLiteral("\\18.0");
inline const QString kMruKey = kVersionKey + QStringLiteral("\\MRU");
inline const QString kAteKey = kVersionKey + QStringLiteral("\\ATE");

int MruKeyCreate(SettingsStore& store, RegHandle& handle);
int AteKeyCreate(SettingsStore& store, RegHandle& handle);

} // namespace pikotel
