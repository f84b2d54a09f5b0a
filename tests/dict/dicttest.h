#pragma once

// Listings for the dictionary tests and the reference the engines are held against: a
// straightforward filter over the same rows, written without the engines' code (QString,
// regular expressions and Qt's Japanese collator instead of byte scans and ICU sort keys).

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <ostream>

// Readable texts in test failures.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace pikotel::test {

struct Listing {
    QString number;
    QString name;
    QString reading;
    int kind = 1;
    QString zip;
    QString pref;
    QString city;
    int cityCode = 0;
    QString town;
    QString block;
};

// The seven texts of a hit: number, name, postal code, prefecture, city, town, block.
using Hit = QStringList;

// Deterministic listings over a few cities: common and rare surnames, names whose cp932
// bytes end in 0x5C or hold ASCII trail bytes, businesses, shared numbers.
QList<Listing> sampleListings(int count, std::uint32_t seed);

QString listingCsv(const QList<Listing>& listings);
// Reads a listing CSV (RFC 4180); false when a record is malformed.
bool readListingCsv(const QString& path, QList<Listing>* listings);
bool writeFile(const QString& path, const QString& text);

struct NameCondition {
    int cityCode = 0;
    bool individuals = true;
    bool corporates = false;
    QString name; // pattern, "*" any run
    QString town; // the town as typed: towns beginning with it
    int limit = 0;
};

// Reference results: the matching listings in directory order.
QList<Hit> expectedByName(const QList<Listing>& listings, const NameCondition& condition);
QList<Hit> expectedByNumber(const QList<Listing>& listings, const QString& digits,
                            bool individuals = true, bool corporates = true);

QString digitsOf(const QString& number);
// The stored form of a text: U+301C and U+2212 as their cp932 forms.
QString storedForm(QString text);

} // namespace pikotel::test
