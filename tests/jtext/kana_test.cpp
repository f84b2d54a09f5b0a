#include "jtext/kana.h"

#include <gtest/gtest.h>

using namespace pikotel::jtext;

TEST(Kana, WidthConversion) {
    EXPECT_EQ(toFullWidth(QStringLiteral("ｶﾞｯｺｳ ABC123")),
              QStringLiteral("ガッコウ　ＡＢＣ１２３"));
    EXPECT_EQ(toHalfWidth(QStringLiteral("ＡＢＣ１２３")), QStringLiteral("ABC123"));
}

TEST(Kana, KanaConversion) {
    EXPECT_EQ(hiraganaToKatakana(QStringLiteral("らーめん")), QStringLiteral("ラーメン"));
    EXPECT_EQ(katakanaToHiragana(QStringLiteral("ラーメン")), QStringLiteral("らーめん"));
    EXPECT_EQ(katakanaToHiragana(QStringLiteral("ヴァヽヾヶ")), QStringLiteral("ゔぁゝゞゖ"));
    EXPECT_EQ(hiraganaToKatakana(QStringLiteral("ゔぁゝゞゖ・漢字")),
              QStringLiteral("ヴァヽヾヶ・漢字"));
}
