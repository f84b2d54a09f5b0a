// The four calls over a small dictionary: the candidates of a reading and their order, what
// the records carry, and the handles' life.

#include "seimei/seimeitest.h"
#include "support/testdirs.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <cstring>

using namespace pikotel::seimei::test;

namespace {

class LookupTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(openDictionary(file.path(), handle), 0); }
    void TearDown() override { HNameDB_Close(handle); }

    DictionaryFile file;
    int32_t handle = 0;
};

TEST_F(LookupTest, RankedSurnamesLeadAndGimeiGivenNamesComeFirst) {
    // Within a group, in cp932 byte order.
    EXPECT_EQ(lookup(handle, QStringLiteral("ｻﾄｳ")),
              (std::vector{sei("佐藤"), sei("左藤"), sei("佐東"), sei("佐頭"), sei("砂糖"),
                           mei("里羽")}));
    EXPECT_EQ(lookup(handle, QStringLiteral("ﾀﾛｳ")),
              (std::vector{mei("太朗"), mei("太郎"), mei("多朗"), mei("太良")}));
    // A form that is both a surname and a given name of the reading comes once, as surname.
    EXPECT_EQ(lookup(handle, QStringLiteral("ｱｵｷ")), (std::vector{sei("青木"), mei("青紀")}));
    // The voiced mark is a character of its own in half-width katakana.
    EXPECT_EQ(lookup(handle, QStringLiteral("ｶﾞｸ")), (std::vector{mei("学")}));
}

TEST_F(LookupTest, OnlyTheExactHalfWidthReadingFinds) {
    int32_t result = -1;
    for (const char* other : {"サトウ", "さとう", "ｻﾄ", "ｻﾄｳｳ", "ｶｸ", "佐藤"}) {
        EXPECT_TRUE(lookup(handle, QString::fromUtf8(other), &result).empty()) << other;
        EXPECT_EQ(result, 0) << other;
    }
    // Blank filling after the key does not count; an empty key is refused.
    HNameSearchRec rec;
    std::memset(&rec, ' ', sizeof rec);
    std::memcpy(rec.key, "\xbb\xc4\xb3", 3); // ｻﾄｳ
    rec.count = -1;
    EXPECT_EQ(HNameDB_Search(handle, &rec), 0);
    EXPECT_EQ(rec.count, 6);
    std::memset(rec.key, ' ', sizeof rec.key);
    EXPECT_EQ(HNameDB_Search(handle, &rec), 2);
    EXPECT_EQ(rec.count, 0);
    // A key filling its whole field has no NUL and is read to the field's end only.
    std::memset(rec.key, 0xB1, sizeof rec.key);
    EXPECT_EQ(HNameDB_Search(handle, &rec), 0);
    EXPECT_EQ(rec.count, 0);
    EXPECT_EQ(HNameDB_Search(handle, nullptr), 2);
}

TEST_F(LookupTest, CandidateRecordsHoldTheFormAndNothingElse) {
    HNameSearchRec search{};
    std::memcpy(search.key, "\xbb\xc4\xb3", 3);
    ASSERT_EQ(HNameDB_Search(handle, &search), 0);
    HNameCandidateRec rec;
    std::memset(&rec, 0xAA, sizeof rec);
    ASSERT_EQ(HNameDB_GetName(handle, 5, &rec), 0);
    EXPECT_EQ(rec.kind, 2);
    EXPECT_EQ(rec.index, 5);
    EXPECT_EQ(writtenForm(rec), QStringLiteral("里羽"));
    const auto* bytes = reinterpret_cast<const unsigned char*>(&rec);
    for (std::size_t i = 8 + 4; i < sizeof rec; ++i)
        ASSERT_EQ(bytes[i], 0) << "byte " << i;

    // Outside the last search's candidates: refused, with an empty form.
    for (const int32_t index : {-1, 6, 1 << 30}) {
        std::memset(&rec, 0xAA, sizeof rec);
        EXPECT_EQ(HNameDB_GetName(handle, index, &rec), 3) << index;
        EXPECT_EQ(rec.name[0], 0) << index;
    }
    EXPECT_EQ(HNameDB_GetName(handle, 0, nullptr), 2);
    // A search that finds nothing leaves no candidates to fetch.
    EXPECT_TRUE(lookup(handle, QStringLiteral("ﾅｲ")).empty());
    EXPECT_EQ(HNameDB_GetName(handle, 0, &rec), 3);
}

TEST_F(LookupTest, HandlesAreIndependentAndGoneAfterClose) {
    int32_t second = 0;
    ASSERT_EQ(openDictionary(file.path(), second), 0);
    EXPECT_NE(second, handle);
    EXPECT_GT(second, 0);
    HNameSearchRec search{};
    std::memcpy(search.key, "\xbb\xc4\xb3", 3);
    ASSERT_EQ(HNameDB_Search(handle, &search), 0);
    std::memcpy(search.key, "\xb6\xde\xb8", 3); // ｶﾞｸ
    ASSERT_EQ(HNameDB_Search(second, &search), 0);
    HNameCandidateRec rec;
    ASSERT_EQ(HNameDB_GetName(handle, 0, &rec), 0);
    EXPECT_EQ(writtenForm(rec), QStringLiteral("佐藤"));

    EXPECT_EQ(HNameDB_Close(second), 0);
    EXPECT_EQ(HNameDB_Close(second), 1);
    EXPECT_EQ(HNameDB_Search(second, &search), 1);
    EXPECT_EQ(search.count, 0);
    EXPECT_EQ(HNameDB_GetName(second, 0, &rec), 1);
    EXPECT_EQ(HNameDB_Close(0), 1);
    // A closed handle's number is not given out again.
    int32_t third = 0;
    ASSERT_EQ(openDictionary(file.path(), third), 0);
    EXPECT_NE(third, second);
    HNameDB_Close(third);
}

TEST(OpenTest, MissingUnreadableAndForeignFilesAreRefused) {
    pikotel::test::ScratchDir dir;
    int32_t handle = 99;
    EXPECT_EQ(openDictionary(dir.file(QStringLiteral("Seimei.dic")), handle), 2);
    EXPECT_EQ(handle, 0);
    EXPECT_EQ(openDictionary(dir.path(), handle), 2);
    QFile empty(dir.file(QStringLiteral("empty.dic")));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    EXPECT_EQ(openDictionary(empty.fileName(), handle), 2);
    DictionaryFile foreign(QByteArray("kind\treading_katakana\tkanji\n").repeated(8));
    EXPECT_EQ(openDictionary(foreign.path(), handle), 3);
    EXPECT_EQ(handle, 0);

    HNameOpenRec rec{};
    EXPECT_EQ(HNameDB_Open(&rec, &handle), 1);
    EXPECT_EQ(HNameDB_Open(nullptr, &handle), 1);
    EXPECT_EQ(HNameDB_Open(&rec, nullptr), 1);
}

TEST(OpenTest, PathsTakeTheirFieldAsTheFileSystemSpellsThem) {
    // A folder name cp932 cannot spell, and a path filling the field with blanks after it.
    pikotel::test::ScratchDir dir;
    const QString folder = dir.file(QStringLiteral("𠮷野家"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/Seimei.dic");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(buildImage(kNames));
    file.close();

    HNameOpenRec rec;
    std::memset(&rec, ' ', sizeof rec);
    const QByteArray bytes = QFile::encodeName(path);
    ASSERT_LT(std::size_t(bytes.size()), sizeof rec.path);
    std::memcpy(rec.path, bytes.constData(), std::size_t(bytes.size()));
    int32_t handle = 0;
    ASSERT_EQ(HNameDB_Open(&rec, &handle), 0);
    EXPECT_EQ(lookup(handle, QStringLiteral("ﾔﾏﾀﾞ")), (std::vector{sei("山田")}));
    HNameDB_Close(handle);
}

} // namespace
