#include "search/postal/postalcomponent.h"
#include "search/postal/zipsearch.h"
#include "settings/environment.h"

#include <gtest/gtest.h>

using namespace pikotel;

TEST(ZipSearchTexts, ZipHifonPadsShortCodesAndKeepsLongOnes) {
    EXPECT_EQ(ZipHifon(QStringLiteral("60000")), QStringLiteral("006-0000"));
    EXPECT_EQ(ZipHifon(QStringLiteral("1000001")), QStringLiteral("100-0001"));
    EXPECT_EQ(ZipHifon(QStringLiteral("12345678")), QStringLiteral("123-4567"));
    EXPECT_EQ(gridCode(QStringLiteral("0600000")), QStringLiteral("060-0000"));
    EXPECT_EQ(gridCode(QString()), QString());
}

TEST(ZipSearchTexts, InputNeedsHalfWidthDigitsInThreeFiveOrSeven) {
    EXPECT_EQ(checkZipInput(QString()), ZipInputCheck::Empty);
    EXPECT_EQ(checkZipInput(QStringLiteral("１２３")), ZipInputCheck::NotHalfWidth);
    EXPECT_EQ(checkZipInput(QStringLiteral(" 123")), ZipInputCheck::NotHalfWidth);
    EXPECT_EQ(checkZipInput(QStringLiteral("12-34")), ZipInputCheck::WrongDigitCount);
    EXPECT_EQ(checkZipInput(QStringLiteral("---")), ZipInputCheck::WrongDigitCount);
    for (const char* ok : {"123", "123-45", "12345", "-1234567", "123-4567"})
        EXPECT_EQ(checkZipInput(QString::fromLatin1(ok)), ZipInputCheck::Valid) << ok;
}

TEST(ZipSearchTexts, SpecialEndingsAreCutInTheirOrderOfPrecedence) {
    EXPECT_EQ(cutSpecialEnding(QStringLiteral("東京都千代田区丸の内（次のビルを除く）")),
              QStringLiteral("東京都千代田区丸の内"));
    EXPECT_EQ(cutSpecialEnding(QStringLiteral("北海道札幌市南区真駒内（その他）")),
              QStringLiteral("北海道札幌市南区真駒内"));
    EXPECT_EQ(cutSpecialEnding(QStringLiteral("A以下に掲載がない場合B（その他）C")),
              QStringLiteral("A以下に掲載がない場合B"));
    EXPECT_EQ(cutSpecialEnding(QStringLiteral("東京都千代田区千代田")),
              QStringLiteral("東京都千代田区千代田"));
}

TEST(ZipSearchTexts, CodeOptionsComeFromTheEnvironment) {
    Environment env;
    ZipCodeOptions o = ZipCodeOptions::from(env);
    EXPECT_FALSE(o.withoutHyphen);
    EXPECT_FALSE(o.mark);
    env.setText(EnvKey::ZipHifon, QStringLiteral("1"));
    env.setText(EnvKey::ZipMark, QStringLiteral("1"));
    o = ZipCodeOptions::from(env);
    EXPECT_EQ(codeWithOptions(QStringLiteral("100-0001"), o), QStringLiteral("〒1000001"));
    EXPECT_EQ(blockResultText(60042, QStringLiteral("北海道"), QStringLiteral("札幌市"),
                              QStringLiteral("町 "), QStringLiteral("次のビルを除く"), o),
              QStringLiteral("〒0060042  北海道札幌市町 "));
}

TEST(ZipSearchTexts, NotationOrderPutsTheCatchAllFirstWithoutItsDot) {
    const QList<ZipListEntry> towns = {{QStringLiteral("丸の内 "), 1},
                                       {QStringLiteral("以下に掲載がない場合 "), 2},
                                       {QStringLiteral("一番町 "), 3},
                                       {QStringLiteral("一番町 "), 5}};
    const QList<ZipListEntry> sorted = notationOrder(towns);
    ASSERT_EQ(sorted.size(), 4);
    EXPECT_EQ(sorted[0], (ZipListEntry{QStringLiteral("以下に掲載がない場合 "), 2}));
    // Equal texts keep their order.
    EXPECT_LT(sorted.indexOf(ZipListEntry{QStringLiteral("一番町 "), 3}),
              sorted.indexOf(ZipListEntry{QStringLiteral("一番町 "), 5}));
}

// Every town of the real data that ends in "一円": the one that is its municipality as a
// whole ("神津島村一円", "直島町一円") is left out of the result; 多賀町's town named "一円"
// is a town like any other.
TEST(ZipSearchRealData, WholeMunicipalityTownsAreLeftOutOfTheResult) {
    PostalComponent postal;
    ASSERT_TRUE(postal.open(QStringLiteral(PIKOTEL_POSTAL_DICT_DIR)));
    const ZipCodeOptions plain;
    int leftOut = 0;
    int kept = 0;
    QList<PostalEntry> prefectures;
    ASSERT_TRUE(postal.prefectures(prefectures));
    for (const PostalEntry& pref : prefectures) {
        QList<PostalEntry> cities;
        ASSERT_TRUE(postal.cities(codeNumber(pref.code), cities));
        for (const PostalEntry& city : cities) {
            QList<PostalTown> towns;
            ASSERT_TRUE(postal.towns(codeNumber(city.code), towns));
            for (const PostalTown& town : towns) {
                if (!town.name.endsWith(QStringLiteral("一円")))
                    continue;
                const int code = codeNumber(town.code);
                const QString item = town.name + u' ' + town.note;
                const QString result = townResultText(code, pref.name, city.name, item, plain);
                const QString place = town.name.chopped(2);
                if (!place.isEmpty() && city.name.endsWith(place)) {
                    EXPECT_EQ(result,
                              ZipHifon(town.code) + QStringLiteral("  ") + pref.name + city.name)
                        << qPrintable(result);
                    ++leftOut;
                } else {
                    EXPECT_EQ(result, ZipHifon(town.code) + QStringLiteral("  ") + pref.name +
                                          city.name + item)
                        << qPrintable(result);
                    ++kept;
                }
            }
        }
    }
    EXPECT_EQ(leftOut, 22);
    EXPECT_EQ(kept, 1);
}
