// pikotel-seimei over a small name list, and the dictionary the build made from the shipped
// one: every row of the name list is found under its reading, ranked surnames first.

#include "jtext/cp932.h"
#include "seimei/namebuilder.h"
#include "seimei/seimeitest.h"
#include "support/testdirs.h"

#include <QFile>
#include <QMap>
#include <QProcess>

#include <gtest/gtest.h>

using namespace pikotel::seimei;
using namespace pikotel::seimei::test;

namespace {

struct ToolRun {
    QStringList out;
    QString err;
    int exitCode = -1;
};

ToolRun run(const QStringList& args) {
    QProcess tool;
    tool.start(QStringLiteral(PIKOTEL_SEIMEI_TOOL), args);
    EXPECT_TRUE(tool.waitForFinished(60000));
    return {QString::fromUtf8(tool.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts),
            QString::fromUtf8(tool.readAllStandardError()), tool.exitCode()};
}

TEST(ToolTest, BuildsAndLooksUpInAnyKana) {
    pikotel::test::ScratchDir dir;
    const QString names = dir.file(QStringLiteral("names.tsv"));
    QFile file(names);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(kNames);
    file.close();
    const QString dic = dir.file(QStringLiteral("out/Seimei.dic"));
    const ToolRun built = run({QStringLiteral("build"), QStringLiteral("--names"), names,
                               QStringLiteral("--time"), QStringLiteral("1700000000"), dic});
    ASSERT_EQ(built.exitCode, 0) << qPrintable(built.err);
    EXPECT_TRUE(built.err.contains(QStringLiteral("5 readings, 7 surnames, 7 given names")))
        << qPrintable(built.err);
    QFile image(dic);
    ASSERT_TRUE(image.open(QIODevice::ReadOnly));
    EXPECT_EQ(image.readAll(), buildImage(kNames));

    const ToolRun found = run({QStringLiteral("--dict"), dic, QStringLiteral("lookup"),
                               QStringLiteral("あおき"), QStringLiteral("ｶﾞｸ")});
    EXPECT_EQ(found.exitCode, 0);
    EXPECT_EQ(found.out,
              (QStringList{QStringLiteral("あおき\tsei\t青木"), QStringLiteral("あおき\tmei\t青紀"),
                           QStringLiteral("ｶﾞｸ\tmei\t学")}));
    EXPECT_EQ(run({QStringLiteral("--dict"), dic, QStringLiteral("lookup"), QStringLiteral("ナイ")})
                  .exitCode,
              1);

    // A damaged file is named with its reason; a malformed list stops the build.
    ASSERT_TRUE(QFile::resize(dic, image.size() - 8));
    const ToolRun damaged = run({QStringLiteral("--dict"), dic, QStringLiteral("info")});
    EXPECT_EQ(damaged.exitCode, 1);
    EXPECT_TRUE(damaged.err.contains(QStringLiteral("header does not match the file")));
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("sei\tサトウ\n");
    file.close();
    const ToolRun refused = run({QStringLiteral("build"), QStringLiteral("--names"), names, dic});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("names.tsv:19: 2 fields")))
        << qPrintable(refused.err);
    EXPECT_EQ(run({QStringLiteral("build"), dic}).exitCode, 2);
}

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
