#include "common/texthelpers.h"

#include <gtest/gtest.h>

using namespace pikotel;

TEST(TextHelpers, DelHifonRemovesHyphensAndCutsAtBar) {
    EXPECT_EQ(DelHifon(QStringLiteral("03-1234-5678")), QStringLiteral("0312345678"));
    EXPECT_EQ(DelHifon(QStringLiteral("03-1234|本社-代表")), QStringLiteral("031234"));
    EXPECT_EQ(DelHifon(QStringLiteral("|abc")), QString());
    // Only the ASCII hyphen goes; full-width marks are kept for the caller to judge.
    EXPECT_EQ(DelHifon(QStringLiteral("０３－１")), QStringLiteral("０３－１"));
}

TEST(TextHelpers, AnsiLenBCountsCp932Bytes) {
    EXPECT_EQ(AnsiLenB(QString()), 0);
    EXPECT_EQ(AnsiLenB(QStringLiteral("abc")), 3);
    EXPECT_EQ(AnsiLenB(QStringLiteral("電話帳")), 6);
    EXPECT_EQ(AnsiLenB(QStringLiteral("ｱｲｳ")), 3);
    EXPECT_EQ(AnsiLenB(QStringLiteral("～①髙")), 6);
}

TEST(TextHelpers, PathParts) {
    EXPECT_EQ(ParentFolder(QString()), QString());
    EXPECT_EQ(ParentFolder(QStringLiteral("/home/u/電話帳.txt")), QStringLiteral("/home/u"));
    EXPECT_EQ(ParentFolder(QStringLiteral("name.txt")), QStringLiteral("/"));
    EXPECT_EQ(ParentFolder(QStringLiteral("/top")), QString());

    EXPECT_EQ(FileNameOnly(QString()), QString());
    EXPECT_EQ(FileNameOnly(QStringLiteral("/usr/bin/soffice")), QStringLiteral("soffice"));
    EXPECT_EQ(FileNameOnly(QStringLiteral("plain")), QString());
    EXPECT_EQ(FileNameOnly(QString::fromUtf16(u"/a/b\0c", 6)), QStringLiteral("bc"));
    EXPECT_EQ(FileNameOnly(QStringLiteral("/a/dir/")), QString());
}

TEST(TextHelpers, Extensions) {
    EXPECT_EQ(GetExtension(QStringLiteral(" report.tar.xlsx  ")), QStringLiteral("xlsx"));
    EXPECT_EQ(GetExtension(QStringLiteral("noext")), QString());
    EXPECT_EQ(GetExtension(QStringLiteral("trailing.")), QString());
    EXPECT_EQ(ChangeExtension(QStringLiteral(" book.xls "), QStringLiteral("xlsx")),
              QStringLiteral("book.xlsx"));
    EXPECT_EQ(ChangeExtension(QStringLiteral("book"), QStringLiteral("xlsx")), QString());
}

TEST(TextHelpers, StrippingAndNumbers) {
    EXPECT_EQ(StripNulls(QString::fromUtf16(u"a\0b\0", 4)), QStringLiteral("ab"));
    EXPECT_EQ(StripQuotes(QStringLiteral("\"C:\\x.exe\" /a")), QStringLiteral("C:\\x.exe /a"));
    EXPECT_EQ(NumberOnly(QStringLiteral("03-12a4|5")),
              QStringLiteral("03124") + QStringLiteral("5"));
    EXPECT_EQ(NumberOnly(QStringLiteral("03-12-4"), QStringLiteral("-")),
              QStringLiteral("03-12-4"));
    // Full-width digits are not digits here; callers convert first.
    EXPECT_EQ(NumberOnly(QStringLiteral("０３")), QString());
}

TEST(TextHelpers, SettingNumbers) {
    EXPECT_EQ(TextToInt(QString()), 0);
    EXPECT_EQ(TextToInt(QStringLiteral("abc")), 0);
    EXPECT_EQ(TextToInt(QStringLiteral(" 7 ")), 7);
    EXPECT_EQ(TextToInt(QStringLiteral("-100")), -100);
    EXPECT_EQ(TextToInt(QStringLiteral("nan")), 0);
    EXPECT_EQ(TextToInt(QStringLiteral("1e30")), 0);
}
