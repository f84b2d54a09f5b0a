// pikotel-dict as a user runs it: build, info and search through either engine.

#include "dicttest.h"
#include "format.h"
#include "support/testdirs.h"

#include <QFile>
#include <QProcess>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace pikotel::test;

namespace {

struct ToolRun {
    int exitCode = -1;
    QString out;
    QString err;
};

ToolRun tool(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(PIKOTEL_DICT_TOOL), args);
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

QString lines(const QList<Hit>& hits) {
    QString out;
    for (const Hit& h : hits)
        out += h.join(QLatin1Char('\t')) + QLatin1Char('\n');
    return out;
}

TEST(DictTool, BuildInfoAndSearchThroughBothEngines) {
    ScratchDir d;
    const QList<Listing> listings = sampleListings(400, 21);
    ASSERT_TRUE(writeFile(d.file("l.csv"), listingCsv(listings)));
    ToolRun r = tool({"build", d.file("l.csv"), d.file("main.dct")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    r = tool({"build", "--engine", "xch", d.file("l.csv"), d.file("XCHDB.DIC")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();

    r = tool({"info", d.file("main.dct")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.contains("engine: dxs\n"));
    EXPECT_TRUE(r.out.contains("listings: 400\n"));
    EXPECT_TRUE(r.out.contains("checksums: ok\n"));

    NameCondition c;
    c.cityCode = 13104;
    c.name = "山*";
    c.town = "新";
    c.limit = 5;
    r = tool({"search", "--engine", "dxs", d.file("main.dct"), "--city", "13104", "--kind", "1",
              "--name", "山*", "--town", "新", "--limit", "5"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, lines(expectedByName(listings, c)));
    EXPECT_FALSE(r.out.isEmpty());
    c.limit = 0;
    r = tool({"search", "--engine", "xch", d.file("XCHDB.DIC"), "--city", "13104", "--kind", "1",
              "--name", "山*", "--town", "新"});
    EXPECT_EQ(r.out, lines(expectedByName(listings, c)));

    const QString number = listings.at(0).number;
    r = tool({"search", "--engine", "xch", d.file("XCHDB.DIC"), "--number", number});
    EXPECT_EQ(r.out, lines(expectedByNumber(listings, digitsOf(number))));
    r = tool({"search", "--engine", "dxs", d.file("main.dct"), "--number", digitsOf(number)});
    EXPECT_EQ(r.out, lines(expectedByNumber(listings, digitsOf(number))));
}

TEST(DictTool, BrokenFilesAndBadInputFailWithAMessage) {
    ScratchDir d;
    ASSERT_TRUE(writeFile(d.file("l.csv"), listingCsv(sampleListings(50, 2))));
    ASSERT_EQ(tool({"build", d.file("l.csv"), d.file("main.dct")}).exitCode, 0);
    QFile f(d.file("main.dct"));
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    QByteArray bytes = f.readAll();
    // A byte of the listing details: only its checksum notices (the structure is intact).
    const auto details =
        qFromLittleEndian<quint64>(bytes.constData() + pikotel::dict::kHeaderSize +
                                   (static_cast<int>(pikotel::dict::SectionId::Details) - 1) *
                                       pikotel::dict::kSectionEntrySize +
                                   8);
    const auto at = static_cast<qsizetype>(details + 10);
    bytes[at] = static_cast<char>(bytes[at] ^ 1);
    f.seek(0);
    f.write(bytes);
    f.close();

    ToolRun r = tool({"info", d.file("main.dct")});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_TRUE(r.out.contains("checksums: DAMAGED")) << r.out.toStdString();
    r = tool({"info", d.file("l.csv")});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_TRUE(r.err.contains("wrong magic"));
    r = tool({"search", "--engine", "dxs", d.file("main.dct"), "--number", "0312345678"});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_TRUE(r.err.contains("Dxs4_OpenDic failed: -4"));
    r = tool({"build", d.file("missing.csv"), d.file("x.dct")});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_TRUE(r.err.contains("missing.csv"));
    EXPECT_FALSE(QFile::exists(d.file("x.dct")));
    EXPECT_NE(tool({"search", "--engine", "abc", d.file("main.dct"), "--number", "1"}).exitCode, 0);
    EXPECT_NE(tool({"frobnicate"}).exitCode, 0);
}

} // namespace

namespace {

// The xch engine's records hold names of 120 cp932 bytes: a build says which listings it
// will show cut, and a dxs build (which keeps every text whole) says nothing.
TEST(DictTool, XchBuildReportsTextsLongerThanItsFields) {
    ScratchDir d;
    QList<Listing> listings = sampleListings(20, 3);
    listings[4].name = QString(61, u'長');
    listings[7].block = QString(25, u'番');
    ASSERT_TRUE(writeFile(d.file("l.csv"), listingCsv(listings)));
    ToolRun r = tool({"build", "--engine", "xch", d.file("l.csv"), d.file("XCHDB.DIC")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.err.count("warning:"), 2) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("name is 122 bytes; the xch engine shows the first 120"))
        << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(listings[4].number)) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("block is 50 bytes")) << r.err.toStdString();
    r = tool({"build", d.file("l.csv"), d.file("main.dct")});
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
}

TEST(DictTool, HelpIsUsageAndSuccess) {
    for (const QStringList& args : {QStringList{"--help"}, QStringList{"build", "-h"}}) {
        const ToolRun r = tool(args);
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_TRUE(r.out.startsWith("usage:"));
    }
}

} // namespace
