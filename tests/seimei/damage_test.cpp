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
    OpenOptions options;
    options.verifyChecksum = verifyChecksum;
    const OpenError error = dictionary.open(bytesOf(image), options);
    EXPECT_EQ(dictionary.isOpen(), error == OpenError::None);
    return error;
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

class DamageTest : public ::testing::Test {
protected:
    void SetUp() override {
        image = buildImage(kNames);
        ASSERT_EQ(openImage(image), OpenError::None);
        readingCount = readU32(bytesOf(image), header::readingCount);
        candidates = kHeaderSize + std::size_t(readingCount) * kReadingEntrySize;
    }

    // Offsets of entry fields.
    std::size_t readingField(std::uint32_t index, std::size_t field) const {
        return kHeaderSize + index * kReadingEntrySize + field;
    }
    std::size_t candidateField(std::uint32_t index, std::size_t field) const {
        return candidates + index * kCandidateEntrySize + field;
    }

    QByteArray image;
    std::uint32_t readingCount = 0;
    std::size_t candidates = 0;
};

TEST_F(DamageTest, EveryTruncationAndEveryFlippedByteIsRefused) {
    for (qsizetype size = 0; size < image.size(); ++size) {
        const OpenError error = openImage(image.left(size));
        ASSERT_EQ(error, size < qsizetype(kHeaderSize) ? OpenError::TooShort : OpenError::BadHeader)
            << "size " << size;
    }
    // One bit in every byte: the checksum notices, and without it nothing reads astray.
    for (qsizetype at = qsizetype(header::version); at < image.size(); ++at) {
        QByteArray broken = image;
        broken[at] = char(broken[at] ^ 0x10);
        EXPECT_NE(openImage(broken), OpenError::None) << "byte " << at;
        NameDictionary dictionary;
        if (dictionary.open(bytesOf(broken), {false}) == OpenError::None) {
            for (std::uint32_t r = 0; r < dictionary.readingCount(); ++r) {
                const CandidateRange range = dictionary.find(dictionary.reading(r));
                CandidateView view;
                for (std::uint32_t c = 0; c < range.count; ++c)
                    EXPECT_TRUE(dictionary.candidate(range.first + c, view));
            }
        }
    }
}

TEST_F(DamageTest, ForeignAndOtherVersionFilesAreNamedSo) {
    QByteArray foreign = image;
    foreign[0] = 'X';
    EXPECT_EQ(openImage(foreign), OpenError::BadMagic);
    EXPECT_EQ(openImage(patched(image, header::version, 2, 2)), OpenError::UnsupportedVersion);
    QByteArray flipped = image;
    flipped[qsizetype(header::checksum)] = char(flipped[qsizetype(header::checksum)] ^ 1);
    EXPECT_EQ(openImage(flipped), OpenError::Checksum);
    EXPECT_EQ(openImage(flipped, false), OpenError::None);
}

TEST_F(DamageTest, CountsAndSizesThatDisagreeWithTheFileAreRefused) {
    // Counts large enough to overflow any unchecked size computation.
    EXPECT_EQ(openImage(patched(image, header::readingCount, 0xFFFFFFFF, 4)), OpenError::BadHeader);
    EXPECT_EQ(openImage(patched(image, header::candidateCount, 0xFFFFFFFF, 4)),
              OpenError::BadHeader);
    EXPECT_EQ(openImage(patched(image, header::textSize, 0xFFFFFFFF, 4)), OpenError::BadHeader);
    EXPECT_EQ(openImage(patched(image, header::fileSize, ~0ull, 8)), OpenError::BadHeader);
    EXPECT_EQ(openImage(patched(image, header::reserved64, 1, 8)), OpenError::BadHeader);
    const std::uint32_t surnames = readU32(bytesOf(image), header::surnameCount);
    EXPECT_EQ(openImage(patched(image, header::surnameCount, surnames + 1, 4)),
              OpenError::BadHeader);
    // Moving one candidate from the given names to the surnames keeps the sum right.
    QByteArray moved = patched(image, header::surnameCount, surnames + 1, 4);
    const std::uint32_t given = readU32(bytesOf(image), header::givenNameCount);
    EXPECT_EQ(openImage(patched(moved, header::givenNameCount, given - 1, 4)),
              OpenError::BadReadings);
    // Padding after the text is zero.
    EXPECT_EQ(openImage(patched(image, std::size_t(image.size()) - 1, 1, 1)), OpenError::BadHeader);
}

TEST_F(DamageTest, BrokenReadingEntriesAreRefused) {
    ASSERT_GE(readingCount, 2u);
    // Key outside the text, too long, empty; keys out of order; candidates not contiguous.
    EXPECT_EQ(openImage(patched(image, readingField(0, 0), 0xFFFFFFF0, 4)), OpenError::BadReadings);
    EXPECT_EQ(openImage(patched(image, readingField(0, 8), 101, 2)), OpenError::BadReadings);
    EXPECT_EQ(openImage(patched(image, readingField(0, 8), 0, 2)), OpenError::BadReadings);
    const std::uint32_t secondKey = readU32(bytesOf(image), readingField(1, 0));
    const std::uint16_t secondLength = readU16(bytesOf(image), readingField(1, 8));
    QByteArray swapped = patched(image, readingField(0, 0), secondKey, 4);
    EXPECT_EQ(openImage(patched(swapped, readingField(0, 8), secondLength, 2)),
              OpenError::BadReadings);
    EXPECT_EQ(openImage(patched(image, readingField(1, 4), 0, 4)), OpenError::BadReadings);
    EXPECT_EQ(openImage(patched(image, readingField(0, 10), 0, 2)), OpenError::BadReadings);
    EXPECT_EQ(openImage(patched(image, readingField(0, 10), 0xFFFF, 2)), OpenError::BadReadings);
    EXPECT_EQ(openImage(patched(image, readingField(0, 12), 0xFFFF, 2)), OpenError::BadReadings);
    EXPECT_EQ(openImage(patched(image, readingField(0, 14), 1, 2)), OpenError::BadReadings);
}

TEST_F(DamageTest, BrokenCandidateEntriesAreRefused) {
    EXPECT_EQ(openImage(patched(image, candidateField(0, 0), 0xFFFFFFFF, 4)),
              OpenError::BadCandidates);
    EXPECT_EQ(openImage(patched(image, candidateField(0, 4), 0, 2)), OpenError::BadCandidates);
    EXPECT_EQ(openImage(patched(image, candidateField(0, 4), 0xFFFF, 2)), OpenError::BadCandidates);
    // A kind that is neither, or one out of its place (a given name among the surnames).
    EXPECT_EQ(openImage(patched(image, candidateField(0, 6), 3, 1)), OpenError::BadCandidates);
    EXPECT_EQ(openImage(patched(image, candidateField(0, 6), 2, 1)), OpenError::BadCandidates);
    EXPECT_EQ(openImage(patched(image, candidateField(0, 7), 1, 1)), OpenError::BadCandidates);
    // A written form pointing at a control byte: the first key's bytes overwritten by a NUL.
    const std::uint32_t key = readU32(bytesOf(image), readingField(0, 0));
    const std::size_t text =
        std::size_t(image.size()) - std::size_t(align8(readU32(bytesOf(image), header::textSize)));
    EXPECT_EQ(openImage(patched(image, text + key, 0, 1)), OpenError::BadReadings);
}

TEST(ChangedFileTest, AFileThatShrinksUnderAnOpenHandleStopsAnswering) {
    const DictionaryFile file;
    int32_t handle = 0;
    ASSERT_EQ(openDictionary(file.path(), handle), 0);
    ASSERT_FALSE(lookup(handle, QStringLiteral("ｻﾄｳ")).empty());
    QFile resize(file.path());
    ASSERT_TRUE(resize.resize(100));
    int32_t result = 0;
    EXPECT_TRUE(lookup(handle, QStringLiteral("ｻﾄｳ"), &result).empty());
    EXPECT_EQ(result, 5);
    EXPECT_EQ(HNameDB_Close(handle), 0);
}

} // namespace
