#pragma once

// A fresh context per test: the program folder and both store roots in a scratch folder,
// an installation record as the installer writes it, and a clock the test moves.

#include "builder.h"
#include "core/context.h"
#include "support/testdirs.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QPair>

#include <memory>
#include <optional>

namespace pikotel::test {

class FakeClock final : public Clock {
public:
    qint64 monotonicMs() const override { return nowMs; }
    QDateTime now() const override { return QDateTime::fromMSecsSinceEpoch(nowMs); }
    void processEvents() override { ++processed; }
    void waitProcessingEvents(int ms) override {
        nowMs += ms;
        ++processed;
        if (onWait)
            onWait();
    }
    qint64 nowMs = 100000;
    int processed = 0;
    std::function<void()> onWait;
};

class RecordingLauncher final : public ProcessLauncher {
public:
    bool openWithDesktop(const QString& fileOrUrl) override {
        opened.append(fileOrUrl);
        return true;
    }
    bool startDetached(const QString& program, const QStringList&, const QString&) override {
        started.append(program);
        return true;
    }
    QStringList opened;
    QStringList started;
};

// The desktop's association lists and application entries in a scratch folder, for as long as
// the object lives: the programs the desktop "registers" for a document type.
class DesktopDefaults {
public:
    DesktopDefaults() {
        for (const char* name : kVariables) {
            saved_.append({name, qgetenv(name), qEnvironmentVariableIsSet(name)});
        }
        QDir().mkpath(dir.file(QStringLiteral("config")));
        QDir().mkpath(dir.file(QStringLiteral("data/applications")));
        qputenv("XDG_CONFIG_HOME", dir.file(QStringLiteral("config")).toUtf8());
        qputenv("XDG_CONFIG_DIRS", dir.file(QStringLiteral("none")).toUtf8());
        qputenv("XDG_DATA_HOME", dir.file(QStringLiteral("data")).toUtf8());
        qputenv("XDG_DATA_DIRS", dir.file(QStringLiteral("none")).toUtf8());
    }
    ~DesktopDefaults() {
        for (const Saved& s : saved_) {
            if (s.set)
                qputenv(s.name, s.value);
            else
                qunsetenv(s.name);
        }
    }
    DesktopDefaults(const DesktopDefaults&) = delete;
    DesktopDefaults& operator=(const DesktopDefaults&) = delete;

    // Makes entry (an application starting exec) the default program for mime.
    void setDefault(const QString& mime, const QString& entry, const QString& exec) {
        QFile desktop(dir.file(QStringLiteral("data/applications/") + entry));
        desktop.open(QIODevice::WriteOnly);
        desktop.write("[Desktop Entry]\nType=Application\nName=Test\nExec=" + exec.toUtf8() +
                      " %U\n");
        desktop.close();
        QFile list(dir.file(QStringLiteral("config/mimeapps.list")));
        list.open(QIODevice::WriteOnly);
        list.write("[Added Associations]\n[Default Applications]\n" + mime.toUtf8() + "=" +
                   entry.toUtf8() + ";\n");
    }

    ScratchDir dir;

private:
    static constexpr const char* kVariables[] = {"XDG_CONFIG_HOME", "XDG_CONFIG_DIRS",
                                                 "XDG_DATA_HOME", "XDG_DATA_DIRS"};
    struct Saved {
        const char* name;
        QByteArray value;
        bool set;
    };
    QList<Saved> saved_;
};

class ShellFixture {
public:
    // machineDicDrive: the installation record's DICDRIVE; nullopt writes no record at all.
    explicit ShellFixture(std::optional<QString> machineDicDrive = QStringLiteral("0")) {
        QDir().mkpath(programFolder());
        // The program lives on a fixed disk unless a test mounts something else.
        setMounts("/dev/vda1 / ext4 rw 0 0\n");
        if (machineDicDrive) {
            SettingsStore installer({machineStore(), QString(), QString()});
            installer.setMachineWritable(true);
            RegHandle key;
            installer.RegKeyCreate(kVersionKey, 0, key);
            installer.RegValueSet(key, QStringLiteral("DICDRIVE"), *machineDicDrive);
            installer.RegKeyClose(key);
        }
        reset();
    }

    // Starts over with a new context over the same files, as a new run of the program would.
    void reset() {
        ctx.reset();
        ContextOptions o;
        o.programFolder = programFolder();
        o.storePaths.machine = machineStore();
        o.storePaths.user = userStore();
        o.mountsFile = dir.file(QStringLiteral("mounts"));
        o.sysRoot = dir.file(QStringLiteral("sys"));
        ctx = std::make_unique<AppContext>(o);
        auto c = std::make_unique<FakeClock>();
        clock = c.get();
        ctx->setClock(std::move(c));
        auto l = std::make_unique<RecordingLauncher>();
        launcher = l.get();
        ctx->setLauncher(std::move(l));
    }

    // A small dictionary in the program folder's DIC folder, for the first engine.
    void installDictionary() {
        const QString source = dir.file(QStringLiteral("listings.csv"));
        QFile csv(source);
        csv.open(QIODevice::WriteOnly);
        csv.write("number,name,reading,kind,zip,pref,city,city_code,town,block\n"
                  "03-3342-1111,新宿商店,シンジュクショウテン,2,160-0023,東京都,新宿区,13104,"
                  "西新宿,２丁目\n");
        csv.close();
        QDir().mkpath(programFolder() + QStringLiteral("/DIC"));
        dict::BuildOptions options;
        options.listingsCsv = source;
        options.output = programFolder() + QStringLiteral("/DIC/dxs9999.dct");
        options.engine = dict::Engine::Dxs;
        options.buildTime = 1700000000;
        dict::buildDictionary(options, nullptr, nullptr);
    }

    // The mount table the context reads, in /proc/mounts form.
    void setMounts(const QByteArray& table) {
        QFile file(dir.file(QStringLiteral("mounts")));
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(table);
    }

    QString programFolder() const { return dir.file(QStringLiteral("share/pikotel")); }
    QString machineStore() const { return dir.file(QStringLiteral("share/pikotel/HKLM.db")); }
    QString userStore() const { return dir.file(QStringLiteral("config/pikotel/HKCU.db")); }

    void setUser(const QString& name, const QString& text) {
        RegHandle key;
        ctx->store().RegKeyCreate(kVersionKey, 1, key);
        ctx->store().RegValueSet(key, name, text);
        ctx->store().RegKeyClose(key);
    }
    // The per-user version key's values, in the store's order.
    QList<QPair<QString, QString>> userValues() {
        RegValueListData list;
        ctx->store().RegValueList(1, kVersionKey, list);
        QList<QPair<QString, QString>> out;
        for (const RegValuePair& p : list)
            out.append({p.name, p.text});
        return out;
    }
    QString user(const QString& name) {
        for (const auto& [n, t] : userValues()) {
            if (n == name)
                return t;
        }
        return QStringLiteral("<missing>");
    }

    ScratchDir dir;
    std::unique_ptr<AppContext> ctx;
    FakeClock* clock = nullptr;
    RecordingLauncher* launcher = nullptr;
};

} // namespace pikotel::test
