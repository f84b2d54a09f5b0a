#include "search/industry/originalindustries.h"

#include "settings/regstore.h"
#include "shell/shellfixture.h"

#include <gtest/gtest.h>

using namespace pikotel;
using namespace pikotel::test;

namespace {

class OriginalStore : public ::testing::Test {
protected:
    // Every MRU value, name → text.
    QMap<QString, QString> stored() {
        RegValueListData list;
        f.ctx->store().RegValueList(1, kMruKey, list);
        QMap<QString, QString> values;
        for (const RegValuePair& p : list)
            values.insert(p.name, p.text);
        return values;
    }
    void setStored(const QString& name, const QString& text) {
        RegHandle key;
        MruKeyCreate(f.ctx->store(), key);
        f.ctx->store().RegValueSet(key, name, text);
        f.ctx->store().RegKeyClose(key);
    }
    static OriginalIndustry industry(const QString& name, const QStringList& targets,
                                     const QStringList& exclusions = {}) {
        return {name, targets, exclusions};
    }

    ShellFixture f;
    OriginalIndustries table{f.ctx->store()};
};

TEST_F(OriginalStore, TheFirstSaveWritesSlotZeroAndOnlyTheStringsThatAreSet) {
    table.load();
    EXPECT_EQ(table.highestSlot(), -1);
    EXPECT_EQ(table.saveNew(industry(QStringLiteral("ラーメン"),
                                     {QStringLiteral("ラーメン"), QStringLiteral("らーめん")},
                                     {QStringLiteral("スナック")})),
              0);
    const QMap<QString, QString> expected = {
        {QStringLiteral("GYOSHUSYBAN"), QStringLiteral("0")},
        {QStringLiteral("GYOSHUNM(0)"), QStringLiteral("ラーメン")},
        {QStringLiteral("GYOSHUGYOSHU"), QStringLiteral("※ラーメン")},
        {QStringLiteral("GYOSHUTARGET(0,0)"), QStringLiteral("ラーメン")},
        {QStringLiteral("GYOSHUTARGET(0,1)"), QStringLiteral("らーめん")},
        {QStringLiteral("GYOSHUNOTARGET(0,0)"), QStringLiteral("スナック")},
    };
    EXPECT_EQ(stored(), expected);

    OriginalIndustries again(f.ctx->store());
    again.load();
    EXPECT_EQ(again.slot(0).name, QStringLiteral("ラーメン"));
    EXPECT_EQ(again.slot(0).targets.size(), 2);
    EXPECT_EQ(again.slot(0).exclusions, QStringList{QStringLiteral("スナック")});
    EXPECT_TRUE(again.slot(1).name.isEmpty());
}

TEST_F(OriginalStore, DeletingMovesTheLaterSlotsDownAndTheLastOneLeavesAnEmptyCount) {
    for (const char* name : {"甲", "乙", "丙"})
        table.saveNew(industry(QString::fromUtf8(name),
                               {QString::fromUtf8(name) + QStringLiteral("店")},
                               {QString::fromUtf8(name) + QStringLiteral("部")}));
    table.remove(0);
    EXPECT_EQ(table.slot(0).name, QStringLiteral("乙"));
    EXPECT_EQ(table.slot(1).name, QStringLiteral("丙"));
    EXPECT_TRUE(table.slot(2).name.isEmpty());
    QMap<QString, QString> values = stored();
    EXPECT_EQ(values.value(QStringLiteral("GYOSHUSYBAN")), QStringLiteral("1"));
    EXPECT_EQ(values.value(QStringLiteral("GYOSHUNM(1)")), QStringLiteral("丙"));
    EXPECT_EQ(values.value(QStringLiteral("GYOSHUTARGET(1,0)")), QStringLiteral("丙店"));
    EXPECT_EQ(values.value(QStringLiteral("GYOSHUNOTARGET(0,0)")), QStringLiteral("乙部"));
    for (const QString& name : values.keys())
        EXPECT_FALSE(name.contains(QStringLiteral("(2"))) << qPrintable(name);

    table.remove(1);
    table.remove(0);
    values = stored();
    EXPECT_EQ(values.value(QStringLiteral("GYOSHUSYBAN"), QStringLiteral("<missing>")), QString());
    EXPECT_EQ(values.keys(),
              (QStringList{QStringLiteral("GYOSHUGYOSHU"), QStringLiteral("GYOSHUSYBAN")}));
    EXPECT_EQ(table.highestSlot(), -1);
}

TEST_F(OriginalStore, ModifyingKeepsTheSlotAndSixtyIsTheLimit) {
    for (int i = 0; i < 3; ++i)
        table.saveNew(industry(QStringLiteral("業種%1").arg(i), {QStringLiteral("対象")}));
    table.saveChanged(1, industry(QStringLiteral("改名"), {QStringLiteral("新しい対象")}));
    table.load();
    EXPECT_EQ(table.slot(1).name, QStringLiteral("改名"));
    EXPECT_EQ(table.slot(1).targets, QStringList{QStringLiteral("新しい対象")});
    EXPECT_EQ(table.highestSlot(), 2);

    for (int i = 3; i < OriginalIndustries::kMaxIndustries; ++i)
        EXPECT_EQ(
            table.saveNew(industry(QStringLiteral("業種%1").arg(i), {QStringLiteral("対象")})), i);
    EXPECT_EQ(table.saveNew(industry(QStringLiteral("六十一"), {QStringLiteral("対象")})), -1);
    EXPECT_EQ(stored().value(QStringLiteral("GYOSHUSYBAN")), QStringLiteral("59"));
    EXPECT_FALSE(stored().contains(QStringLiteral("GYOSHUNM(60)")));
}

TEST_F(OriginalStore, OddStoredValuesNeitherHideNorOverwriteAnIndustry) {
    // A count that is no number, a name past it, and a string stored after a gap.
    setStored(QStringLiteral("GYOSHUNM(0)"), QStringLiteral("甲"));
    setStored(QStringLiteral("GYOSHUTARGET(0,0)"), QStringLiteral("甲店"));
    setStored(QStringLiteral("GYOSHUTARGET(0,2)"), QStringLiteral("甲屋"));
    setStored(QStringLiteral("GYOSHUNM(1)"), QStringLiteral("乙"));
    setStored(QStringLiteral("GYOSHUSYBAN"), QStringLiteral("x"));
    table.load();
    EXPECT_EQ(table.slot(0).targets, (QStringList{QStringLiteral("甲店"), QStringLiteral("甲屋")}));
    EXPECT_EQ(table.slot(1).name, QStringLiteral("乙"));
    EXPECT_EQ(table.saveNew(industry(QStringLiteral("丙"), {QStringLiteral("丙")})), 2);

    setStored(QStringLiteral("GYOSHUSYBAN"), QStringLiteral("0"));
    EXPECT_EQ(table.highestSlot(), 2) << "names past the count still count";
    table.load();
    EXPECT_EQ(table.slot(2).name, QStringLiteral("丙"));
}

} // namespace
