// The dictionary pikotel-seimei built from the shipped name list: every row of the list is
// found under its reading, with its kind, ranked surnames first and in rank order.

#include "jtext/cp932.h"
#include "seimei/namebuilder.h"
#include "seimei/seimeitest.h"

#include <QFile>
#include <QMap>

#include <gtest/gtest.h>

using namespace pikotel::seimei;
using namespace pikotel::seimei::test;

namespace {

TEST(ShippedDictionaryTest, EveryNameOfTheListIsFoundRankedSurnamesFirst) {
    int32_t handle = 0;
    ASSERT_EQ(openDictionary(QStringLiteral(PIKOTEL_SEIMEI_DICT), handle), 0);
    QFile list(QStringLiteral(PIKOTEL_SEIMEI_NAMES));
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    list.readLine();
    // reading → written form → kind and rank, as the list has them.
    QMap<QString, QMap<QString, std::pair<int, int>>> expected;
    while (!list.atEnd()) {
        const QStringList f = QString::fromUtf8(list.readLine()).chopped(1).split(u'\t');
        ASSERT_EQ(f.size(), 6);
        auto& [kind, rank] = expected[f[1]][f[2]];
        kind = (f[0] == QLatin1String("sei") || kind == 1) ? 1 : 2;
        rank = std::max(rank, f[5].toInt());
    }
    for (auto reading = expected.cbegin(); reading != expected.cend(); ++reading) {
        const QByteArray key = readingKey(reading.key());
        const std::vector<Candidate> found = lookup(handle, pikotel::jtext::fromCp932(key));
        ASSERT_EQ(found.size(), std::size_t(reading->size())) << qPrintable(reading.key());
        int lastRank = 0;
        bool unranked = false;
        for (const Candidate& c : found) {
            ASSERT_TRUE(reading->contains(c.written)) << qPrintable(c.written);
            const auto [kind, rank] = reading->value(c.written);
            ASSERT_EQ(c.kind, kind) << qPrintable(c.written);
            if (kind != 1)
                continue;
            ASSERT_FALSE(unranked && rank > 0) << qPrintable(c.written);
            ASSERT_TRUE(rank == 0 || rank > lastRank) << qPrintable(c.written);
            unranked = rank == 0;
            lastRank = std::max(lastRank, rank);
        }
    }
    EXPECT_EQ(lookup(handle, QStringLiteral("ｽｽﾞｷ")).front(), sei("鈴木"));
    HNameDB_Close(handle);
}

} // namespace
