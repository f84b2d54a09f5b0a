#include "history/historystore.h"

#include "common/texthelpers.h"
#include "support/testdirs.h"

#include <QProcess>
#include <QRegularExpression>

#include <algorithm>

#include <gtest/gtest.h>

using namespace pikotel;
using namespace Qt::StringLiterals;

namespace {

QString slotText(int slot) {
    return u"%1"_s.arg(slot, 2, 10, QChar(u'0'));
}

QStringList cityNames(const QString& stem, int count) {
    QStringList cities;
    for (int i = 0; i < count; ++i)
        cities.append(stem + QString::number(i) + u"市"_s);
    return cities;
}

Area104Conditions wide104(const QString& prefecture, const QStringList& cities,
                          const QString& surname) {
    Area104Conditions c;
    c.wideArea = true;
    c.prefecture = prefecture;
    c.cities = cities;
    c.surname = surname;
    c.givenName = u"太郎"_s;
    return c;
}

Area104Conditions normalCompany(const QString& city, const QString& company) {
    Area104Conditions c;
    c.prefecture = u"東京都"_s;
    c.city = city;
    c.town = u"丸の内"_s;
    c.company = true;
    c.companyName = company;
    return c;
}

class HistoryStoreTest : public ::testing::Test {
protected:
    StorePaths paths() const { return {QString(), dir.file(u"HKCU.db"_s), QString()}; }

    // The MRU key as the store lists it: name → text.
    QMap<QString, QString> mru() {
        RegValueListData list;
        store.RegValueList(1, kMruKey, list);
        QMap<QString, QString> values;
        for (const RegValuePair& pair : list)
            values.insert(pair.name, pair.text);
        return values;
    }
    QStringList namesMatching(const QString& pattern) {
        const QRegularExpression re(QLatin1Char('^') + pattern + QLatin1Char('$'));
        QStringList names = mru().keys();
        names.removeIf([&](const QString& name) { return !re.match(name).hasMatch(); });
        return names;
    }
    QString value(const QString& name) { return mru().value(name, u"<absent>"_s); }

    test::ScratchDir dir;
    SettingsStore store{paths()};
    HistoryStore history{store};
};

TEST_F(HistoryStoreTest, PhoneSearchesStoreExactlyTheirValuesAndReload) {
    history.SaveFindTelNo(u"03-1234-5678"_s);
    EXPECT_EQ(history.recordPhoneSearch({u"0312345678"_s, u"山田商店"_s}), 0);
    EXPECT_EQ(history.recordPhoneSearch({u"0612345678"_s, u"大阪 太郎"_s}), 1);
    // The repeat of entry 0 adds nothing and only moves the pointer.
    EXPECT_EQ(history.recordPhoneSearch({u"0312345678"_s, u"山田商店"_s}), 0);

    const QMap<QString, QString> expected{{u"FINDTELNO"_s, u"03-1234-5678"_s},
                                          {u"TELNO(0)"_s, u"0312345678 山田商店"_s},
                                          {u"TELNO(1)"_s, u"0612345678 大阪 太郎"_s},
                                          {u"TELNOLASTFIND"_s, u"0"_s}};
    EXPECT_EQ(mru(), expected);

    HistoryStore fresh(store);
    EXPECT_EQ(fresh.LoadPhoneHistory(), 0);
    EXPECT_EQ(fresh.phoneHistory(), history.phoneHistory());
    EXPECT_EQ(fresh.phoneLastFind(), 0);
    EXPECT_EQ(fresh.LoadFindTelNo(), u"03-1234-5678"_s);
}

TEST_F(HistoryStoreTest, SettingsToolShows104SearchesAsStored) {
    history.record104Search(wide104(u"北海道"_s, {u"札幌市中央区"_s, u"小樽市"_s}, u"ｻﾄｳ"_s));
    history.record104Search(normalCompany(u"千代田区"_s, u"ぴこぴこ商事"_s));
    const QMap<QString, QString> stored = mru();
    EXPECT_EQ(stored.value(u"104CHK(0)"_s), u"2"_s);
    EXPECT_EQ(stored.value(u"104KENEX(0)"_s), u"北海道"_s);
    EXPECT_EQ(stored.value(u"104SIKUEX00(0)"_s), u"札幌市中央区"_s);
    EXPECT_EQ(stored.value(u"104SIKUEX01(0)"_s), u"小樽市"_s);
    EXPECT_FALSE(stored.contains(u"104SIKUEX02(0)"_s));
    EXPECT_EQ(stored.value(u"104HOJINKOJIN(0)"_s), u"2"_s);
    EXPECT_EQ(stored.value(u"104SEI(0)"_s), u"ｻﾄｳ"_s);
    EXPECT_EQ(stored.value(u"104MEI(0)"_s), u"太郎"_s);
    EXPECT_EQ(stored.value(u"104CHK(1)"_s), u"1"_s);
    EXPECT_EQ(stored.value(u"104KEN(1)"_s), u"東京都"_s);
    EXPECT_EQ(stored.value(u"104SIKU(1)"_s), u"千代田区"_s);
    EXPECT_EQ(stored.value(u"104CHOUIKI(1)"_s), u"丸の内"_s);
    EXPECT_EQ(stored.value(u"104HOJINKOJIN(1)"_s), u"1"_s);
    EXPECT_EQ(stored.value(u"104KAISHA(1)"_s), u"ぴこぴこ商事"_s);
    EXPECT_EQ(stored.value(u"104LASTFIND"_s), u"1"_s);

    // The tool lists exactly those values, one line each.
    QProcess tool;
    tool.start(QStringLiteral(PIKOTEL_REG_TOOL),
               {u"--user-store"_s, paths().user, u"--machine-store"_s, dir.file(u"HKLM.db"_s),
                u"export"_s, u"HKCU"_s, kMruKey});
    ASSERT_TRUE(tool.waitForFinished(30000));
    QStringList lines =
        QString::fromUtf8(tool.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    QStringList expected;
    for (auto it = stored.cbegin(); it != stored.cend(); ++it)
        expected.append(kMruKey + u"\t"_s + it.key() + u"\tREG_SZ\t"_s + it.value());
    lines.sort();
    expected.sort();
    EXPECT_EQ(lines, expected);
}

TEST_F(HistoryStoreTest, SixthIndustrySearchDropsTheOldestAndItsCitySlots) {
    // Entry i has i + 1 cities, so every shift rewrites an index with a different count.
    for (int i = 0; i < 6; ++i) {
        const IndustryConditions c{u"北海道"_s, cityNames(QString::number(i), i + 1),
                                   u"※業種"_s + QString::number(i)};
        EXPECT_EQ(history.recordIndustrySearch(c), std::min(i, 4));
    }
    ASSERT_EQ(history.industryHistory().size(), 5);
    EXPECT_EQ(history.industryHistory().front().industry, u"※業種1"_s);
    EXPECT_EQ(history.industryHistory().back().industry, u"※業種5"_s);
    EXPECT_EQ(value(u"GYOLASTFIND"_s), u"4"_s);
    for (int n = 0; n < 5; ++n) {
        const QStringList used = namesMatching(u"GYOSHUSIKU\\d+\\(%1\\)"_s.arg(n));
        EXPECT_EQ(used.size(), n + 2) << "entry " << n;
        EXPECT_EQ(value(u"GYOSHUSIKU%1(%2)"_s.arg(slotText(n + 1), QString::number(n))),
                  QString::number(n + 1) + QString::number(n + 1) + u"市"_s);
    }
    EXPECT_TRUE(namesMatching(u"GYOSHU\\w*\\(5\\)"_s).isEmpty());

    // A search over fewer cities than a stored entry is a different search.
    IndustryConditions fewer = history.industryHistory().at(2);
    fewer.cities.removeLast();
    EXPECT_EQ(history.findIndustryHistory(fewer), -1);
    EXPECT_EQ(history.recordIndustrySearch(history.industryHistory().at(2)), 2);
    EXPECT_EQ(value(u"GYOLASTFIND"_s), u"2"_s);

    HistoryStore fresh(store);
    fresh.LoadIndustryHistory();
    EXPECT_EQ(fresh.industryHistory(), history.industryHistory());
    IndustryConditions restored;
    ASSERT_TRUE(fresh.lastUsedIndustry(restored));
    EXPECT_EQ(restored, history.industryHistory().at(2));
}

TEST_F(HistoryStoreTest, Area104EntriesStoreOnlyTheFieldsTheyMean) {
    EXPECT_EQ(history.record104Search(normalCompany(u"千代田区"_s, u"0"_s)), 0);
    EXPECT_EQ(history.area104LastFind(), u"0"_s);
    history.record104Search(wide104(u"大阪府"_s, cityNames(u"a"_s, 5), u"佐藤"_s));
    history.record104Search(wide104(u"京都府"_s, cityNames(u"b"_s, 3), u"鈴木"_s));
    for (int i = 3; i < 6; ++i)
        history.record104Search(normalCompany(u"千代田区"_s, QString::number(i)));

    // Index 0 turned from a company entry into a wide-area personal one.
    EXPECT_EQ(value(u"104CHK(0)"_s), u"2"_s);
    EXPECT_EQ(value(u"104KENEX(0)"_s), u"大阪府"_s);
    EXPECT_EQ(value(u"104SEI(0)"_s), u"佐藤"_s);
    EXPECT_EQ(namesMatching(u"104SIKUEX\\d+\\(0\\)"_s).size(), 5);
    // Index 1 went from five cities to three.
    EXPECT_EQ(namesMatching(u"104SIKUEX\\d+\\(1\\)"_s),
              (QStringList{u"104SIKUEX00(1)"_s, u"104SIKUEX01(1)"_s, u"104SIKUEX02(1)"_s}));
    // Index 2 from wide-area personal to a normal company entry.
    EXPECT_EQ(value(u"104CHK(2)"_s), u"1"_s);
    EXPECT_EQ(value(u"104KAISHA(2)"_s), u"3"_s);
    EXPECT_TRUE(namesMatching(u"104SIKUEX\\d+\\(2\\)"_s).isEmpty());
    for (const QString& gone : {u"104KEN(0)"_s, u"104SIKU(0)"_s, u"104KAISHA(0)"_s,
                                u"104KENEX(2)"_s, u"104SEI(2)"_s, u"104MEI(2)"_s})
        EXPECT_EQ(value(gone), u"<absent>"_s) << qPrintable(gone);
    EXPECT_EQ(value(u"104LASTFIND"_s), u"4"_s);

    // Fields the entry does not mean take no part in the duplicate test.
    Area104Conditions repeat = normalCompany(u"千代田区"_s, u"3"_s);
    repeat.surname = u"無関係"_s;
    repeat.cities = cityNames(u"z"_s, 2);
    EXPECT_EQ(history.record104Search(repeat), 2);

    HistoryStore fresh(store);
    fresh.Load104History();
    EXPECT_EQ(fresh.area104History(), history.area104History());
    Area104Conditions restored;
    ASSERT_TRUE(fresh.lastUsed104(restored));
    EXPECT_EQ(restored.companyName, u"3"_s);
}

TEST_F(HistoryStoreTest, RemovalShiftsEntriesAndKeepsThePointerOnItsSearch) {
    for (int i = 0; i < 3; ++i)
        history.recordIndustrySearch(
            {u"沖縄県"_s, cityNames(QString::number(i), 3 - i), QString::number(i)});
    ASSERT_EQ(history.industryLastFind(), 2);

    EXPECT_EQ(history.DeleteIndustryHistory(1), 0);
    ASSERT_EQ(history.industryHistory().size(), 2);
    EXPECT_EQ(history.industryHistory().at(1).industry, u"2"_s);
    EXPECT_EQ(value(u"GYOSHUGYOSHU(1)"_s), u"2"_s);
    EXPECT_EQ(namesMatching(u"GYOSHUSIKU\\d+\\(1\\)"_s), (QStringList{u"GYOSHUSIKU00(1)"_s}));
    EXPECT_TRUE(namesMatching(u"GYOSHU\\w*\\(2\\)"_s).isEmpty());
    EXPECT_EQ(value(u"GYOLASTFIND"_s), u"1"_s);

    // Removing the entry the pointer names removes the pointer: the newest is then last used.
    history.recordIndustrySearch(history.industryHistory().at(0));
    EXPECT_EQ(history.DeleteIndustryHistory(0), 0);
    EXPECT_EQ(value(u"GYOLASTFIND"_s), u"<absent>"_s);
    EXPECT_EQ(history.industryLastFind(), 0);
    EXPECT_EQ(history.DeleteIndustryHistory(0), 0);
    EXPECT_TRUE(history.industryHistory().isEmpty());
    EXPECT_TRUE(namesMatching(u"GYOSHU.*"_s).isEmpty());
    EXPECT_EQ(history.DeleteIndustryHistory(0), 1);

    history.recordPhoneSearch({u"011"_s, u"a"_s});
    history.recordPhoneSearch({u"022"_s, u"b"_s});
    history.recordPhoneSearch({u"033"_s, u"c"_s});
    EXPECT_EQ(history.DeletePhoneHistory(0), 0);
    EXPECT_EQ(mru().value(u"TELNO(0)"_s), u"022 b"_s);
    EXPECT_EQ(value(u"TELNOLASTFIND"_s), u"1"_s);
    history.Load104History();
    EXPECT_EQ(history.Delete104History(0), 1);
}

TEST_F(HistoryStoreTest, LoadingStoredValuesWrittenByOthers) {
    // Industry entries with a gap in entry 0's city slots and a hole at index 3; a phone list
    // and a 104-style list without a pointer.
    ASSERT_TRUE(store.RegValueListPut(kMruKey, {{u"GYOSHUKEN(0)"_s, u"青森県"_s},
                                                {u"GYOSHUSIKU00(0)"_s, u"青森市"_s},
                                                {u"GYOSHUSIKU02(0)"_s, u"八戸市"_s},
                                                {u"GYOSHUGYOSHU(0)"_s, u"銀行"_s},
                                                {u"GYOSHUKEN(1)"_s, u"岩手県"_s},
                                                {u"GYOSHUKEN(2)"_s, u"宮城県"_s},
                                                {u"GYOSHUKEN(4)"_s, u"秋田県"_s},
                                                {u"TELNO(0)"_s, u"01 a"_s},
                                                {u"TELNO(1)"_s, u"02 b"_s},
                                                {u"TELNO(2)"_s, u"03 c"_s},
                                                {u"GYOLASTFIND"_s, u"4"_s},
                                                {u"104CHK(0)"_s, u"1"_s}}));
    EXPECT_EQ(history.LoadAreaAndIndustryHistories(), 0);
    EXPECT_EQ(history.LoadPhoneHistory(), 0);
    EXPECT_EQ(history.phoneLastFind(), 2);
    EXPECT_EQ(history.area104LastFind(), QString());
    Area104Conditions none;
    EXPECT_FALSE(history.lastUsed104(none));
    ASSERT_EQ(history.industryHistory().size(), 4);
    EXPECT_EQ(history.industryHistory().at(0).cities, QStringList{u"青森市"_s});
    // The pointer names the entry stored at index 4, now the fourth in the list.
    EXPECT_EQ(history.industryLastFind(), 3);

    // The next write closes the hole and drops the slot beyond the gap; nothing is lost.
    EXPECT_EQ(history.SaveIndustryHistory({u"山形県"_s, {u"山形市"_s}, u"病院"_s}), 4);
    EXPECT_EQ(value(u"GYOSHUKEN(3)"_s), u"秋田県"_s);
    EXPECT_EQ(value(u"GYOSHUKEN(4)"_s), u"山形県"_s);
    EXPECT_EQ(value(u"GYOSHUSIKU02(0)"_s), u"<absent>"_s);
    EXPECT_EQ(value(u"GYOLASTFIND"_s), u"3"_s);
}

TEST_F(HistoryStoreTest, LongTextsAndOriginalIndustriesLeaveOtherValuesIntact) {
    // A long company name written before the original industries must not hide them from
    // the value listing they are read through.
    const QString longName = QString(200, QChar(u'株'));
    EXPECT_EQ(history.record104Search(normalCompany(u"港区"_s, longName)), 0);
    const RegValueListData originals{{u"GYOSHUSYBAN"_s, u"0"_s},
                                     {u"GYOSHUNM(0)"_s, u"ラーメン"_s},
                                     {u"GYOSHUTARGET(0,0)"_s, u"麺"_s},
                                     {u"GYOSHUGYOSHU"_s, u"※ラーメン"_s}};
    ASSERT_TRUE(store.RegValueListPut(kMruKey, originals));

    const QString stored = value(u"104KAISHA(0)"_s);
    EXPECT_EQ(AnsiLenB(stored), 254);
    EXPECT_TRUE(longName.startsWith(stored));
    EXPECT_EQ(history.record104Search(normalCompany(u"港区"_s, longName)), 0);

    for (int i = 0; i < 7; ++i)
        history.recordIndustrySearch({u"福岡県"_s, cityNames(u"c"_s, 7 - i), QString::number(i)});
    history.DeleteIndustryHistory(2);
    history.Delete104History(0);
    // Unencodable characters survive; other values are not disturbed by them.
    history.recordPhoneSearch({u"0921234567"_s, u"Jürgen 😀"_s});
    history.LoadPhoneHistory();
    EXPECT_EQ(history.phoneHistory(), QStringList{u"0921234567 Jürgen 😀"_s});

    RegValueListData listed;
    store.RegGyoshuValueList(1, kMruKey, listed);
    EXPECT_EQ(listed, originals);
}

TEST_F(HistoryStoreTest, PostalConditionsRoundTrip) {
    HistoryStore empty(store);
    EXPECT_EQ(empty.LoadZipConditions(), 1);
    EXPECT_EQ(empty.zipConditions().chomeiSort, u"0"_s);

    EXPECT_EQ(
        history.SaveZipConditions({u"北海道"_s, u"札幌市中央区"_s, true, u"060-0001"_s, true}), 0);
    EXPECT_EQ(value(u"ZIPCODE"_s), u"060-0001"_s);
    EXPECT_EQ(value(u"ZIPCHOMEISORT"_s), u"1"_s);
    // The reverse direction stores no code, whatever the box holds.
    EXPECT_EQ(history.SaveZipConditions({u"北海道"_s, u"函館市"_s, false, u"040-0001"_s, false}),
              0);

    HistoryStore fresh(store);
    EXPECT_EQ(fresh.LoadZipConditions(), 0);
    EXPECT_EQ(fresh.zipConditions().prefecture, u"北海道"_s);
    EXPECT_EQ(fresh.zipConditions().city, u"函館市"_s);
    EXPECT_EQ(fresh.zipConditions().code, QString());
    EXPECT_EQ(fresh.zipConditions().chomeiSort, u"0"_s);
    EXPECT_EQ(value(u"ZIPCODE"_s), QString());
}

TEST_F(HistoryStoreTest, WideAreaSearchKeepsAtMost451CitiesWithThreeDigitSlots) {
    const Area104Conditions all = wide104(u"北海道"_s, cityNames(u"d"_s, 460), u"高橋"_s);
    EXPECT_EQ(history.record104Search(all), 0);
    EXPECT_EQ(value(u"104SIKUEX99(0)"_s), u"d99市"_s);
    EXPECT_EQ(value(u"104SIKUEX100(0)"_s), u"d100市"_s);
    EXPECT_EQ(value(u"104SIKUEX450(0)"_s), u"d450市"_s);
    EXPECT_EQ(namesMatching(u"104SIKUEX\\d+\\(0\\)"_s).size(), 451);
    EXPECT_EQ(history.record104Search(all), 0);

    HistoryStore fresh(store);
    fresh.Load104History();
    EXPECT_EQ(fresh.area104History(), history.area104History());
}

TEST(HistoryStoreFailure, AnUnwritableStoreKeepsTheRunGoing) {
    SettingsStore store({QString(), u"/proc/pikotel-none/HKCU.db"_s, QString()});
    HistoryStore history(store);
    EXPECT_EQ(history.LoadAreaAndIndustryHistories(), 1);
    EXPECT_EQ(history.record104Search(normalCompany(u"港区"_s, u"株式会社"_s)), -1);
    EXPECT_TRUE(history.area104History().isEmpty());
    EXPECT_EQ(history.DeletePhoneHistory(0), 1);
    EXPECT_EQ(history.SaveZipConditions({u"北海道"_s, u"函館市"_s, false, QString(), true}), 1);
    EXPECT_EQ(history.zipConditions().city, u"函館市"_s);
    EXPECT_EQ(history.SaveFindTelNo(u"0123"_s), 1);
    EXPECT_EQ(history.findTelNo(), u"0123"_s);
}

} // namespace
