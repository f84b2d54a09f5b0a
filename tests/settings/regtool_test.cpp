// Runs the built pikotel-reg on stores in a scratch folder.

#include "settings/regstore.h"
#include "support/testdirs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

using namespace pikotel;

namespace {

const QString kKey = QStringLiteral("SOFTWARE\\(株)ザクロコボ\\ぴ～こぴこ電話帳\\18.0");

struct ToolRun {
    int exitCode = -1;
    QString out;
    QString err;
};

class RegToolTest : public ::testing::Test {
protected:
    ToolRun tool(const QStringList& args, const QString& program = QStringLiteral(PIKOTEL_REG_TOOL),
                 const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(program, args);
        ToolRun run;
        if (!process.waitForFinished(30000))
            return run;
        run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        run.out = QString::fromUtf8(process.readAllStandardOutput());
        run.err = QString::fromUtf8(process.readAllStandardError());
        return run;
    }
    ToolRun reg(const QStringList& args) {
        return tool(QStringList{"--user-store", user, "--machine-store", machine} + args);
    }

    void SetUp() override { ASSERT_TRUE(QDir().mkpath(QFileInfo(user).path())); }

    test::ScratchDir dir;
    QString user = dir.file(QStringLiteral("config/pikotel/HKCU.db"));
    QString machine = dir.file(QStringLiteral("share/pikotel/HKLM.db"));
};

TEST_F(RegToolTest, SetQueryExportDelete) {
    ASSERT_EQ(reg({"set", "HKLM", kKey, "DICDRIVE", "0"}).exitCode, 0);
    ASSERT_EQ(reg({"set", "HKCU", kKey, "OUTFILE", "/home/ユーザー/電話帳テキスト.txt"}).exitCode,
              0);
    ASSERT_EQ(reg({"set", "HKEY_CURRENT_USER", kKey + "\\MRU", "N", "0x10", "--type", "REG_DWORD"})
                  .exitCode,
              0);
    ASSERT_EQ(reg({"set", "hkcu", kKey + "\\ATE", "ATEMEISAI(0)", "電話番号"}).exitCode, 0);
    ASSERT_EQ(reg({"set", "HKCU", kKey, "ANIME", "-1"}).exitCode, 0);
    ASSERT_EQ(reg({"set", "HKCU", kKey, "--", "NOTE", "--user-store"}).exitCode, 0);

    // What the tool wrote is what the program reads.
    SettingsStore store({machine, user, QString()});
    RegHandle h;
    ASSERT_EQ(store.RegKeyOpen(kKey, 0, h), 0);
    QString text;
    EXPECT_EQ(store.RegValueGet(h, QStringLiteral("DICDRIVE"), text), 0);
    EXPECT_EQ(text, QStringLiteral("0"));
    store.RegKeyClose(h);

    const ToolRun query = reg({"query", "HKCU", kKey, "outfile"});
    EXPECT_EQ(query.exitCode, 0);
    EXPECT_EQ(query.out, "HKEY_CURRENT_USER\\" + kKey +
                             "\n    OUTFILE    REG_SZ    /home/ユーザー/電話帳テキスト.txt\n");
    const ToolRun exported = reg({"export", "HKCU", "SOFTWARE"});
    EXPECT_EQ(exported.exitCode, 0);
    EXPECT_EQ(exported.out, kKey + "\tOUTFILE\tREG_SZ\t/home/ユーザー/電話帳テキスト.txt\n" + kKey +
                                "\tANIME\tREG_SZ\t-1\n" + kKey + "\tNOTE\tREG_SZ\t--user-store\n" +
                                kKey + "\\MRU\tN\tREG_DWORD\t16\n" + kKey +
                                "\\ATE\tATEMEISAI(0)\tREG_SZ\t電話番号\n");

    EXPECT_EQ(reg({"delete", "HKCU", kKey, "OUTFILE"}).exitCode, 0);
    EXPECT_EQ(reg({"query", "HKCU", kKey, "OUTFILE"}).exitCode, 1);
    EXPECT_EQ(reg({"delete", "HKCU", kKey, "OUTFILE"}).exitCode, 1);
    EXPECT_EQ(reg({"delete", "HKCU", "SOFTWARE"}).exitCode, 0);
    EXPECT_EQ(reg({"export", "HKCU", kKey}).exitCode, 1);
    EXPECT_EQ(reg({"query", "HKLM", kKey, "DICDRIVE"}).exitCode, 0);
}

TEST_F(RegToolTest, UsageErrorsAndAbsentRoots) {
    const ToolRun help = tool({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith("usage: pikotel-reg"));
    EXPECT_EQ(reg({}).exitCode, 2);
    EXPECT_EQ(reg({"query", "HKXX", kKey}).exitCode, 2);
    EXPECT_EQ(reg({"set", "HKCU", kKey, "ONLYNAME"}).exitCode, 2);
    EXPECT_EQ(reg({"set", "HKCU", kKey, "N", "zz", "--type", "REG_BINARY"}).exitCode, 2);
    EXPECT_EQ(tool({"query", "HKCU", kKey, "--user-store"}).exitCode, 2);
    EXPECT_EQ(reg({"query", "HKCU", kKey, "--force"}).exitCode, 2);
    EXPECT_EQ(reg({"query", "HKCR", "rtffile\\CLSID"}).exitCode, 1);
    EXPECT_EQ(reg({"set", "HKCR", "rtffile", "", "x"}).exitCode, 1);
    EXPECT_EQ(reg({"query", "HKCU", kKey}).exitCode, 1);
    EXPECT_FALSE(QFileInfo::exists(user));
}

TEST_F(RegToolTest, FindsTheStoresOfItsInstallation) {
    const QString bin = dir.file(QStringLiteral("prefix/bin"));
    ASSERT_TRUE(QDir().mkpath(bin));
    const QString installed = bin + QStringLiteral("/pikotel-reg");
    ASSERT_TRUE(QFile::copy(QStringLiteral(PIKOTEL_REG_TOOL), installed));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.file(QStringLiteral("xdg")));

    EXPECT_EQ(tool({"set", "HKLM", kKey, "DICDRIVE", "1"}, installed, env).exitCode, 0);
    EXPECT_EQ(tool({"set", "HKCU", kKey, "DICDRIVE", "0"}, installed, env).exitCode, 0);
    SettingsStore store({dir.file(QStringLiteral("prefix/share/pikotel/HKLM.db")),
                         dir.file(QStringLiteral("xdg/pikotel/HKCU.db")), QString()});
    RegHandle h;
    QString text;
    ASSERT_EQ(store.RegKeyOpen(kKey, 0, h), 0);
    EXPECT_EQ(store.RegValueGet(h, QStringLiteral("DICDRIVE"), text), 0);
    EXPECT_EQ(text, QStringLiteral("1"));
    ASSERT_EQ(store.RegKeyOpen(kKey, 1, h), 0);
    EXPECT_EQ(store.RegValueGet(h, QStringLiteral("DICDRIVE"), text), 0);
    EXPECT_EQ(text, QStringLiteral("0"));
}

} // namespace

namespace {

// Reading commands only look: a damaged or newer store stays as and where it is, and says
// why. A store named on the command line goes only into a folder that exists.
TEST_F(RegToolTest, ReadingCommandsLeaveTheStoreAlone) {
    ASSERT_EQ(reg({"set", "HKCU", kKey, "A", "1"}).exitCode, 0);
    QFile file(user);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.seek(0);
    file.write(QByteArray(16, 'x')); // no longer SQLite's header
    file.close();
    for (const char* verb : {"query", "export"}) {
        const ToolRun run = reg({verb, "HKCU", kKey});
        EXPECT_EQ(run.exitCode, 1) << verb;
        EXPECT_TRUE(run.err.contains(QStringLiteral("is not a usable settings store"))) << verb;
        EXPECT_TRUE(run.err.contains(QStringLiteral("left as it is"))) << verb;
    }
    EXPECT_EQ(QDir(QFileInfo(user).path()).entryList(QDir::Files), QStringList{"HKCU.db"});

    ASSERT_TRUE(QFile::remove(user));
    ASSERT_EQ(reg({"set", "HKCU", kKey, "A", "1"}).exitCode, 0);
    // A later format, as a newer program would leave it: refused, kept, not moved.
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.seek(60); // the database header's user version
    file.write(QByteArray("\0\0\0\x09", 4));
    file.close();
    const QByteArray newer = [&] {
        QFile f(user);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    for (const QStringList& args :
         {QStringList{"query", "HKCU", kKey}, QStringList{"set", "HKCU", kKey, "A", "2"}}) {
        const ToolRun run = reg(args);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.contains(QStringLiteral("newer version"))) << qPrintable(run.err);
    }
    QFile after(user);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), newer);

    const QString elsewhere = dir.file(QStringLiteral("not/made/HKCU.db"));
    const ToolRun run = tool({"--user-store", elsewhere, "set", "HKCU", kKey, "A", "1"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("does not exist"))) << qPrintable(run.err);
    EXPECT_FALSE(QFileInfo::exists(dir.file(QStringLiteral("not"))));
}

} // namespace
