#pragma once

// The listing CSV (and its delta and area-table siblings): the checks a listing row must pass
// before it goes into a dictionary.

#include "format.h"
#include "jtext/csv.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pikotel::dict {

enum class DeltaOp { Add, Replace, Remove };

// One row of the listing CSV (or of the delta CSV, which has a leading op column).
struct ListingRow {
    DeltaOp op = DeltaOp::Add;
    std::string_view number;
    std::string_view name;
    std::string_view reading;
    PersonKind kind = PersonKind::Individual;
    std::string_view zip;
    std::string_view pref;
    std::string_view city;
    std::uint32_t cityCode = 0;
    std::string_view town;
    std::string_view block;
    std::uint64_t numberKey = 0;
};

inline constexpr std::string_view kListingHeader =
    "number,name,reading,kind,zip,pref,city,city_code,town,block";
inline constexpr std::string_view kDeltaHeader =
    "op,number,name,reading,kind,zip,pref,city,city_code,town,block";
inline constexpr std::string_view kAreaHeader = "city_code,pref,city";

// Longest display number and postal code: the alternate engine's fixed fields.
inline constexpr std::size_t kMaxNumberText = 16;
inline constexpr std::size_t kMaxZipText = 12;

// Whether a row's fields are exactly the given header's names.
bool isHeader(const jtext::CsvRow& row, std::string_view header);

// Checks one data row; on failure error says why (without the line).
bool parseListing(const jtext::CsvRow& row, bool withOp, ListingRow& out, std::string& error);
// Reads a row parseListing accepted before, without checking it again.
bool readListing(const jtext::CsvRow& row, bool withOp, ListingRow& out);

// Parses a 5-digit municipality code.
bool parseCityCode(std::string_view text, std::uint32_t& code);

bool isValidUtf8(std::string_view text);

} // namespace pikotel::dict
