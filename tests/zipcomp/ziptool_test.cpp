// pikotel-zip prints the component's answers as tab-separated rows.

#include "zipfixture.h"

#include <QProcess>

using namespace pikotel::test;

namespace {

class ZipToolTest : public SmallDictionary {
protected:
    void SetUp() override {
        SmallDictionary::SetUp();
        QString error;
        ASSERT_TRUE(build(error)) << qPrintable(error);
    }

    // Output lines and exit code of one run on the small dictionary.
    std::pair<QStringList, int> run(const QStringList& args) {
        QProcess tool;
        tool.start(QStringLiteral(PIKOTEL_ZIPTEST_TOOL),
                   QStringList{QStringLiteral("--dict"), zipFolder()} + args);
        EXPECT_TRUE(tool.waitForFinished(30000));
        const QString out = QString::fromUtf8(tool.readAllStandardOutput());
        return {out.split(QLatin1Char('\n'), Qt::SkipEmptyParts), tool.exitCode()};
    }
};

TEST_F(ZipToolTest, PrintsListsAndSearches) {
    EXPECT_EQ(run({QStringLiteral("code"), QStringLiteral("163-8001")}),
              std::pair(QStringList{QStringLiteral(
                            "1638001\t東京都\t新宿区\t西新宿\t２丁目８－１\t東京都庁")},
                        0));
    EXPECT_EQ(run({QStringLiteral("blocks"), QStringLiteral("13104"),
                   QStringLiteral("西新宿新宿三井ビル")})
                  .first.first(),
              QStringLiteral("1630401\t１階\t１カイ"));
    EXPECT_EQ(run({QStringLiteral("towns"), QStringLiteral("13364")}).first,
              QStringList{QStringLiteral("1000601\t神津島村一円\t\tコウヅシマムライチエン\t")});
}

TEST_F(ZipToolTest, ExchangeWalksDownToTheBlocks) {
    EXPECT_EQ(run({QStringLiteral("exchange"), QStringLiteral("011-700-1234")}).first,
              QStringList({QStringLiteral("01\t北海道\t01102\t札幌市北区\t0010000\t"
                                          "以下に掲載がない場合\t\t"),
                           QStringLiteral("01\t北海道\t01102\t札幌市北区\t0010014\t"
                                          "北十四条西\t\t１～４丁目")}));
    EXPECT_EQ(run({QStringLiteral("exchange"), QStringLiteral("0999")}).second, 1);
}

TEST_F(ZipToolTest, BadInputIsRefusedWithAnExitCode) {
    EXPECT_EQ(run({QStringLiteral("code"), QStringLiteral("1234")}).second, 1);
    EXPECT_EQ(run({QStringLiteral("towns")}).second, 2);
    // Codes are numbers and a telephone number is digits; nothing else lists everything.
    for (const QStringList& bad :
         {QStringList{QStringLiteral("cities"), QStringLiteral("abc")},
          QStringList{QStringLiteral("towns"), QStringLiteral("99999999999")},
          QStringList{QStringLiteral("towns"), QStringLiteral("-1")},
          QStringList{QStringLiteral("blocks"), QStringLiteral("１３１０４"), QStringLiteral("x")},
          QStringList{QStringLiteral("exchange"), QString()},
          QStringList{QStringLiteral("exchange"), QStringLiteral("---")},
          QStringList{QStringLiteral("exchange"), QStringLiteral("03-abcd")}}) {
        const auto [lines, code] = run(bad);
        EXPECT_EQ(code, 2) << qPrintable(bad.join(u' '));
        EXPECT_TRUE(lines.isEmpty()) << qPrintable(bad.join(u' '));
    }
    QProcess help;
    help.start(QStringLiteral(PIKOTEL_ZIPTEST_TOOL), {QStringLiteral("--help")});
    ASSERT_TRUE(help.waitForFinished(30000));
    EXPECT_EQ(help.exitCode(), 0);
    EXPECT_TRUE(help.readAllStandardOutput().startsWith("usage: pikotel-zip"));
    QProcess tool;
    tool.start(
        QStringLiteral(PIKOTEL_ZIPTEST_TOOL),
        {QStringLiteral("--dict"), dir.file(QStringLiteral("none")), QStringLiteral("prefs")});
    ASSERT_TRUE(tool.waitForFinished(30000));
    EXPECT_EQ(tool.exitCode(), 1);
    EXPECT_FALSE(tool.readAllStandardError().isEmpty());
}

} // namespace
