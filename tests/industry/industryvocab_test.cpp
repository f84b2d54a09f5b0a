#include "search/industry/industryvocab.h"

#include <gtest/gtest.h>

using namespace pikotel::industry;

namespace {

const Industry& named(const char16_t* name) {
    const Industry* industry = findIndustry(name);
    EXPECT_NE(industry, nullptr);
    return *industry;
}

} // namespace

TEST(IndustryVocabulary, IndustriesInListOrderWithTheirKindsAndPatterns) {
    const auto industries = builtinIndustries();
    ASSERT_EQ(industries.size(), 49u);
    EXPECT_EQ(industries.front().name, u"コンビニ");
    EXPECT_EQ(industries[35].name, u"タクシー");
    EXPECT_EQ(industries.back().name, u"レンタカー");
    EXPECT_EQ(findIndustry(u"※ラーメン"), nullptr);

    EXPECT_EQ(searchPatterns(named(u"医院")), QStringList{QStringLiteral("*医院")});
    EXPECT_EQ(searchPatterns(named(u"テニス")), QStringList{QStringLiteral("*テニス*")});
    const QStringList restaurant = searchPatterns(named(u"飲食店"));
    ASSERT_EQ(restaurant.size(), 31);
    EXPECT_EQ(restaurant[8], QStringLiteral("*寿司*"));
    EXPECT_EQ(restaurant[10], QStringLiteral("*すし*"));
    EXPECT_EQ(restaurant[30], QStringLiteral("*うどん*"));
    EXPECT_EQ(searchPatterns(named(u"コンビニ"))[6], QStringLiteral("*サンクス\u3000*"));
}

TEST(IndustryVocabulary, ExclusionsDependOnThePatternNumber) {
    const Industry& golf = named(u"ゴルフ");
    EXPECT_TRUE(exclusionWords(golf, 1).contains(QStringLiteral("カントリー")));
    EXPECT_TRUE(exclusionWords(golf, 2).isEmpty());

    const Industry& transport = named(u"運送");
    EXPECT_FALSE(exclusionWords(transport, 3).contains(QStringLiteral("引越")));
    EXPECT_TRUE(exclusionWords(transport, 4).contains(QStringLiteral("引越")));
    EXPECT_FALSE(exclusionWords(transport, 5).contains(QStringLiteral("配送")));
    EXPECT_TRUE(exclusionWords(transport, 5).contains(QStringLiteral("引越")));
    EXPECT_EQ(exclusionWords(transport, 1).first(), QStringLiteral("組合"));

    // 飲食店: the common list first; pattern 4 has nothing else; 9 and 11 differ on "すし".
    const Industry& restaurant = named(u"飲食店");
    const QStringList common = exclusionWords(restaurant, 4);
    EXPECT_EQ(common.size(), 58);
    EXPECT_EQ(common.first(), QStringLiteral("連盟"));
    EXPECT_EQ(exclusionWords(restaurant, 9).mid(0, 58), common);
    EXPECT_TRUE(exclusionWords(restaurant, 9).contains(QStringLiteral("すし")));
    EXPECT_FALSE(exclusionWords(restaurant, 11).contains(QStringLiteral("すし")));
    EXPECT_TRUE(exclusionWords(restaurant, 11).contains(QStringLiteral("保養所")));
    // Rows for 17 to 24, 27 to 29 and 31 reach 31 but not 25 or 30.
    EXPECT_TRUE(exclusionWords(restaurant, 31).contains(QStringLiteral("製麺")));
    EXPECT_FALSE(exclusionWords(restaurant, 25).contains(QStringLiteral("製麺")));
    EXPECT_FALSE(exclusionWords(restaurant, 30).contains(QStringLiteral("製麺")));

    EXPECT_TRUE(exclusionWords(named(u"医院"), 1).isEmpty());
}
