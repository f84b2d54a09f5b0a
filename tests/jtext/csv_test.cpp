#include "jtext/csv.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace pikotel::jtext;

namespace {

// Every row's fields and line; the reader's error last, when it stopped on one.
std::vector<std::string> rows(std::string_view data, CsvFormat format = {}) {
    CsvReader reader(data, format);
    CsvRow row;
    std::vector<std::string> out;
    while (reader.next(row)) {
        std::string text = std::to_string(row.line) + ":";
        for (std::string_view f : row.fields)
            text.append("[").append(f).append("]");
        out.push_back(text);
    }
    if (!reader.error().empty())
        out.push_back(reader.error());
    return out;
}

} // namespace

TEST(CsvReader, QuotedFieldsHoldSeparatorsQuotesAndLineBreaks) {
    EXPECT_EQ(rows("a,\"b,\"\"c\"\"\",\"d\ne\"\r\n\nf,\r\n"),
              (std::vector<std::string>{"1:[a][b,\"c\"][d\ne]", "3:[]", "4:[f][]"}));
    EXPECT_EQ(rows("a,\"b\n"), (std::vector<std::string>{"unterminated quoted field"}));
    EXPECT_EQ(rows("ok\n\"b\"x,c\n"),
              (std::vector<std::string>{"1:[ok]", "text after a closing quote"}));
    EXPECT_EQ(rows("a\"b,c\n"), (std::vector<std::string>{"quote inside an unquoted field"}));
}

TEST(CsvReader, TabSeparatedRowsTakeQuotesAsText) {
    EXPECT_EQ(rows("03\t\"甲\"乙\t,\r\n04\t\t\n", kTabSeparated),
              (std::vector<std::string>{"1:[03][\"甲\"乙][,]", "2:[04][][]"}));
}

TEST(CsvRow, BlankRowsAndTexts) {
    CsvReader reader("\n東京都,x\n");
    CsvRow row;
    ASSERT_TRUE(reader.next(row));
    EXPECT_TRUE(row.blank());
    ASSERT_TRUE(reader.next(row));
    EXPECT_FALSE(row.blank());
    EXPECT_EQ(row.texts(), QStringList({QStringLiteral("東京都"), QStringLiteral("x")}));
}
