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
};

// What happened when a root's file was found unusable and set aside.
struct DamagedStore {
    RegRoot root;
    QString originalPath;
    QString movedTo;
};

class SettingsStore {
public:
    explicit SettingsStore(StorePaths paths);
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    const StorePaths& paths() const { return paths_; }

    // A per-user file that cannot be read as a store is renamed aside (never deleted) the
    // first time the root is opened; the program then runs as on a first run. The caller
    // tells the user about every entry returned here.
    QList<DamagedStore> takeDamagedStores();

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
    bool setAside(const QString& path);
    // The operations below answer with the registry's error codes.
    int createKey(const QString& path, int mode, RegHandle& handle);
    int closeKey(RegHandle& handle);
    int listValues(int mode, const QString& path, RegValueListData& list, bool industryOnly);

    StorePaths paths_;
    bool machineWritable_ = false;
    std::shared_ptr<RegStoreFile> files_[3];
    QList<DamagedStore> damaged_;
};

// Names of the product and version keys, and of the subkeys under the version key.
inline const QString kProductKey = QStringLiteral("SOFTWARE\\(株)ザクロコボ\\ぴ～こぴこ電話帳");
inline const QString kVersionKey = kProductKey + QStringLiteral("\\18.0");
inline const QString kMruKey = kVersionKey + QStringLiteral("\\MRU");
inline const QString kAteKey = kVersionKey + QStringLiteral("\\ATE");

int MruKeyCreate(SettingsStore& store, RegHandle& handle);
int AteKeyCreate(SettingsStore& store, RegHandle& handle);

} // namespace pikotel
