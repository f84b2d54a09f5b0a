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

    // A search record as a caller that fills its fields with blanks makes it.
    static HNameSearchRec blankFilled(const char* key) {
        HNameSearchRec rec;
        std::memset(&rec, ' ', sizeof rec);
        std::memcpy(rec.key, key, std::strlen(key));
        return rec;
    }

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
    // Blanks after the key do not count; a key of blanks is no key.
    HNameSearchRec rec = blankFilled("\xbb\xc4\xb3"); // ｻﾄｳ
    EXPECT_EQ(HNameDB_Search(handle, &rec), 0);
    EXPECT_EQ(rec.count, 6);
    rec = blankFilled("");
    EXPECT_EQ(HNameDB_Search(handle, &rec), 2);
    EXPECT_EQ(rec.count, 0);
    // A key filling its whole field has no NUL and is read to the field's end only.
    std::memset(rec.key, 0xB1, sizeof rec.key);
    EXPECT_EQ(HNameDB_Search(handle, &rec), 0);
    EXPECT_EQ(rec.count, 0);
}

TEST_F(LookupTest, CandidatesAreFetchedOnlyFromTheLastSearchOfTheirHandle) {
    int32_t second = 0;
    ASSERT_EQ(openDictionary(file.path(), second), 0);
    EXPECT_NE(second, handle);
    HNameSearchRec search = blankFilled("\xbb\xc4\xb3");
    ASSERT_EQ(HNameDB_Search(handle, &search), 0);
    search = blankFilled("\xb6\xde\xb8"); // ｶﾞｸ
    ASSERT_EQ(HNameDB_Search(second, &search), 0);

    HNameCandidateRec rec;
    ASSERT_EQ(HNameDB_GetName(handle, 5, &rec), 0);
    EXPECT_EQ(rec.kind, 2);
    EXPECT_EQ(writtenForm(rec), QStringLiteral("里羽"));
    for (const int32_t index : {-1, 6, 1 << 30}) {
        std::memset(&rec, 0xAA, sizeof rec);
        EXPECT_EQ(HNameDB_GetName(handle, index, &rec), 3) << index;
        EXPECT_EQ(rec.name[0], 0) << index;
    }
    ASSERT_EQ(HNameDB_GetName(second, 0, &rec), 0);
    EXPECT_EQ(writtenForm(rec), QStringLiteral("学"));

    // A closed handle answers nothing, and its number is not given out again.
    EXPECT_EQ(HNameDB_Close(second), 0);
    EXPECT_EQ(HNameDB_Close(second), 1);
    EXPECT_EQ(HNameDB_Search(second, &search), 1);
    EXPECT_EQ(HNameDB_GetName(second, 0, &rec), 1);
    int32_t third = 0;
    ASSERT_EQ(openDictionary(file.path(), third), 0);
    EXPECT_NE(third, second);
    HNameDB_Close(third);
}

TEST(OpenTest, MissingEmptyAndForeignFilesAreRefused) {
    pikotel::test::ScratchDir dir;
    int32_t handle = 99;
    EXPECT_EQ(openDictionary(dir.file(QStringLiteral("Seimei.dic")), handle), 2);
    EXPECT_EQ(handle, 0);
    EXPECT_EQ(openDictionary(dir.path(), handle), 2);
    DictionaryFile empty{QByteArray()};
    EXPECT_EQ(openDictionary(empty.path(), handle), 2);
    DictionaryFile foreign(QByteArray("kind\treading_katakana\tkanji\n").repeated(8));
    EXPECT_EQ(openDictionary(foreign.path(), handle), 3);
    HNameOpenRec rec{};
    EXPECT_EQ(HNameDB_Open(&rec, &handle), 1);
}

TEST(OpenTest, APathCp932CannotSpellOpens) {
    pikotel::test::ScratchDir dir;
    const QString folder = dir.file(QStringLiteral("𠮷野家"));
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile file(folder + QStringLiteral("/Seimei.dic"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(buildImage(kNames));
    file.close();
    int32_t handle = 0;
    ASSERT_EQ(openDictionary(file.fileName(), handle), 0);
    EXPECT_EQ(lookup(handle, QStringLiteral("ﾔﾏﾀﾞ")), (std::vector{sei("山田")}));
    HNameDB_Close(handle);
}

} // namespace
