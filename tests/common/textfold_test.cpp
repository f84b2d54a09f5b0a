#include "common/textfold.h"

#include <gtest/gtest.h>

using namespace pikotel;

TEST(TextFold, WidthConversion) {
    EXPECT_EQ(toFullWidth(QStringLiteral("ｶﾞｯｺｳ ABC123")), QStringLiteral("ガッコウ　ＡＢＣ１２３"));
    EXPECT_EQ(toHalfWidth(QStringLiteral("ＡＢＣ１２３")), QStringLiteral("ABC123"));
}

TEST(TextFold, KanaConversion) {
    EXPECT_EQ(hiraganaToKatakana(QStringLiteral("らーめん")), QStringLiteral("ラーメン"));
    EXPECT_EQ(katakanaToHiragana(QStringLiteral("ラーメン")), QStringLiteral("らーめん"));
    EXPECT_EQ(katakanaToHiragana(QStringLiteral("ヴァヽヾヶ")), QStringLiteral("ゔぁゝゞゖ"));
    EXPECT_EQ(hiraganaToKatakana(QStringLiteral("ゔぁゝゞゖ・漢字")), QStringLiteral("ヴァヽヾヶ・漢字"));
}

TEST(TextFold, ContainsIgnoresCaseWidthAndKanaKind) {
    EXPECT_TRUE(textContains(QStringLiteral("らーめん太郎"), QStringLiteral("ラーメン")));
    EXPECT_TRUE(textContains(QStringLiteral("ﾗｰﾒﾝ太郎"), QStringLiteral("らーめん")));
    EXPECT_TRUE(textContains(QStringLiteral("ＣＡＦＥ　ｍｏｃｈａ"), QStringLiteral("cafe")));
    EXPECT_TRUE(textContains(QStringLiteral("ｶﾞｽ会社"), QStringLiteral("ガス")));
    EXPECT_FALSE(textContains(QStringLiteral("カス会社"), QStringLiteral("ガス")));
    EXPECT_TRUE(textContains(QStringLiteral("何でも"), QString()));
    EXPECT_EQ(textCompare(QStringLiteral("ａｂｃ"), QStringLiteral("ABC")), 0);
    EXPECT_NE(textCompare(QStringLiteral("abc"), QStringLiteral("abd")), 0);
}
