#include "jtext/cp932.h"

#include <gtest/gtest.h>

#include <cstdint>
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

// Texts made only of characters cp932 has are converted by tables taken from the converter;
// one character cp932 lacks sends the whole text through the converter. Both ways must
// give the same bytes and characters, so each case is converted alone and behind such a
// character.
TEST(Cp932Codec, TablesAgreeWithTheConverterForEveryCharacterAndCode) {
    Cp932Codec codec;
    const QString lacking = QStringLiteral("\u00AD"); // becomes "?" through the converter
    for (std::uint32_t first = 0; first < 0x10000; first += 64) {
        QString chunk;
        for (std::uint32_t u = first; u < first + 64; ++u) {
            if (u < 0xD800 || u > 0xDFFF)
                chunk.append(QChar(static_cast<char16_t>(u)));
        }
        EXPECT_EQ("?" + codec.encode(chunk), codec.encode(lacking + chunk)) << first;
        EXPECT_EQ(utf8Face(codec, lacking + chunk),
                  utf8Face(codec, lacking) + utf8Face(codec, chunk))
            << first;
    }
    const QByteArray unassigned("\x85\x40"); // becomes U+FFFD through the converter
    for (int lead = 0; lead < 0x100; ++lead) {
        QByteArray codes;
        if (!isCp932LeadByte(static_cast<unsigned char>(lead)))
            codes.append(static_cast<char>(lead));
        else
            for (int trail = 0; trail < 0x100; ++trail)
                codes.append(static_cast<char>(lead)).append(static_cast<char>(trail));
        for (qsizetype at = 0; at < codes.size();) {
            const qsizetype size = isCp932LeadByte(static_cast<unsigned char>(codes[at])) ? 2 : 1;
            const QByteArray code = codes.mid(at, size);
            EXPECT_EQ(QChar(0xFFFD) + codec.decode(code), codec.decode(unassigned + code))
                << lead << " " << at;
            at += size;
        }
    }
    // Mixed texts, and a lead byte at the end after characters the tables hold.
    const QString mixed = QStringLiteral("ｶﾌｪ・レストラン①髙〜−ABC１２３\t");
    EXPECT_EQ(codec.decode(codec.encode(mixed)), withCp932Forms(mixed));
    EXPECT_EQ(codec.decode(codec.encode(mixed) + '\x81'), withCp932Forms(mixed));
    EXPECT_TRUE(codec.fits(mixed));
    EXPECT_FALSE(codec.fits(lacking));
    EXPECT_TRUE(codec.fits(mixed));
}
