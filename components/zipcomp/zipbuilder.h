#pragma once

// Builds the postal-code dictionary image from Japan Post's data (the merged KEN_ALL rows
// and the business-office rows) and, when there is one, the exchange-code table. How town
// texts become towns and blocks is written down in RULES.md; the image layout in FORMAT.md.

#include "zipcomp/zipkey.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace pikotel::zipcomp {

class ZipDictionaryBuilder {
public:
    // Each reader adds the rows of one file. On a malformed row it returns false and sets
    // the error to "<file>:<line>: <reason>".
    bool readAddresses(const QString& path, QString& error);
    bool readBusinesses(const QString& path, QString& error);
    bool readExchanges(const QString& path, QString& error);

    // The image of everything read so far, for the given build date (yyyymmdd) and the
    // licence of the key block the program will hand over.
    QByteArray build(std::uint32_t buildDate, const LicenceId& licence);

    // Exchange rows build() could not place on a town of the dictionary (kept for their
    // city) or on a city (dropped).
    const QStringList& warnings() const { return warnings_; }

    // Writes the image as the folder's "pp00", replacing an older one only when complete.
    static bool write(const QByteArray& image, const QString& folder, QString& error);

private:
    struct AddressRow {
        std::uint32_t city;
        std::uint32_t code;
        QString prefReading, cityReading, townReading, pref, cityName, town;
        QString oldCode; // 3 or 5 digits; empty on the second source's rows
        bool cleaned;    // a row of the second source
    };
    struct BusinessRow {
        std::uint32_t city;
        std::uint32_t code;
        QString pref, cityName, town, street, office, officeReading;
    };
    struct ExchangeRow {
        QByteArray digits;
        std::uint32_t city;
        QString town, chome, where;
    };

    std::vector<AddressRow> addresses_;
    std::vector<BusinessRow> businesses_;
    std::vector<ExchangeRow> exchanges_;
    bool haveExchanges_ = false;
    QStringList warnings_;
};

// Orders texts as a reader expects: runs of digits (ASCII or full-width) by their value,
// everything else by code point. Negative, zero or positive like a comparison.
int naturalCompare(const QString& a, const QString& b);

} // namespace pikotel::zipcomp
