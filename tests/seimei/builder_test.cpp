// The builder over small name lists: the keys it makes, the rows it refuses or skips, and
// reproducible images.

#include "seimei/namebuilder.h"
#include "seimei/namedictionary.h"
#include "seimei/seimeitest.h"
#include "support/testdirs.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace pikotel::seimei;
using namespace pikotel::seimei::test;

namespace {

const QByteArray kHeader = "kind\treading_katakana\tkanji\tsource\tipadic_cost\tgimei_rank\n";

// readNames over the text; error gets its message.
bool read(const QByteArray& names, NameDictionaryBuilder& builder, QString& error) {
    pikotel::test::ScratchDir dir;
    QFile file(dir.file(QStringLiteral("names.tsv")));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(names);
    file.close();
    return builder.readNames(file.fileName(), error);
}

TEST(ReadingKeyTest, KanaOfAnyKindAndWidthGiveOneHalfWidthKey) {
    for (const char* gaku : {"ガク", "がく", "ｶﾞｸ"})
        EXPECT_EQ(readingKey(QString::fromUtf8(gaku)), QByteArray("\xb6\xde\xb8")) << gaku;
    // ヱ has no half-width form and keeps its full-width one.
    EXPECT_EQ(readingKey(QStringLiteral("ヱミ")), QByteArray("\x83\x91\xd0"));
    EXPECT_TRUE(readingKey(QStringLiteral("𠮷")).isEmpty());
}

TEST(BuilderTest, MalformedRowsFailWithTheirLine) {
    const struct {
        QByteArray names;
        const char* message;
    } cases[] = {
        {"kind\treading\tkanji\n", ":1: no column reading_katakana"},
        {kHeader + "sei\tサトウ\t佐藤\tipadic\t1\n" + "sei\tサトウ\t佐藤\n", ":2: 5 fields"},
        {kHeader + "\nsei\tサトウ\t佐藤\tipadic\t1\t\nsir\tサトウ\t佐藤\tipadic\t1\t\n",
         ":4: kind \"sir\""},
        {kHeader + "mei\tさとう\t佐藤\tipadic\t\t\n", ":2: reading \"さとう\" is not full-width"},
        {kHeader + "mei\tサトウ\t\tipadic\t\t\n", ":2: empty written form"},
        {kHeader + "sei\tサトウ\t佐藤\tgimei\t\t0\n", ":2: gimei_rank \"0\""},
    };
    for (const auto& c : cases) {
        NameDictionaryBuilder builder;
        QString error;
        EXPECT_FALSE(read(c.names, builder, error)) << c.message;
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.message))) << qPrintable(error);
    }
}

TEST(BuilderTest, FormsTheFormatCannotHoldAreSkippedWithAWarning) {
    NameDictionaryBuilder builder;
    QString error;
    const QByteArray names = kHeader + "sei\tヨシノ\t𠮷野\tipadic\t100\t\n" +
                             "sei\tヨシノ\t吉野\tipadic\t200\t\n" + "mei\tナガイ\t" +
                             QByteArray("永").repeated(51) + "\tipadic\t\t\n" + "sei\t" +
                             QByteArray("ア").repeated(101) + "\t亜\tipadic\t\t\n" +
                             "mei\tアイ\t愛\tgimei-female\t\t\r\n";
    ASSERT_TRUE(read(names, builder, error)) << qPrintable(error);
    ASSERT_EQ(builder.warnings().size(), 3) << qPrintable(builder.warnings().join(u'\n'));
    EXPECT_TRUE(builder.warnings()[0].contains(QStringLiteral(":2: \"𠮷野\" has no cp932 form")));
    EXPECT_TRUE(builder.warnings()[1].contains(QStringLiteral(":4: ")));
    EXPECT_TRUE(builder.warnings()[2].contains(QStringLiteral(":5: reading")));
    const BuildSummary s = builder.summary();
    EXPECT_EQ(s.readings, 2u);
    EXPECT_EQ(s.surnames, 1u);
    EXPECT_EQ(s.givenNames, 1u);
    EXPECT_EQ(s.skippedRows, 3u);
}

TEST(BuilderTest, ImagesAreReproducibleAndIndependentOfRowOrder) {
    QByteArray reversed = kHeader;
    QList<QByteArray> rows = QByteArray(kNames).split('\n').mid(1);
    std::reverse(rows.begin(), rows.end());
    reversed += rows.join('\n');
    const QByteArray image = buildImage(kNames);
    EXPECT_EQ(buildImage(reversed), image);

    NameDictionary dictionary;
    ASSERT_EQ(dictionary.open({reinterpret_cast<const std::uint8_t*>(image.constData()),
                               std::size_t(image.size())}),
              OpenError::None);
    const Header& h = dictionary.header();
    EXPECT_EQ(h.buildTime, 1700000000);
    EXPECT_EQ(std::tuple(h.readingCount, h.surnameCount, h.givenNameCount), std::tuple(5u, 7u, 7u));
}

} // namespace
