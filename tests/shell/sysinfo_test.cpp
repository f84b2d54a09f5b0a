#include "app/componentprobes.h"
#include "app/scriptedmessages.h"
#include "app/sysinfo.h"
#include "shell/shellfixture.h"

#include <QFile>
#include <QThread>

#include <gtest/gtest.h>

using namespace pikotel;
using namespace pikotel::test;

TEST(SysInfo, OsKindTable) {
    EXPECT_EQ(osKindOf(1, 4, 10), 1); // Windows 98
    EXPECT_EQ(osKindOf(1, 4, 90), 1); // Windows Me
    EXPECT_EQ(osKindOf(1, 3, 0), 0);
    EXPECT_EQ(osKindOf(2, 4, 0), 3);
    EXPECT_EQ(osKindOf(2, 5, 0), 4);
    EXPECT_EQ(osKindOf(2, 5, 2), 5);
    EXPECT_EQ(osKindOf(2, 5, 3), -1);
    EXPECT_EQ(osKindOf(2, 10, 0), -1);
    EXPECT_EQ(osKindOf(3, 6, 0), -1);
    SystemVersion v;
    EXPECT_EQ(GetOsKind(v), 6);
}

TEST(SysInfo, CutAfterExe) {
    EXPECT_EQ(CutAfterExe(QStringLiteral("\"D:\\Office\\Excel.exe\" /automation")),
              QStringLiteral("\"D:\\Office\\Excel.exe"));
    EXPECT_EQ(CutAfterExe(QStringLiteral("a.exe b.EXE c")), QStringLiteral("a.exe b.EXE"));
    EXPECT_EQ(CutAfterExe(QStringLiteral("/usr/bin/soffice")), QString());
    EXPECT_EQ(CutAfterExe(QString()), QString());
    EXPECT_EQ(CutAfterExe(QString::fromUtf16(u"x.e\0xe", 6)), QStringLiteral("x.exe"));
}

TEST(SysInfo, ExpandEnvPrefix) {
    qputenv("PIKOTEL_TEST_FOLDER", "/opt/office");
    EXPECT_EQ(ExpandEnvPrefix(QStringLiteral("%PIKOTEL_TEST_FOLDER%/bin/calc")),
              QStringLiteral("/opt/office//bin/calc"));
    EXPECT_EQ(ExpandEnvPrefix(QStringLiteral("%pikotel_test_folder%calc")),
              QStringLiteral("/opt/office/calc"));
    EXPECT_EQ(ExpandEnvPrefix(QStringLiteral("/no/prefix")), QString());
    EXPECT_EQ(ExpandEnvPrefix(QStringLiteral("%UNCLOSED")), QString());
    EXPECT_EQ(ExpandEnvPrefix(QStringLiteral("%PIKOTEL_NOT_SET_ANYWHERE%/x")), QString());
    qunsetenv("PIKOTEL_TEST_FOLDER");
}

TEST(SysInfo, FindsDesktopProgramsOnTheSearchPath) {
    DesktopDefaults nothingRegistered;
    ScratchDir dir;
    setAppSearchPath({dir.path()});
    EXPECT_EQ(FindAppRegistration(RegSpreadsheet), 1);
    EXPECT_EQ(FindAppRegistration(3), 1);

    QFile calc(dir.file(QStringLiteral("localc")));
    ASSERT_TRUE(calc.open(QIODevice::WriteOnly));
    calc.close();
    calc.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_EQ(FindAppRegistration(RegSpreadsheet), 0);
    EXPECT_EQ(AppExePath(), dir.file(QStringLiteral("localc")));
    EXPECT_EQ(FindAppRegistration(RegWordProcessor), 1);
    EXPECT_EQ(AppExePath(), dir.file(QStringLiteral("localc"))) << "a failed search keeps the path";
    EXPECT_TRUE(isSpreadsheetProgram(QStringLiteral("localc")));
    EXPECT_FALSE(isSpreadsheetProgram(QStringLiteral("EXCEL.EXE")));
    setAppSearchPath({});
}

namespace {

void makeProgram(const ScratchDir& dir, const QString& name) {
    QFile program(dir.file(name));
    ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    program.close();
    program.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
}

const QString kXlsx =
    QStringLiteral("application/vnd.openxmlformats-officedocument.spreadsheetml.sheet");

} // namespace

TEST(SysInfo, TheDesktopsRegisteredSpreadsheetComesFirst) {
    DesktopDefaults desktop;
    ScratchDir bin;
    setAppSearchPath({bin.path()});
    makeProgram(bin, QStringLiteral("libreoffice"));
    makeProgram(bin, QStringLiteral("gnumeric"));
    makeProgram(bin, QStringLiteral("localc"));

    desktop.setDefault(kXlsx, QStringLiteral("org.gnome.Gnumeric.desktop"),
                       QStringLiteral("gnumeric"));
    ASSERT_EQ(FindAppRegistration(RegSpreadsheet), 0);
    EXPECT_EQ(AppExePath(), bin.file(QStringLiteral("gnumeric")));
    EXPECT_FALSE(isSpreadsheetProgram(QStringLiteral("gnumeric")));

    desktop.setDefault(kXlsx, QStringLiteral("libreoffice-calc.desktop"),
                       bin.file(QStringLiteral("libreoffice")) + QStringLiteral(" --calc"));
    ASSERT_EQ(FindAppRegistration(RegSpreadsheet), 0);
    EXPECT_EQ(AppExePath(), bin.file(QStringLiteral("libreoffice")));

    // An entry whose program is gone counts as no registration.
    desktop.setDefault(kXlsx, QStringLiteral("gone.desktop"), QStringLiteral("/nonexistent/calc"));
    ASSERT_EQ(FindAppRegistration(RegSpreadsheet), 0);
    EXPECT_EQ(AppExePath(), bin.file(QStringLiteral("localc"))) << "found on the path";
    setAppSearchPath({});
}

TEST(SysInfo, EnableLuaReadsOnlyA32BitNumber) {
    ShellFixture f;
    EXPECT_EQ(GetEnableLua(*f.ctx), -1);
    SettingsStore installer({f.machineStore(), QString(), QString()});
    installer.setMachineWritable(true);
    RegHandle key;
    ASSERT_EQ(installer.RegKeyCreate(
                  QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System"),
                  0, key),
              0);
    const qint32 one = 1;
    installer.RegValueSetRaw(key, QStringLiteral("EnableLUA"), RegType::Dword,
                             QByteArray(reinterpret_cast<const char*>(&one), 4));
    installer.RegKeyClose(key);
    f.reset();
    EXPECT_EQ(GetEnableLua(*f.ctx), 1);
}

TEST(SysInfo, ComponentCheckNamesWhatDoesNotLoad) {
    ScriptedMessagePresenter messages;
    clearComponentProbes();
    registerComponentProbe({QStringLiteral("dxs4"), [] { return true; }});
    CheckComponentRegistration();
    EXPECT_TRUE(messages.shown().isEmpty());
    registerComponentProbe({QStringLiteral("zipcomp"), [] { return false; }});
    CheckComponentRegistration();
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_TRUE(messages.shown().at(0).text.startsWith(
        QStringLiteral("ぴ～こぴこ電話帳１８の更新が完了していません。")));
    EXPECT_TRUE(messages.shown().at(0).text.contains(QStringLiteral("zipcomp")));
    EXPECT_FALSE(messages.shown().at(0).text.contains(QStringLiteral("dxs4")));
    clearComponentProbes();
}

TEST(SysInfo, TheRealComponentsAnswerTheirProbes) {
    // Each refuses an open with an empty record by an error code of its own.
    EXPECT_TRUE(probeDirectoryEngine());
    EXPECT_TRUE(probeAlternateEngine());
    EXPECT_TRUE(probePostalComponent());
    EXPECT_TRUE(probeNameDictionary());
    ScriptedMessagePresenter messages;
    clearComponentProbes();
    registerComponentProbes();
    CheckComponentRegistration();
    EXPECT_TRUE(messages.shown().isEmpty()) << messages.texts().join(u'|').toStdString();
    clearComponentProbes();
}

namespace {

void writeScript(const QString& path, const QByteArray& body) {
    QFile script(path);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\n" + body + "\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace

TEST(SysInfo, DesktopOpenerRefusesAFileNoProgramIsRegisteredFor) {
    ScratchDir bin;
    const QString opened = bin.file(QStringLiteral("opened"));
    writeScript(bin.file(QStringLiteral("xdg-open")), "echo \"$1\" > " + opened.toUtf8());
    const QByteArray path = qgetenv("PATH");
    const QByteArray browser = qgetenv("BROWSER");
    qputenv("PATH", bin.path().toUtf8() + ':' + path);
    qunsetenv("BROWSER");
    ShellFixture f;
    ContextOptions o;
    o.programFolder = f.programFolder();
    o.storePaths.user = f.userStore();
    AppContext ctx(o);
    const QString page = f.dir.file(QStringLiteral("page.html"));
    QFile file(page);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<html><body>x</body></html>");
    file.close();

    writeScript(bin.file(QStringLiteral("xdg-mime")), "true");
    EXPECT_FALSE(ctx.launcher().openWithDesktop(page)) << "no browser registered";
    writeScript(bin.file(QStringLiteral("xdg-mime")), "echo firefox-esr.desktop");
    EXPECT_TRUE(ctx.launcher().openWithDesktop(page));
    for (int i = 0; i < 100 && !QFile::exists(opened); ++i)
        QThread::msleep(20);
    EXPECT_TRUE(QFile::exists(opened)) << "handed to xdg-open";
    qputenv("PATH", path);
    if (!browser.isEmpty())
        qputenv("BROWSER", browser);
}
