// The viewers: which program gets which arguments, names that a shell or an option parser
// would misread, a real process receiving such a name, the fallback editor, the failure
// message; and where the word processor and the spreadsheet are found.

#include "app/scriptedmessages.h"
#include "app/scriptedservices.h"
#include "app/sysinfo.h"
#include "results/viewers.h"
#include "shell/shellfixture.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

using namespace pikotel;
using namespace pikotel::test;

namespace {

const QString kCannotStart = QStringLiteral(
    "表示アプリケーションが起動できません。\r\nＷＩＮＤＯＷＳの設定を確認してください。");

struct Started {
    QString program;
    QStringList arguments;
};

class ArgumentLauncher final : public ProcessLauncher {
public:
    bool openWithDesktop(const QString& fileOrUrl) override {
        opened.append(fileOrUrl);
        return desktopOpens;
    }
    bool startDetached(const QString& program, const QStringList& arguments,
                       const QString&) override {
        started.append({program, arguments});
        return programsStart;
    }
    bool desktopOpens = true;
    bool programsStart = true;
    QStringList opened;
    QList<Started> started;
};

// Starts programs for real, as the installed program does.
class RealLauncher final : public ProcessLauncher {
public:
    bool openWithDesktop(const QString&) override { return false; }
    bool startDetached(const QString& program, const QStringList& arguments,
                       const QString& workingDir) override {
        return QProcess::startDetached(program, arguments, workingDir);
    }
};

void writeScript(const QString& path, const QByteArray& body) {
    QFile script(path);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\n" + body);
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

class Viewers : public ::testing::Test {
protected:
    Viewers() {
        auto d = std::make_unique<ScriptedFileDialogs>();
        dialogs = d.get();
        f.ctx->setFileDialogs(std::move(d));
        auto l = std::make_unique<ArgumentLauncher>();
        launcher = l.get();
        f.ctx->setLauncher(std::move(l));
    }
    ShellFixture f;
    ScriptedMessagePresenter messages;
    ScriptedFileDialogs* dialogs = nullptr;
    ArgumentLauncher* launcher = nullptr;
};

const QStringList& hostileNames() {
    static const QStringList names{QStringLiteral("-rf.csv"), QStringLiteral("a b \"c\".csv"),
                                   QStringLiteral("x;rm -rf ~.txt"),
                                   QStringLiteral("$(touch pwned).csv"),
                                   QStringLiteral("--writer=evil.csv")};
    return names;
}

TEST_F(Viewers, EveryNameIsOneAbsoluteArgument) {
    QDir::setCurrent(f.dir.path());
    f.ctx->env().setText(EnvKey::HideExe, QStringLiteral("WORDPAD"));
    f.ctx->env().setText(EnvKey::HideExePath, QStringLiteral("/usr/bin/soffice"));
    for (const QString& name : hostileNames()) {
        ASSERT_TRUE(startTextViewer(*f.ctx, ViewerWordPad, name));
        const Started& s = launcher->started.last();
        EXPECT_EQ(s.program, QStringLiteral("/usr/bin/soffice"));
        EXPECT_EQ(s.arguments,
                  (QStringList{QStringLiteral("--writer"),
                               QStringLiteral("--infilter=Text (encoded):MS_932,CRLF,,"),
                               f.dir.file(name)}));
        ASSERT_TRUE(startTextViewer(*f.ctx, ViewerNotePad, name));
        EXPECT_EQ(launcher->opened.last(), f.dir.file(name));
    }
    EXPECT_EQ(wordProcessorCommand(QStringLiteral("/usr/bin/abiword"), QStringLiteral("/t/-a.csv"))
                  .arguments,
              QStringList(QStringLiteral("/t/-a.csv")));
}

TEST_F(Viewers, ARealProgramReceivesTheNameUnread) {
    f.ctx->setLauncher(std::make_unique<RealLauncher>());
    const QString program = f.dir.file(QStringLiteral("abiword"));
    const QString record = f.dir.file(QStringLiteral("args.txt"));
    writeScript(program, "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"" +
                             QFile::encodeName(record) + ".tmp\"; mv \"" +
                             QFile::encodeName(record) + ".tmp\" \"" + QFile::encodeName(record) +
                             "\"\n");
    f.ctx->env().setText(EnvKey::HideExePath, program);
    const QString file = f.dir.file(QStringLiteral("$(touch pwned); -x \"q\".csv"));
    QDir::setCurrent(f.dir.path());
    ASSERT_TRUE(startTextViewer(*f.ctx, ViewerWordPad, file));
    QDeadlineTimer deadline(10000);
    while (!QFile::exists(record) && !deadline.hasExpired())
        QThread::msleep(20);
    QFile got(record);
    ASSERT_TRUE(got.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(got.readAll()), file + u'\n');
    EXPECT_FALSE(QFile::exists(f.dir.file(QStringLiteral("pwned"))));
}

TEST_F(Viewers, OutputFileOpensWithoutDialogAndAChosenOneOtherwise) {
    f.ctx->env().setText(EnvKey::OutFile, f.dir.file(QStringLiteral("out.csv")));
    ViewOutputFile(*f.ctx, nullptr);
    EXPECT_TRUE(dialogs->requests().isEmpty());
    EXPECT_EQ(launcher->opened, QStringList(f.dir.file(QStringLiteral("out.csv"))));

    f.ctx->env().setText(EnvKey::OutFile, QString());
    f.ctx->env().lastSaveDir = f.dir.path();
    f.ctx->env().lastSaveFile = QStringLiteral("last.csv");
    ViewOutputFile(*f.ctx, nullptr);
    ASSERT_EQ(dialogs->requests().size(), 1);
    EXPECT_EQ(dialogs->requests().constFirst().proposedName, QStringLiteral("last.csv"));
    EXPECT_EQ(dialogs->requests().constFirst().folder, f.dir.path());
    EXPECT_EQ(launcher->opened.size(), 1) << "a cancel opens nothing";
    EXPECT_TRUE(messages.texts().isEmpty());
}

TEST_F(Viewers, FallsBackToAnEditorOnPathAndSaysWhenNothingStarts) {
    const QByteArray path = qgetenv("PATH");
    const QString bin = f.dir.file(QStringLiteral("bin"));
    QDir().mkpath(bin);
    qputenv("PATH", QFile::encodeName(bin));
    f.ctx->env().setText(EnvKey::OutFile, f.dir.file(QStringLiteral("out.txt")));
    launcher->desktopOpens = false;

    ViewOutputFile(*f.ctx, nullptr);
    EXPECT_EQ(messages.texts(), QStringList(kCannotStart));

    writeScript(bin + QStringLiteral("/mousepad"), "exit 0\n");
    messages.clear();
    ViewOutputFile(*f.ctx, nullptr);
    EXPECT_TRUE(messages.texts().isEmpty());
    ASSERT_EQ(launcher->started.size(), 1);
    EXPECT_EQ(launcher->started.constFirst().program, bin + QStringLiteral("/mousepad"));
    EXPECT_EQ(launcher->started.constFirst().arguments,
              QStringList(f.dir.file(QStringLiteral("out.txt"))));

    f.ctx->env().setText(EnvKey::HideExe, QStringLiteral("WORDPAD"));
    f.ctx->env().setText(EnvKey::HideExePath, QStringLiteral("/nowhere/soffice"));
    launcher->programsStart = false;
    ViewOutputFile(*f.ctx, nullptr);
    EXPECT_EQ(messages.texts(), QStringList(kCannotStart));
    qputenv("PATH", path);
}

void makeProgram(const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
}

TEST(AppRegistration, LibreOfficeCountsForTheModulesItHasOnPathOrInItsFolders) {
    ScratchDir dir;
    const QString bin = dir.file(QStringLiteral("bin"));
    QDir().mkpath(bin);
    // A vendor package under /opt with Calc only.
    const QString opt = dir.file(QStringLiteral("opt/libreoffice7.6/program"));
    makeProgram(opt + QStringLiteral("/soffice"));
    makeProgram(opt + QStringLiteral("/libsclo.so"));
    setAppSearchPath({bin}, dir.path());
    EXPECT_EQ(FindAppRegistration(RegSpreadsheet), 0);
    EXPECT_EQ(AppExePath(), opt + QStringLiteral("/soffice"));
    EXPECT_EQ(FindAppRegistration(RegWordProcessor), 1);

    // The distribution's launcher on PATH links into its program folder, which has Writer.
    const QString distro = dir.file(QStringLiteral("usr/lib/libreoffice/program"));
    makeProgram(distro + QStringLiteral("/soffice"));
    makeProgram(distro + QStringLiteral("/libswlo.so"));
    ASSERT_TRUE(QFile::link(distro + QStringLiteral("/soffice"), bin + QStringLiteral("/soffice")));
    EXPECT_EQ(FindAppRegistration(RegWordProcessor), 0);
    EXPECT_EQ(AppExePath(), bin + QStringLiteral("/soffice"));
    EXPECT_EQ(FindAppRegistration(RegSpreadsheet), 0);
    EXPECT_EQ(AppExePath(), opt + QStringLiteral("/soffice")) << "PATH's office has no Calc";

    // Without a root of its own a test sees only its folders.
    setAppSearchPath({dir.file(QStringLiteral("empty"))});
    EXPECT_EQ(FindAppRegistration(RegSpreadsheet), 1);
    setAppSearchPath({});
}

} // namespace
