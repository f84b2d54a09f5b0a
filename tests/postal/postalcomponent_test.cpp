#include "search/postal/postalcomponent.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace pikotel;

TEST(PostalComponent, ReadsListsAndRecordsOutOfCp932) {
    PostalComponent postal;
    ASSERT_TRUE(postal.open(QStringLiteral(PIKOTEL_POSTAL_DICT_DIR)));

    QList<PostalRecord> records;
    ASSERT_TRUE(postal.searchCode(QStringLiteral("1600023"), records));
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(records[0].code, QStringLiteral("1600023"));
    EXPECT_EQ(records[0].parts[2], QStringLiteral("西新宿"));
    EXPECT_EQ(records[0].address(), QStringLiteral("東京都新宿区西新宿（次のビルを除く）"));

    QList<PostalEntry> prefectures;
    ASSERT_TRUE(postal.prefectures(prefectures));
    ASSERT_EQ(prefectures.size(), 47);
    EXPECT_EQ(prefectures[0].code, QStringLiteral("01"));
    EXPECT_EQ(prefectures[0].reading, QStringLiteral("ホッカイドウ"));

    // A town divided into blocks has no code of its own; its blocks have theirs.
    QList<PostalTown> towns;
    ASSERT_TRUE(postal.towns(13104, towns));
    const auto town = std::find_if(towns.begin(), towns.end(), [](const PostalTown& t) {
        return t.name == QStringLiteral("西新宿") && t.note.isEmpty();
    });
    ASSERT_NE(town, towns.end());
    EXPECT_TRUE(town->code.isEmpty());
    QList<PostalEntry> blocks;
    ASSERT_TRUE(postal.blocks(13104, town->name, blocks));
    ASSERT_EQ(blocks.size(), 1);
    EXPECT_EQ(blocks[0].code, QStringLiteral("1600023"));
    EXPECT_EQ(blocks[0].name, QStringLiteral("次のビルを除く"));
}

TEST(PostalComponent, FailuresLeaveEmptyListsAndTheComponentsError) {
    PostalComponent postal;
    EXPECT_FALSE(postal.open(QStringLiteral(PIKOTEL_POSTAL_DICT_DIR "/missing")));
    QList<PostalEntry> cities = {{QStringLiteral("13"), QStringLiteral("東京都"), {}}};
    EXPECT_FALSE(postal.cities(13, cities));
    EXPECT_TRUE(cities.isEmpty());
    EXPECT_EQ(postal.lastError().number, zipcomp::kErrorNotOpen);
    QList<PostalRecord> records;
    EXPECT_FALSE(postal.searchCode(QStringLiteral("100"), records));
}
