#include "app/startupvalues.h"
#include "results/clskekka3.h"
#include "results/outputlayout.h"
#include "results/resultrecord.h"
#include "shell/shellfixture.h"

#include <gtest/gtest.h>

using namespace pikotel;
using namespace pikotel::test;

namespace {

OutFileInfo layoutOf(std::initializer_list<std::pair<int, QStringList>> columns) {
    OutFileInfo layout;
    for (const auto& [i, items] : columns) {
        for (qsizetype j = 0; j < items.size(); ++j)
            layout[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] = items.at(j);
    }
    return layout;
}

const ResultRecord kRecord{7,
                           QStringLiteral(" 03-3456-7890 "),
                           QStringLiteral("山田　太郎"),
                           QStringLiteral("〒160-0022"),
                           QStringLiteral("東京都"),
                           QStringLiteral("新宿区"),
                           QStringLiteral("新宿"),
                           QStringLiteral("３丁目")};

} // namespace

TEST(ResultController, EmptyLayoutBecomesTheDefaultWithFiveColumns) {
    clsKekka3 k;
    EXPECT_EQ(k.Grid_Cols(), 0);
    ASSERT_TRUE(k.OutFileInfo_Set(OutFileInfo{}));
    EXPECT_EQ(k.Grid_Cols(), 5);
    EXPECT_EQ(
        k.Grid_AddField(),
        (QStringList{QStringLiteral("電話番号"), QStringLiteral("名称"), QStringLiteral("郵便番号"),
                     QStringLiteral("都道府県 + 市区町村"), QStringLiteral("町域名 + 区域名")}));
    EXPECT_EQ(k.Grid_AddData(kRecord),
              (QStringList{QStringLiteral("03-3456-7890"), QStringLiteral("山田　太郎"),
                           QStringLiteral("160-0022"), QStringLiteral("東京都新宿区"),
                           QStringLiteral("新宿３丁目")}));
    EXPECT_EQ(k.rowCounter(), 1);
    OutFileInfo back;
    k.OutFileInfo_Get(back);
    EXPECT_EQ(back, defaultLayout());
}

TEST(ResultController, BlankMiddleColumnStaysBlank) {
    clsKekka3 k;
    k.OutFileInfo_Set(layoutOf({{0, {QStringLiteral("名称")}},
                                {2, {QStringLiteral("区域名"), QStringLiteral("電話番号")}}}));
    EXPECT_EQ(k.Grid_Cols(), 3);
    EXPECT_EQ(k.Grid_AddField(), (QStringList{QStringLiteral("名称"), QString(),
                                              QStringLiteral("区域名 + 電話番号")}));
    EXPECT_EQ(k.Grid_AddData(kRecord), (QStringList{QStringLiteral("山田　太郎"), QString(),
                                                    QStringLiteral("３丁目03-3456-7890")}));
}

TEST(ResultController, ReadRulesOfTheRememberedValues) {
    clsKekka3 k;
    EXPECT_EQ(k.Grid_SortCol(), 1);
    EXPECT_EQ(k.Form_Width(), 12000);
    EXPECT_EQ(k.Form_Height(), 8295);
    k.setGrid_SortCol(-3);
    k.setGrid_SortType(5);
    k.setForm_Width(9000);
    k.setForm_Height(20000);
    EXPECT_EQ(k.Grid_SortCol(), 1);
    EXPECT_EQ(k.Grid_SortType(), 0);
    EXPECT_EQ(k.Form_Width(), 12000);
    EXPECT_EQ(k.Form_Height(), 20000);
    k.setTel_Hifon(2);
    k.setZip_Mark(1);
    EXPECT_EQ(k.Tel_Hifon(), 0) << "only 1 turns an option on";
    EXPECT_EQ(k.Zip_Mark(), 1);
}

TEST(ResultController, HyphenAndMarkOptions) {
    clsKekka3 k;
    k.OutFileInfo_Set(
        layoutOf({{0, {QStringLiteral("電話番号")}}, {1, {QStringLiteral("郵便番号")}}}));
    k.setZip_Mark(1);
    EXPECT_EQ(k.Grid_AddData(QStringLiteral("03-1"), {}, {}, {}, {}, {}, {}),
              (QStringList{QStringLiteral("03-1"), QStringLiteral("〒")}))
        << "an empty code shows the mark alone";
    k.setTel_Hifon(1);
    k.setZip_Hifon(1);
    EXPECT_EQ(k.Grid_AddData(kRecord),
              (QStringList{QStringLiteral("0334567890"), QStringLiteral("〒1600022")}));
    k.setZip_Mark(0);
    k.setZip_Hifon(0);
    EXPECT_EQ(k.Grid_AddData(kRecord).at(1), QStringLiteral("160-0022"))
        << "a mark the search delivered is dropped";
}

TEST(OutputLayout, SavedLayoutKeepsOnlyPlacedItems) {
    ShellFixture f;
    const OutFileInfo first = layoutOf({{0, {QStringLiteral("名称"), QStringLiteral("電話番号")}},
                                        {3, {QStringLiteral("都道府県")}}});
    ASSERT_TRUE(SaveOutputLayout(f.ctx->store(), first));
    EXPECT_EQ(LoadOutputLayout(f.ctx->store()), first);
    const OutFileInfo second = layoutOf({{1, {QStringLiteral("区域名")}}});
    ASSERT_TRUE(SaveOutputLayout(f.ctx->store(), second));
    RegValueListData stored;
    f.ctx->store().RegValueList(1, kAteKey, stored);
    ASSERT_EQ(stored.size(), 1);
    EXPECT_EQ(stored.at(0).name, QStringLiteral("ATEMEISAI(1,0)"));
    EXPECT_EQ(stored.at(0).text, QStringLiteral("区域名"));
    ASSERT_TRUE(SaveOutputLayout(f.ctx->store(), OutFileInfo{}));
    stored.clear();
    f.ctx->store().RegValueList(1, kAteKey, stored);
    EXPECT_TRUE(stored.isEmpty());
}

TEST(OutputLayout, AddressOrder) {
    const QString pref = QStringLiteral("都道府県"), city = QStringLiteral("市区町村"),
                  town = QStringLiteral("町域名"), block = QStringLiteral("区域名");
    EXPECT_TRUE(addressOrderAccepted(OutFileInfo{}));
    EXPECT_TRUE(addressOrderAccepted(layoutOf({{0, {pref, city}}, {2, {town}}, {4, {block}}})));
    EXPECT_TRUE(addressOrderAccepted(layoutOf({{0, {QStringLiteral("名称"), city, town, block}}})));
    EXPECT_TRUE(addressOrderAccepted(layoutOf({{0, {QStringLiteral("名称")}}})));
    EXPECT_FALSE(addressOrderAccepted(layoutOf({{0, {pref, city}}})));
    EXPECT_FALSE(addressOrderAccepted(layoutOf({{0, {city}}, {1, {pref, town, block}}})));
}

TEST(ResultController, StartUpHandsTheStoredLayoutAndOptions) {
    ShellFixture f;
    f.setUser(QStringLiteral("CDDRIVE"), QStringLiteral("/media/cdrom/"));
    f.setUser(QStringLiteral("OUTFORM"), QStringLiteral("1"));
    f.setUser(QStringLiteral("ZIPMARK"), QStringLiteral("1"));
    SaveOutputLayout(f.ctx->store(), layoutOf({{1, {QStringLiteral("名称")}}}));
    f.reset();
    ASSERT_EQ(LoadEnvironment(*f.ctx), EnvLoaded);
    EXPECT_EQ(f.ctx->kekka().Grid_Cols(), 2);
    EXPECT_EQ(f.ctx->kekka().CSV_Type(), 1);
    EXPECT_EQ(f.ctx->kekka().Zip_Mark(), 1);
    EXPECT_EQ(f.ctx->kekka().Tel_Hifon(), 0);
}
