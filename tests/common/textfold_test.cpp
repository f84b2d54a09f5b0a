#include "common/textfold.h"

#include <gtest/gtest.h>

using namespace pikotel;

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
