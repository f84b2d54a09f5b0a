#include "app/scriptedmessages.h"
#include "settings/carryover.h"
#include "shell/shellfixture.h"

#include <QProcess>

#include <gtest/gtest.h>

using namespace pikotel;
using namespace pikotel::test;

namespace {

class CarryOverTest : public ::testing::Test {
protected:
    void put(const QString& key, const QString& name, const QString& text) {
        RegHandle h;
        ASSERT_EQ(f.ctx->store().RegKeyCreate(key, 1, h), 0);
        f.ctx->store().RegValueSet(h, name, text);
        f.ctx->store().RegKeyClose(h);
    }
    static QString key(const char* version) { return kProductKey + u'\\' + QLatin1String(version); }
    QString value(const QString& key, const QString& name) {
        RegHandle h;
        QString text = QStringLiteral("<missing>");
        if (f.ctx->store().RegKeyOpen(key, 1, h) == 0) {
            f.ctx->store().RegValueGet(h, name, text);
            f.ctx->store().RegKeyClose(h);
        }
        return text;
    }
    // Original industries 0..count-1 under the key, named by their number.
    void industries(const QString& mru, int count, const QString& prefix) {
        for (int i = 0; i < count; ++i) {
            put(mru, QStringLiteral("GYOSHUNM(%1)").arg(i), prefix + QString::number(i));
            put(mru, QStringLiteral("GYOSHUTARGET(%1,0)").arg(i), QStringLiteral("店"));
        }
        put(mru, QStringLiteral("GYOSHUSYBAN"), QString::number(count - 1));
    }

    ShellFixture f;
    ScriptedMessagePresenter messages;
    SettingsCarryOver carry{*f.ctx};
};

TEST_F(CarryOverTest, NothingEarlierIsSilent) {
    for (int kind : {0, 1, 2})
        EXPECT_EQ(carry.ImportOldSettings(kind), 0);
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(CarryOverTest, TheNewestVersionIsOfferedByItsName) {
    put(key("9.0"), QStringLiteral("OUTFILE"), QStringLiteral("/old.txt"));
    put(key("17.0"), QStringLiteral("OUTFILE"), QStringLiteral("/new.txt"));
    messages.answer(MsgResultNo);
    EXPECT_EQ(carry.ImportOldSettings(0), 0);
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("Ver.17の環境設定を移行できます。取り込みますか？")});
    EXPECT_EQ(value(kVersionKey, QStringLiteral("OUTFILE")), QStringLiteral("<missing>"))
        << "No carries nothing";
    EXPECT_EQ(SettingsCarryOver::versionName(QStringLiteral("16.5")), QStringLiteral("首都圏版"));
    EXPECT_EQ(SettingsCarryOver::versionName(QStringLiteral("7.2")),
              QStringLiteral("Ver.7 2003年度版"));
}

TEST_F(CarryOverTest, EnvironmentValuesAreCarriedByTheirRules) {
    const QString env = key("16.0");
    put(env, QStringLiteral("OUTFILE"), QStringLiteral("/home/u/古い.txt"));
    put(env, QStringLiteral("HIDEEXE"), QStringLiteral("WORDPAD"));
    put(env, QStringLiteral("HIDEEXEPATH"), QStringLiteral("/usr/bin/abiword"));
    put(env, QStringLiteral("DEFAULTTELUSE"), QStringLiteral("1"));
    put(env, QStringLiteral("DEFAULTTEL"), QStringLiteral("03"));
    put(env, QStringLiteral("OUTFORM"), QStringLiteral("2"));
    put(env, QStringLiteral("ANIME"), QStringLiteral("0"));
    put(env, QStringLiteral("BROWSER"), QStringLiteral("never carried"));
    messages.answer({MsgResultYes, MsgResultOk});
    EXPECT_EQ(carry.ImportOldSettings(0), 1);
    EXPECT_EQ(messages.texts().last(), QStringLiteral(" 環境設定の移行を完了しました。"));
    EXPECT_EQ(value(kVersionKey, QStringLiteral("OUTFILE")), QStringLiteral("/home/u/古い.txt"));
    EXPECT_EQ(value(kVersionKey, QStringLiteral("HIDEEXEPATH")),
              QStringLiteral("/usr/bin/abiword"));
    EXPECT_EQ(f.ctx->env().viewerKind, ViewerWordPad);
    EXPECT_EQ(value(kVersionKey, QStringLiteral("DEFAULTTELUSE")), QStringLiteral("1"));
    EXPECT_EQ(value(kVersionKey, QStringLiteral("DEFAULTTEL")), QString())
        << "an unused area code is not carried";
    EXPECT_EQ(value(kVersionKey, QStringLiteral("OUTFORM")), QStringLiteral("1"));
    EXPECT_EQ(value(kVersionKey, QStringLiteral("ANIME")), QStringLiteral("0"));
    EXPECT_EQ(value(kVersionKey, QStringLiteral("TELHIFON")), QStringLiteral("0"))
        << "absent reads as 0";
    EXPECT_EQ(value(kVersionKey, QStringLiteral("BROWSER")), QStringLiteral("<missing>"));
    EXPECT_EQ(f.ctx->env().text(EnvKey::OutForm), QStringLiteral("1"));

    // What a user or support sees of the carried values with the settings tool.
    QProcess tool;
    tool.start(QStringLiteral(PIKOTEL_REG_TOOL),
               {QStringLiteral("--user-store"), f.userStore(), QStringLiteral("--machine-store"),
                f.machineStore(), QStringLiteral("export"), QStringLiteral("HKCU"), kVersionKey});
    ASSERT_TRUE(tool.waitForFinished(30000));
    const QString exported = QString::fromUtf8(tool.readAllStandardOutput());
    EXPECT_TRUE(
        exported.contains(kVersionKey + QStringLiteral("\tOUTFILE\tREG_SZ\t/home/u/古い.txt\n")))
        << qPrintable(exported);
    EXPECT_TRUE(exported.contains(kVersionKey + QStringLiteral("\tOUTFORM\tREG_SZ\t1\n")));
    EXPECT_TRUE(exported.contains(kVersionKey + QStringLiteral("\tHIDEEXE\tREG_SZ\tWORDPAD\n")));
}

TEST_F(CarryOverTest, Version5WroteNotepadWithoutItsE) {
    put(key("5.0") + QStringLiteral("\\ZAKUROKOBO"), QStringLiteral("HIDEEXE"),
        QStringLiteral("NotPad"));
    OldEnvRecord record;
    carry.ReadOldEnvironment(QStringLiteral("5.0"), record);
    EXPECT_EQ(record.hideExe, QStringLiteral("NotePad"));
}

TEST_F(CarryOverTest, LayoutReplacesTheCurrentOne) {
    put(key("9.0") + QStringLiteral("\\ATE"), QStringLiteral("ATEMEISAI(0,0)"),
        QStringLiteral("名称"));
    put(kAteKey, QStringLiteral("ATEMEISAI(3,0)"), QStringLiteral("区域名"));
    messages.answer({MsgResultYes, MsgResultOk});
    EXPECT_EQ(carry.ImportOldSettings(1), 1);
    EXPECT_EQ(messages.texts().first(),
              QStringLiteral("Ver.9の出力形体設定を移行できます。取り込みますか？"));
    RegValueListData now;
    f.ctx->store().RegValueList(1, kAteKey, now);
    EXPECT_EQ(now, (RegValueListData{{QStringLiteral("ATEMEISAI(0,0)"), QStringLiteral("名称")}}));
    EXPECT_EQ(value(kVersionKey, QStringLiteral("IMPORT_ATE")), QStringLiteral("0"));
}

TEST_F(CarryOverTest, EarlierIndustriesFollowTheUsersOwn) {
    industries(key("12.0") + QStringLiteral("\\MRU"), 3, QStringLiteral("旧"));
    industries(kMruKey, 5, QStringLiteral("今"));
    messages.answer({MsgResultYes, MsgResultOk});
    EXPECT_EQ(carry.ImportOldSettings(2), 1);
    EXPECT_EQ(value(kMruKey, QStringLiteral("GYOSHUNM(5)")), QStringLiteral("旧0"));
    EXPECT_EQ(value(kMruKey, QStringLiteral("GYOSHUNM(7)")), QStringLiteral("旧2"));
    EXPECT_EQ(value(kMruKey, QStringLiteral("GYOSHUTARGET(7,0)")), QStringLiteral("店"));
    EXPECT_EQ(value(kMruKey, QStringLiteral("GYOSHUNM(4)")), QStringLiteral("今4"));
    EXPECT_EQ(value(kMruKey, QStringLiteral("GYOSHUSYBAN")), QStringLiteral("7"));
}

TEST_F(CarryOverTest, IndustriesPastTheSixtiethAreLost) {
    industries(key("12.0") + QStringLiteral("\\MRU"), 4, QStringLiteral("旧"));
    industries(kMruKey, 58, QStringLiteral("今"));
    EXPECT_TRUE(carry.MergeOldGyoshu(QStringLiteral("12.0")));
    EXPECT_EQ(value(kMruKey, QStringLiteral("GYOSHUNM(58)")), QStringLiteral("旧0"));
    EXPECT_EQ(value(kMruKey, QStringLiteral("GYOSHUNM(59)")), QStringLiteral("旧1"));
    EXPECT_EQ(value(kMruKey, QStringLiteral("GYOSHUNM(60)")), QStringLiteral("<missing>"));
    EXPECT_EQ(value(kMruKey, QStringLiteral("GYOSHUSYBAN")), QStringLiteral("59"));
}

} // namespace
