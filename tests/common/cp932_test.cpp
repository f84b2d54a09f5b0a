#include "common/cp932.h"

#include <gtest/gtest.h>

using namespace pikotel;

TEST(Cp932, RoundTripsVendorCharacters) {
    const QString text = QStringLiteral("髙橋①～㈱ｶﾅ");
    EXPECT_TRUE(fitsCp932(text));
    EXPECT_EQ(fromCp932(toCp932(text)), text);
}

TEST(Cp932, WaveDashAndMinusBecomeTheirCp932Forms) {
    EXPECT_EQ(toCp932(QString(QChar(0x301C))), toCp932(QString(QChar(0xFF5E))));
    EXPECT_EQ(toCp932(QString(QChar(0x2212))), toCp932(QString(QChar(0xFF0D))));
    EXPECT_EQ(toCp932(QString(QChar(0xFF5E))), QByteArray("\x81\x60"));
    EXPECT_TRUE(fitsCp932(QStringLiteral("１〜４丁目")));
}

TEST(Cp932, CharactersWithoutACp932FormBecomeAQuestionMark) {
    EXPECT_FALSE(fitsCp932(QStringLiteral("😀")));
    EXPECT_FALSE(fitsCp932(QStringLiteral("𠮷")));
    EXPECT_EQ(toCp932(QStringLiteral("a😀ü山")), QByteArray("a??") + toCp932(QStringLiteral("山")));
}

TEST(Cp932, CutsOnlyAtCharacterBoundaries) {
    const QByteArray bytes = toCp932(QStringLiteral("aあいb"));
    ASSERT_EQ(bytes.size(), 6);
    EXPECT_EQ(cp932CutAtBoundary(bytes, 2), QByteArray("a"));
    EXPECT_EQ(cp932CutAtBoundary(bytes, 3), bytes.left(3));
    EXPECT_EQ(cp932CutAtBoundary(bytes, 100), bytes);
    // A lead byte without its trail byte is dropped rather than split.
    EXPECT_EQ(cp932CutAtBoundary(bytes.left(4), 4), bytes.left(3));
}
