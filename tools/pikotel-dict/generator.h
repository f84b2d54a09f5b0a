#pragma once

// Deterministic sample listings for the directory dictionaries: personal and business
// listings at real addresses (Japan Post's postal data) with real area codes, written as
// the listing source CSV, plus the area table and the exchange-code table derived from the
// same run. The same seed and count give byte-identical files.

#include <QString>
#include <QtGlobal>

namespace pikotel::gen {

struct GeneratorOptions {
    qint64 listings = 0;
    quint64 seed = 1;
    QString outCsv;
    QString areasOut;    // empty: "areas.csv" beside outCsv
    QString exchangeOut; // empty: "exchange.tsv" beside outCsv
    // Holds ken_all_merged.utf8.csv and names_ipadic_gimei.tsv (unpacked).
    QString sourceDataDir;
};

// Writes the three files; false with a message in *error (when given) on bad options,
// unreadable source data or a failed write. Files are replaced only when complete.
bool generateListings(const GeneratorOptions& options, QString* error);

} // namespace pikotel::gen
