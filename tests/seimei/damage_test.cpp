// Hand-broken images: the reader refuses each with its reason and never reads past the end
// (the asan build turns a stray read into a failure); a file that shrinks under an open
// handle stops answering instead of faulting.

#include "seimei/namedictionary.h"
#include "seimei/seimeitest.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace pikotel::seimei;
using namespace pikotel::seimei::test;

namespace {

Bytes bytesOf(const QByteArray& image) {
    return {reinterpret_cast<const std::uint8_t*>(image.constData()), std::size_t(image.size())};
}

OpenError openImage(const QByteArray& image, bool verifyChecksum = true) {
    NameDictionary dictionary;
    return dictionary.open(bytesOf(image), {verifyChecksum});
}

// The image with an integer of the given width replaced and the checksum made right again,
// so that the structural checks are what stands between the reader and the broken data.
QByteArray patched(QByteArray image, std::size_t at, std::uint64_t value, int width) {
    for (int i = 0; i < width; ++i)
        image[qsizetype(at) + i] = char((value >> (8 * i)) & 0xFF);
    const std::uint64_t sum = imageChecksum(bytesOf(image));
    for (int i = 0; i < 8; ++i)
        image[qsizetype(header::checksum) + i] = char((sum >> (8 * i)) & 0xFF);
    return image;
}

TEST(DamageTest, EveryTruncationAndEveryFlippedByteIsRefused) {
    const QByteArray image = buildImage(kNames);
    ASSERT_EQ(openImage(image), OpenError::None);
    for (qsizetype size = 0; size < image.size(); ++size)
        ASSERT_EQ(openImage(image.left(size)),
                  size < qsizetype(kHeaderSize) ? OpenError::TooShort : OpenError::BadHeader)
            << "size " << size;
    // One bit in every byte: the checksum notices, and without it nothing reads astray.
    for (qsizetype at = 0; at < image.size(); ++at) {
        QByteArray broken = image;
        broken[at] = char(broken[at] ^ 0x10);
        EXPECT_NE(openImage(broken), OpenError::None) << "byte " << at;
        NameDictionary dictionary;
        if (dictionary.open(bytesOf(broken), {false}) != OpenError::None)
            continue;
        for (std::uint32_t r = 0; r < dictionary.readingCount(); ++r) {
            const CandidateRange range = dictionary.find(dictionary.reading(r));
            CandidateView view;
            for (std::uint32_t c = 0; c < range.count; ++c)
                EXPECT_TRUE(dictionary.candidate(range.first + c, view));
        }
    }
}

TEST(DamageTest, FieldsThatDisagreeWithTheFileAreRefusedWithTheirReason) {
    const QByteArray image = buildImage(kNames);
    const std::size_t readings = kHeaderSize;
    const std::size_t candidates =
        readings + readU32(bytesOf(image), header::readingCount) * kReadingEntrySize;
    const std::uint32_t secondKey = readU32(bytesOf(image), readings + kReadingEntrySize);
    const struct {
        const char* what;
        std::size_t at;
        std::uint64_t value;
        int width;
        OpenError expected;
    } cases[] = {
        {"version", header::version, 2, 2, OpenError::UnsupportedVersion},
        // Counts large enough to overflow any unchecked size computation.
        {"reading count", header::readingCount, 0xFFFFFFFF, 4, OpenError::BadHeader},
        {"candidate count", header::candidateCount, 0xFFFFFFFF, 4, OpenError::BadHeader},
        {"text size", header::textSize, 0xFFFFFFFF, 4, OpenError::BadHeader},
        {"file size", header::fileSize, ~0ull, 8, OpenError::BadHeader},
        {"surname count", header::surnameCount, 0, 4, OpenError::BadHeader},
        {"padding", std::size_t(image.size()) - 1, 1, 1, OpenError::BadHeader},
        {"key outside the text", readings, 0xFFFFFFF0, 4, OpenError::BadReadings},
        {"keys out of order", readings, secondKey, 4, OpenError::BadReadings},
        {"candidates not contiguous", readings + kReadingEntrySize + 4, 0, 4,
         OpenError::BadReadings},
        {"form outside the text", candidates, 0xFFFFFFFF, 4, OpenError::BadCandidates},
        {"empty form", candidates + 4, 0, 2, OpenError::BadCandidates},
        // The first reading's first candidate is a surname.
        {"given name among the surnames", candidates + 6, 2, 1, OpenError::BadCandidates},
    };
    for (const auto& c : cases)
        EXPECT_EQ(openImage(patched(image, c.at, c.value, c.width)), c.expected) << c.what;

    QByteArray foreign = image;
    foreign[0] = 'X';
    EXPECT_EQ(openImage(foreign), OpenError::BadMagic);
    QByteArray flipped = image;
    flipped[qsizetype(header::checksum)] = char(flipped[qsizetype(header::checksum)] ^ 1);
    EXPECT_EQ(openImage(flipped), OpenError::Checksum);
    EXPECT_EQ(openImage(flipped, false), OpenError::None);
}

TEST(DamageTest, AFileThatShrinksUnderAnOpenHandleStopsAnswering) {
    const DictionaryFile file;
    int32_t handle = 0;
    ASSERT_EQ(openDictionary(file.path(), handle), 0);
    ASSERT_FALSE(lookup(handle, QStringLiteral("ｻﾄｳ")).empty());
    ASSERT_TRUE(QFile::resize(file.path(), 100));
    int32_t result = 0;
    EXPECT_TRUE(lookup(handle, QStringLiteral("ｻﾄｳ"), &result).empty());
    EXPECT_EQ(result, 5);
    EXPECT_EQ(HNameDB_Close(handle), 0);
}

} // namespace
