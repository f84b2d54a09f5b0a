#pragma once

// Deterministic sample listings for the directory dictionaries: personal and business
// listings at real addresses (Japan Post's postal data) with real area codes, written as
// the listing source CSV, plus the area table and the exchange-code table derived from the
// same run. The same seed and count give byte-identical files.
//
// Listings (UTF-8, LF, RFC 4180 quoting, one header line):
//   number,name,reading,kind,zip,pref,city,city_code,town,block
//   03-3456-7890,山田　太郎,ヤマダ　タロウ,1,160-0023,東京都,新宿区,13104,西新宿,３丁目１２－５
// number hyphenated as printed (area code, exchange, four subscriber digits; ten digits in
// all); reading in full-width katakana, persons with one U+3000 between surname and given
// name in both fields; kind 1 individual, 2 corporate; town empty where the municipality
// has no named towns; block in full-width digits, now and then with a building. A few
// numbers carry two to four listings at one address.
// Area table (UTF-8, header "city_code,pref,city"): every municipality of the postal data,
// designated cities by their wards, in code order.
// Exchange table (UTF-8 TSV, no header): exchange, city_code, pref, city, town, block,
// where exchange is the number's digits before its last hyphen group and block the chōme
// ("３丁目") or empty; one row per distinct area, sorted by exchange, city_code, town, block.

#include <QString>
#include <QtGlobal>

namespace pikotel::gen {

struct GeneratorOptions {
    qint64 listings = 0;
    quint64 seed = 1;
    QString outCsv;
    QString areasOut;    // empty: "areas.csv" beside outCsv
    QString exchangeOut; // empty: "exchange.tsv" beside outCsv
    // Holds ken_all_merged.utf8.csv, names_ipadic_gimei.tsv (unpacked) and areacodes.tsv.
    QString sourceDataDir;
};

// Writes the three files; false with a message in *error (when given) on bad options,
// unreadable source data or a failed write. Files are replaced only when complete.
bool generateListings(const GeneratorOptions& options, QString* error);

} // namespace pikotel::gen
