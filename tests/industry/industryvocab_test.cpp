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

TEST(IndustryVocabulary, AWordThePatternItselfHoldsDoesNotApplyToItsHits) {
    // Under the loose comparison "らーめん" is "ラーメン": as a word of rule 17 it would drop
    // every listing pattern 17 finds. It is the only such word in the tables.
    const std::vector<SelfDefeatingWord> found = selfDefeatingWords();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].industry, u"飲食店");
    EXPECT_EQ(found[0].patternNo, 17);
    EXPECT_EQ(found[0].pattern, QStringLiteral("*ラーメン*"));
    EXPECT_EQ(found[0].word, QStringLiteral("らーめん"));

    const Industry& restaurant = named(u"飲食店");
    const QStringList for17 = applicableExclusionWords(restaurant, 17);
    EXPECT_FALSE(for17.contains(QStringLiteral("らーめん")));
    EXPECT_TRUE(for17.contains(QStringLiteral("スナック")));
    EXPECT_EQ(for17.size(), exclusionWords(restaurant, 17).size() - 1);
    EXPECT_TRUE(applicableExclusionWords(restaurant, 14).contains(QStringLiteral("らーめん")))
        << "other patterns keep the word";

    EXPECT_TRUE(defeatsPattern(QStringLiteral("ﾗｰﾒﾝ"), u"*ラーメン*"));
    EXPECT_TRUE(defeatsPattern(QStringLiteral("メン"), u"*ラーメン*")) << "part of the text";
    EXPECT_TRUE(defeatsPattern(QStringLiteral("PM"), u"*ａｍ*ｐｍ*"));
    EXPECT_FALSE(defeatsPattern(QStringLiteral("ａｍｐｍ"), u"*ａｍ*ｐｍ*"))
        << "a listing may hold other text where the pattern has a *";
    EXPECT_FALSE(defeatsPattern(QStringLiteral("ラーメン屋"), u"*ラーメン*"));
    EXPECT_FALSE(defeatsPattern(QString(), u"*ラーメン*"));
}
