#include "jtext/cp932.h"

#include <gtest/gtest.h>

#include <string>

using namespace pikotel::jtext;

namespace {

std::string utf8Face(Cp932Codec& codec, const QString& text) {
    std::string out;
    codec.encode(text.toStdString(), out);
    return out;
}

} // namespace

TEST(Cp932Codec, BothFacesWriteOneQuestionMarkForEachCharacterCp932Lacks) {
    Cp932Codec codec;
    ASSERT_TRUE(codec.isValid());
    // A soft hyphen is default-ignorable: the converter alone would drop it without a trace.
    const QString lacking = QStringLiteral("a\u00AD😀ü") + QChar(0xD800) + QStringLiteral("b");
    EXPECT_EQ(codec.encode(lacking), QByteArray("a????b"));
    EXPECT_EQ(utf8Face(codec, lacking), "a????b");
    EXPECT_FALSE(codec.fits(lacking));
    EXPECT_TRUE(codec.fits(QStringLiteral("髙①〜−")));
    // The look-alikes of the wave dash and the minus sign, in either face.
    EXPECT_EQ(utf8Face(codec, QStringLiteral("〜−")), "\x81\x60\x81\x7C");
    EXPECT_EQ(codec.encode(QStringLiteral("〜−")), QByteArray("\x81\x60\x81\x7C"));
}

TEST(Cp932Codec, StrictDecodingRefusesWhatLenientDecodingReplaces) {
    Cp932Codec codec;
    std::string utf8;
    ASSERT_TRUE(codec.decode("\x82\xA0", utf8));
    EXPECT_EQ(utf8, "あ");
    EXPECT_EQ(codec.decode(QByteArrayView("\x82\xA0")), QStringLiteral("あ"));

    EXPECT_FALSE(codec.decode("\x85\x40", utf8)); // an unassigned double-byte code
    EXPECT_EQ(codec.decode(QByteArrayView("\x85\x40")), QString(QChar(0xFFFD)));
    EXPECT_FALSE(codec.decode("a\x81", utf8)); // cut after a lead byte
    EXPECT_EQ(codec.decode(QByteArrayView("a\x81")), QStringLiteral("a"));
    EXPECT_FALSE(codec.decode("\xA0", utf8));
    EXPECT_EQ(codec.decode(QByteArrayView("\xA0")), QString(QChar(0x1A)));
}

TEST(Cp932Forms, Utf8InPlaceAgreesWithTheTextForm) {
    const QString text = QStringLiteral("１〜４丁目−〜x");
    std::string utf8 = text.toStdString();
    withCp932FormsUtf8(utf8.data(), utf8.size());
    EXPECT_EQ(QString::fromStdString(utf8), withCp932Forms(text));
    EXPECT_EQ(withCp932Forms(text), QStringLiteral("１～４丁目－～x"));
}
