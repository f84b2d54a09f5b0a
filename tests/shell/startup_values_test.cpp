#include "app/scriptedmessages.h"
#include "app/startupvalues.h"
#include "settings/envsave.h"
#include "shell/shellfixture.h"

#include <gtest/gtest.h>

using namespace pikotel;
using namespace pikotel::test;

namespace {
const QString kSecondLine =
    QStringLiteral("ぴ～こぴこ電話帳をアンインストールして再度インストールしなおしてください。");
}

TEST(LoadEnvironment, UnusableInstallationRecordEndsWithItsMessage) {
    struct Case {
        std::optional<QString> dicDrive;
        QString firstLine;
    };
    const Case cases[] = {
        {std::nullopt, QStringLiteral("ぴ～こぴこ電話帳辞書情報が存在しません。")},
        {QStringLiteral("2"),
         QStringLiteral("ぴ～こぴこ電話帳辞書情報で、ＨＤ・ＣＤ－ＲＯＭ情報が取得できません。")},
        {QString(),
         QStringLiteral("ぴ～こぴこ電話帳辞書情報で、ＨＤ・ＣＤ－ＲＯＭ情報が取得できません。")},
    };
    for (const Case& c : cases) {
        ShellFixture f(c.dicDrive);
        ScriptedMessagePresenter messages;
        EXPECT_EQ(LoadEnvironment(*f.ctx), EnvUnusable);
        ASSERT_EQ(messages.shown().size(), 1);
        EXPECT_EQ(messages.shown().at(0).text, c.firstLine + QStringLiteral("\r\n") + kSecondLine);
        EXPECT_EQ(messages.shown().at(0).style, MsgOk);
        EXPECT_EQ(messages.shown().at(0).caption, kAppTitle);
        EXPECT_FALSE(QFile::exists(f.userStore())) << "nothing may be written";
    }
}

TEST(LoadEnvironment, MissingDicDriveValueHasItsOwnMessage) {
    ShellFixture f(std::nullopt);
    {
        SettingsStore installer({f.machineStore(), QString(), QString()});
        installer.setMachineWritable(true);
        RegHandle key;
        installer.RegKeyCreate(kVersionKey, 0, key);
        installer.RegValueSet(key, QStringLiteral("UpdateURL"),
                              QStringLiteral("https://example.jp/"));
        installer.RegKeyClose(key);
    }
    f.reset();
    ScriptedMessagePresenter messages;
    EXPECT_EQ(LoadEnvironment(*f.ctx), EnvUnusable);
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("ぴ～こぴこ電話帳辞書情報が取得できません。\r\n") +
                          kSecondLine});
}

TEST(LoadEnvironment, FirstRunWithoutUserRecordOrCdDrive) {
    ShellFixture f;
    ScriptedMessagePresenter messages;
    EXPECT_EQ(LoadEnvironment(*f.ctx), EnvFirstRun);
    EXPECT_TRUE(f.ctx->env().hddInstalled);

    f.setUser(QStringLiteral("OUTFILE"), QStringLiteral("/tmp/x.txt"));
    f.setUser(QStringLiteral("CDDRIVE"), QString());
    f.reset();
    EXPECT_EQ(LoadEnvironment(*f.ctx), EnvFirstRun);
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST(LoadEnvironment, UserDicDriveOverridesOnlyAHardDiskInstallation) {
    for (const auto& [machine, user, expected] :
         {std::tuple{"0", "1", "1"}, std::tuple{"1", "0", "1"}, std::tuple{"0", "", "0"}}) {
        ShellFixture f(QString::fromLatin1(machine));
        f.setUser(QStringLiteral("DICDRIVE"), QString::fromLatin1(user));
        f.setUser(QStringLiteral("CDDRIVE"), QStringLiteral("/media/cdrom/"));
        f.reset();
        EXPECT_EQ(LoadEnvironment(*f.ctx), EnvLoaded);
        EXPECT_EQ(f.ctx->env().text(EnvKey::DicDrive), QString::fromLatin1(expected))
            << machine << "/" << user;
    }
}

TEST(LoadEnvironment, ReadsValuesAndDerivesNumbers) {
    ShellFixture f;
    f.setUser(QStringLiteral("CDDRIVE"), QStringLiteral("/media/cdrom/"));
    f.setUser(QStringLiteral("HIDEEXE"), QStringLiteral("Excel2007"));
    f.setUser(QStringLiteral("STARTUPFORM"), QStringLiteral("abc"));
    f.setUser(QStringLiteral("OUTFORM"), QStringLiteral("1"));
    f.setUser(QStringLiteral("ZIPMARK"), QStringLiteral("x"));
    f.reset();

    EXPECT_EQ(LoadEnvironment(*f.ctx), EnvLoaded);
    EXPECT_EQ(f.ctx->env().viewerKind, ViewerExcel2007);
    EXPECT_EQ(f.ctx->env().startUpFormNo, 0);
    EXPECT_EQ(f.ctx->env().choice(EnvKey::OutForm), 1);
    EXPECT_EQ(f.ctx->env().choice(EnvKey::ZipMark), 1)
        << "a switch other than 0 is its second choice";
    EXPECT_EQ(f.ctx->env().initialCdRoot, QStringLiteral("/media/cdrom/"));
}

TEST(LoadEnvironment, ViewerNameInAnotherLetterCaseLeavesViewerKind) {
    ShellFixture f;
    f.setUser(QStringLiteral("CDDRIVE"), QStringLiteral("/media/cdrom/"));
    f.setUser(QStringLiteral("HIDEEXE"), QStringLiteral("notepad"));
    f.reset();
    f.ctx->env().viewerKind = ViewerWordPad;
    EXPECT_EQ(LoadEnvironment(*f.ctx), EnvLoaded);
    EXPECT_EQ(f.ctx->env().viewerKind, ViewerWordPad);
}

TEST(StartUpPosition, RoundTripsAndReportsWhatIsMissing) {
    ShellFixture f;
    EXPECT_NE(LoadStartUpPosition(*f.ctx), 0);
    EXPECT_EQ(SaveStartUpPosition(*f.ctx, 200, 1425), 0);
    EXPECT_EQ(f.user(QStringLiteral("StartUpPosition_X")), QStringLiteral("1425"));
    EXPECT_EQ(f.user(QStringLiteral("StartUpPosition_Y")), QStringLiteral("200"));
    f.reset();
    EXPECT_EQ(LoadStartUpPosition(*f.ctx), 0);
    EXPECT_EQ(f.ctx->shell().startUpPosX, 1425.0f);
    EXPECT_EQ(f.ctx->shell().startUpPosY, 200.0f);

    f.setUser(QStringLiteral("StartUpPosition_X"), QStringLiteral("wide"));
    EXPECT_EQ(LoadStartUpPosition(*f.ctx), 0);
    EXPECT_EQ(f.ctx->shell().startUpPosX, 0.0f);
    EXPECT_EQ(singleToText(-100.5f), QStringLiteral("-100.5"));
}

TEST(LastForm, MissingNonNumericAndSaved) {
    ShellFixture f;
    f.ctx->shell().lastFormNo = 4;
    EXPECT_EQ(LoadLastForm(*f.ctx), 1);
    EXPECT_EQ(f.ctx->shell().lastFormNo, 4);
    f.setUser(QStringLiteral("LASTFORM"), QStringLiteral("zz"));
    EXPECT_EQ(LoadLastForm(*f.ctx), 0);
    EXPECT_EQ(f.ctx->shell().lastFormNo, 0);
    EXPECT_EQ(SaveLastForm(*f.ctx, 3), 0);
    EXPECT_EQ(LoadLastForm(*f.ctx), 0);
    EXPECT_EQ(f.ctx->shell().lastFormNo, 3);
}

TEST(SilentFirstSave, WritesExactlyTheFirstRunValuesInOrder) {
    ShellFixture f;
    f.installDictionary();
    ScriptedMessagePresenter messages;
    ASSERT_EQ(LoadEnvironment(*f.ctx), EnvFirstRun);
    f.ctx->env().setText(EnvKey::OutFile, QStringLiteral("/home/u/Documents/電話帳テキスト.txt"));
    SilentFirstSave(*f.ctx);

    using P = QPair<QString, QString>;
    const QList<P> expected = {
        P{QStringLiteral("DICDRIVE"), QStringLiteral("0")},
        P{QStringLiteral("CDDRIVE"), QStringLiteral("/media/cdrom/")},
        P{QStringLiteral("XCHDBADD"), QString()},
        P{QStringLiteral("OUTFILE"), QStringLiteral("/home/u/Documents/電話帳テキスト.txt")},
        P{QStringLiteral("HIDEEXE"), QStringLiteral("NotePad")},
        P{QStringLiteral("HIDEEXEPATH"), QString()},
        P{QStringLiteral("DEFAULTTELUSE"), QStringLiteral("1")},
        P{QStringLiteral("DEFAULTTEL"), QString()},
        P{QStringLiteral("BEFOREEXEC"), QStringLiteral("0")},
        P{QStringLiteral("SEIMEI"), QStringLiteral("0")},
        P{QStringLiteral("ANIME"), QStringLiteral("0")},
        P{QStringLiteral("OUTFORM"), QStringLiteral("0")},
        P{QStringLiteral("TELHIFON"), QStringLiteral("0")},
        P{QStringLiteral("ZIPHIFON"), QStringLiteral("0")},
        P{QStringLiteral("ZIPMARK"), QStringLiteral("0")},
        P{QStringLiteral("IMPORT"), QStringLiteral("0")},
        P{QStringLiteral("IMPORT_ATE"), QStringLiteral("0")},
        P{QStringLiteral("IMPORT_MRU"), QStringLiteral("0")},
        P{QStringLiteral("STARTUPFORM"), QStringLiteral("0")},
    };
    EXPECT_EQ(f.userValues(), expected);
    for (const EnvValueDef& def : envSchema()) {
        if (def.firstRun == FirstRunRule::Fixed) {
            EXPECT_EQ(f.user(envName(def.key)), QString::fromLatin1(def.firstRunText)) << def.name;
        } else if (def.firstRun == FirstRunRule::NotWritten) {
            EXPECT_EQ(f.user(envName(def.key)), QStringLiteral("<missing>")) << def.name;
        }
    }
    EXPECT_EQ(f.ctx->env().lastSaveDir, QStringLiteral("/home/u/Documents"));
    EXPECT_EQ(f.ctx->env().text(EnvKey::DefaultTelUse), QStringLiteral("1"));
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST(PikoTelRegSet, StoresDigitsOfTheDefaultAreaCodeAndFollowsTheViewer) {
    ShellFixture f;
    EnvFormValues v;
    v.dicOnHdd = false;
    v.cdDriveRoot = QStringLiteral("/media/cdrom1/");
    v.defaultTel = QStringLiteral("03-12|memo");
    v.hideExe = QStringLiteral("Excel2007");
    v.spreadsheetPath = QStringLiteral("/usr/bin/soffice");
    v.startUpForm = 5;
    RegHandle key;
    ASSERT_EQ(PikoTelRegcreate(*f.ctx, key), 0);
    EXPECT_EQ(PikoTelRegSet(*f.ctx, key, v, QStringLiteral("メイン")), 0);
    f.ctx->store().RegKeyClose(key);
    EXPECT_EQ(f.user(QStringLiteral("DICDRIVE")), QStringLiteral("1"));
    EXPECT_EQ(f.user(QStringLiteral("CDDRIVE")), QStringLiteral("/media/cdrom1/"));
    EXPECT_EQ(f.user(QStringLiteral("DEFAULTTEL")), QStringLiteral("0312"));
    EXPECT_EQ(f.user(QStringLiteral("HIDEEXEPATH")), QStringLiteral("/usr/bin/soffice"));
    EXPECT_EQ(f.user(QStringLiteral("STARTUPFORM")), QStringLiteral("5"));
    EXPECT_EQ(f.ctx->env().viewerKind, ViewerExcel2007);
    EXPECT_EQ(f.ctx->env().startUpFormNo, 5);
}
