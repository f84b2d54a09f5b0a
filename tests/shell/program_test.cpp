// The installed program as a user starts it: staged into a scratch installation, run on
// the offscreen platform, ended with SIGTERM, its store read back with pikotel-reg.

#include "support/testdirs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <unistd.h>

using namespace pikotel::test;

namespace {

const QString kVersionKey = QStringLiteral("SOFTWARE\\(株)ザクロコボ\\ぴ～こぴこ電話帳\\18.0");

class Installation {
public:
    Installation() {
        QDir().mkpath(dir.file(QStringLiteral("bin")));
        QDir().mkpath(dir.file(QStringLiteral("share/pikotel/DIC")));
        // A dictionary file that is there but does not open: start-up finds the installation
        // complete and runs on without searches.
        QFile dictionary(dir.file(QStringLiteral("share/pikotel/DIC/dxs9999.dct")));
        dictionary.open(QIODevice::WriteOnly);
        QDir().mkpath(dir.file(QStringLiteral("config")));
        QDir().mkpath(dir.file(QStringLiteral("runtime")));
        QFile::setPermissions(dir.file(QStringLiteral("runtime")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        // Copies, not links: the program finds its installation from its own real path.
        QFile::copy(QStringLiteral(PIKOTEL_PATH), bin(QStringLiteral("pikotel")));
        QFile::copy(QStringLiteral(PIKOTEL_REG_PATH), bin(QStringLiteral("pikotel-reg")));
    }
    QString bin(const QString& name) const { return dir.file(QStringLiteral("bin/") + name); }

    QProcessEnvironment environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.file(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.file(QStringLiteral("runtime")));
        env.insert(QStringLiteral("TMPDIR"), dir.file(QStringLiteral("runtime")));
        env.insert(QStringLiteral("HOME"), dir.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        return env;
    }

    // Runs pikotel-reg and gives its standard output.
    QString reg(const QStringList& arguments, int* exitCode = nullptr) const {
        QProcess p;
        p.setProcessEnvironment(environment());
        p.start(bin(QStringLiteral("pikotel-reg")), arguments);
        p.waitForFinished(20000);
        if (exitCode != nullptr)
            *exitCode = p.exitCode();
        return QString::fromUtf8(p.readAllStandardOutput());
    }

    void start(QProcess& p) const {
        p.setProcessEnvironment(environment());
        p.start(bin(QStringLiteral("pikotel")), {});
        ASSERT_TRUE(p.waitForStarted(10000));
    }

    // Waits until a per-user value can be read, or the time is up.
    bool waitForUserValue(const QString& name, int timeoutMs) const {
        for (int waited = 0; waited < timeoutMs; waited += 100) {
            int code = 1;
            reg({QStringLiteral("query"), QStringLiteral("HKCU"), kVersionKey, name}, &code);
            if (code == 0)
                return true;
            QThread::msleep(100);
        }
        return false;
    }

    QString userStoreFile() const { return dir.file(QStringLiteral("config/pikotel/HKCU.db")); }

    ScratchDir dir;
};

void terminate(QProcess& p) {
    ::kill(static_cast<pid_t>(p.processId()), SIGTERM);
    ASSERT_TRUE(p.waitForFinished(20000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0);
}

// The names of the values an export lists, in its order.
QStringList exportedNames(const QString& exported) {
    QStringList names;
    const QStringList lines = exported.split(u'\n', Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        const QStringList fields = line.split(u'\t');
        if (fields.size() >= 4 && fields.at(0) == kVersionKey)
            names.append(fields.at(1));
    }
    return names;
}

QString exportedText(const QString& exported, const QString& name) {
    const QStringList lines = exported.split(u'\n', Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        const QStringList fields = line.split(u'\t');
        if (fields.size() >= 4 && fields.at(1) == name)
            return fields.mid(3).join(u'\t');
    }
    return QStringLiteral("<missing>");
}

} // namespace

TEST(Program, FirstRunThenSigtermLeavesExactlyTheFirstRunValues) {
    Installation inst;
    inst.reg({QStringLiteral("set"), QStringLiteral("HKLM"), kVersionKey,
              QStringLiteral("DICDRIVE"), QStringLiteral("0")});

    QProcess program;
    inst.start(program);
    ASSERT_TRUE(inst.waitForUserValue(QStringLiteral("STARTUPFORM"), 30000));
    terminate(program);

    const QString exported =
        inst.reg({QStringLiteral("export"), QStringLiteral("HKCU"), kVersionKey});
    QStringList names = exportedNames(exported);
    names.sort();
    QStringList expected = {QStringLiteral("DICDRIVE"),
                            QStringLiteral("CDDRIVE"),
                            QStringLiteral("XCHDBADD"),
                            QStringLiteral("OUTFILE"),
                            QStringLiteral("HIDEEXE"),
                            QStringLiteral("HIDEEXEPATH"),
                            QStringLiteral("DEFAULTTELUSE"),
                            QStringLiteral("DEFAULTTEL"),
                            QStringLiteral("BEFOREEXEC"),
                            QStringLiteral("SEIMEI"),
                            QStringLiteral("ANIME"),
                            QStringLiteral("OUTFORM"),
                            QStringLiteral("TELHIFON"),
                            QStringLiteral("ZIPHIFON"),
                            QStringLiteral("ZIPMARK"),
                            QStringLiteral("IMPORT"),
                            QStringLiteral("IMPORT_ATE"),
                            QStringLiteral("IMPORT_MRU"),
                            QStringLiteral("STARTUPFORM"),
                            QStringLiteral("StartUpPosition_X"),
                            QStringLiteral("StartUpPosition_Y"),
                            QStringLiteral("LASTFORM")};
    expected.sort();
    EXPECT_EQ(names, expected) << exported.toStdString();
    EXPECT_TRUE(exportedText(exported, QStringLiteral("OUTFILE"))
                    .endsWith(QStringLiteral("電話帳テキスト.txt")));
    EXPECT_FALSE(exportedText(exported, QStringLiteral("CDDRIVE")).isEmpty());
    for (const char* name : {"IMPORT", "IMPORT_ATE", "IMPORT_MRU"})
        EXPECT_EQ(exportedText(exported, QString::fromLatin1(name)), QStringLiteral("0")) << name;
}

TEST(Program, SecondLaunchEndsAtOnceAndLeavesTheStoreUntouched) {
    Installation inst;
    inst.reg({QStringLiteral("set"), QStringLiteral("HKLM"), kVersionKey,
              QStringLiteral("DICDRIVE"), QStringLiteral("0")});
    QProcess first;
    inst.start(first);
    ASSERT_TRUE(inst.waitForUserValue(QStringLiteral("STARTUPFORM"), 30000));
    QThread::msleep(300);
    const QString before =
        inst.reg({QStringLiteral("export"), QStringLiteral("HKCU"), kVersionKey});

    QProcess second;
    inst.start(second);
    ASSERT_TRUE(second.waitForFinished(10000)) << "the second launch must end by itself";
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(inst.reg({QStringLiteral("export"), QStringLiteral("HKCU"), kVersionKey}), before);
    EXPECT_EQ(first.state(), QProcess::Running);
    terminate(first);
}

TEST(Program, UnusableInstallationRecordWritesNothing) {
    for (const QString& dicDrive : {QStringLiteral("2"), QString()}) {
        Installation inst;
        if (!dicDrive.isEmpty())
            inst.reg({QStringLiteral("set"), QStringLiteral("HKLM"), kVersionKey,
                      QStringLiteral("DICDRIVE"), dicDrive});
        QProcess program;
        inst.start(program);
        // The message waits for its OK; ending the program answers it.
        QThread::msleep(1500);
        if (program.state() == QProcess::Running)
            terminate(program);
        EXPECT_FALSE(QFile::exists(inst.userStoreFile())) << dicDrive.toStdString();
    }
}

namespace {

QProcessEnvironment without(QProcessEnvironment env, const QStringList& names) {
    for (const QString& name : names)
        env.remove(name);
    return env;
}

} // namespace

// What the program cannot do without is said in one line, with status 1, before any window.
TEST(Program, NoHomeOrNoDisplayIsOneLineAndStatusOne) {
    Installation inst;
    struct Case {
        QStringList unset;
        const char* said;
    };
    const Case cases[] = {
        {{QStringLiteral("HOME"), QStringLiteral("XDG_CONFIG_HOME")}, "HOME is not set"},
        {{QStringLiteral("DISPLAY"), QStringLiteral("WAYLAND_DISPLAY"),
          QStringLiteral("QT_QPA_PLATFORM")},
         "no display"},
    };
    for (const Case& c : cases) {
        QProcess program;
        program.setProcessEnvironment(without(inst.environment(), c.unset));
        program.start(inst.bin(QStringLiteral("pikotel")), {});
        ASSERT_TRUE(program.waitForFinished(10000)) << c.said;
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << c.said;
        EXPECT_EQ(program.exitCode(), 1) << c.said;
        const QString err = QString::fromUtf8(program.readAllStandardError());
        EXPECT_TRUE(err.startsWith(QStringLiteral("pikotel: ")) && err.contains(c.said) &&
                    err.count(u'\n') == 1)
            << qPrintable(err);
    }
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/.config/pikotel")));

    // The tool needs a place for the per-user root too, and says so; the other root works.
    QProcess reg;
    reg.setProcessEnvironment(
        without(inst.environment(), {QStringLiteral("HOME"), QStringLiteral("XDG_CONFIG_HOME")}));
    reg.start(inst.bin(QStringLiteral("pikotel-reg")),
              {QStringLiteral("set"), QStringLiteral("HKCU"), kVersionKey, QStringLiteral("A"),
               QStringLiteral("1")});
    ASSERT_TRUE(reg.waitForFinished(10000));
    EXPECT_EQ(reg.exitCode(), 1);
    EXPECT_TRUE(QString::fromUtf8(reg.readAllStandardError()).contains(QStringLiteral("HOME")));
}

// Another user may create any name in a shared folder: the program's socket is in the
// user's runtime folder, so a name taken in the temporary folder does not end the program.
TEST(Program, SocketLivesInTheUsersRuntimeFolder) {
    Installation inst;
    inst.reg({QStringLiteral("set"), QStringLiteral("HKLM"), kVersionKey,
              QStringLiteral("DICDRIVE"), QStringLiteral("0")});
    const QString shared = inst.dir.file(QStringLiteral("shared-tmp"));
    ASSERT_TRUE(QDir().mkpath(shared));
    QLocalServer squatter;
    ASSERT_TRUE(
        squatter.listen(shared + QStringLiteral("/pikotel-18-") + QString::number(::getuid())));
    QProcess program;
    QProcessEnvironment env = inst.environment();
    env.insert(QStringLiteral("TMPDIR"), shared);
    program.setProcessEnvironment(env);
    program.start(inst.bin(QStringLiteral("pikotel")), {});
    ASSERT_TRUE(program.waitForStarted(10000));
    ASSERT_TRUE(inst.waitForUserValue(QStringLiteral("STARTUPFORM"), 30000));
    EXPECT_EQ(program.state(), QProcess::Running);
    EXPECT_TRUE(QFileInfo(inst.dir.file(QStringLiteral("runtime/pikotel-18"))).exists());
    terminate(program);
}

// A second login of the same user on another display is told where the program runs; the
// window on the first display is not raised behind its back.
TEST(Program, LaunchOnAnotherDisplayIsToldWhereItRuns) {
    Installation inst;
    inst.reg({QStringLiteral("set"), QStringLiteral("HKLM"), kVersionKey,
              QStringLiteral("DICDRIVE"), QStringLiteral("0")});
    QProcessEnvironment first = inst.environment();
    first.insert(QStringLiteral("DISPLAY"), QStringLiteral(":7"));
    QProcess running;
    running.setProcessEnvironment(first);
    running.start(inst.bin(QStringLiteral("pikotel")), {});
    ASSERT_TRUE(running.waitForStarted(10000));
    ASSERT_TRUE(inst.waitForUserValue(QStringLiteral("STARTUPFORM"), 30000));

    QProcessEnvironment other = inst.environment();
    other.insert(QStringLiteral("DISPLAY"), QStringLiteral(":8"));
    QProcess second;
    second.setProcessEnvironment(other);
    second.start(inst.bin(QStringLiteral("pikotel")), {});
    ASSERT_TRUE(second.waitForStarted(10000));
    QString err;
    for (int waited = 0; waited < 10000 && !err.contains(u'\n'); waited += 100) {
        second.waitForReadyRead(100);
        err += QString::fromUtf8(second.readAllStandardError());
    }
    EXPECT_TRUE(err.contains(QStringLiteral("already running on another display (offscreen::7)")))
        << qPrintable(err);
    // Its message waits for the user's OK.
    EXPECT_EQ(second.state(), QProcess::Running);
    second.kill();
    second.waitForFinished();
    EXPECT_EQ(running.state(), QProcess::Running);
    terminate(running);
}
