#pragma once

// Builds a dictionary image from the listing CSV: a main dictionary, or a delta that adds,
// replaces and removes listings of a main one by number. The output is written beside its
// final name and renamed into place only when complete, so a reader never sees half a file.

#include "format.h"

#include <QString>

#include <cstdint>

namespace pikotel::dict {

struct BuildOptions {
    // The main dictionary's listings; for a delta, the listings it amends (checked against).
    QString listingsCsv;
    // When set, a delta is built from this CSV (the listing CSV with a leading op column).
    QString deltaCsv;
    // Optional area table (city_code,pref,city); without it the table is derived from the
    // listings.
    QString areasCsv;
    QString output;
    Engine engine = Engine::Dxs;
    // Seconds since 1970 (UTC); negative: SOURCE_DATE_EPOCH when set, else now.
    std::int64_t buildTime = -1;
};

struct BuildReport {
    std::uint64_t listings = 0;
    std::uint32_t areas = 0;
    std::uint32_t groups = 0;
    std::uint64_t maskedNumbers = 0;
    std::uint64_t fileSize = 0;
};

// False with a message naming the file and line when the input is unusable or the output
// cannot be written.
bool buildDictionary(const BuildOptions& options, BuildReport* report, QString* error);

} // namespace pikotel::dict
