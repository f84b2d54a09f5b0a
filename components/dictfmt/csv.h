#pragma once

// The listing CSV (and its delta and area-table siblings): RFC 4180 rows over a byte buffer,
// and the checks a listing row must pass before it goes into a dictionary.

#include "format.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pikotel::dict {

struct CsvRow {
    std::vector<std::string_view> fields;
    std::size_t offset = 0; // of the row's first byte
    std::uint64_t line = 0; // 1-based line of the row's first byte
};

class CsvReader {
public:
    explicit CsvReader(std::string_view data, std::size_t offset = 0, std::uint64_t line = 1);

    // The next row; false at the end of the data or on a malformed row (error() tells).
    // Field views stay valid until the next call.
    bool next(CsvRow& row);
    const std::string& error() const { return error_; }

private:
    struct Span {
        bool unescaped;
        std::size_t begin;
        std::size_t size;
    };

    std::string_view data_;
    std::size_t pos_;
    std::uint64_t line_;
    std::string unescaped_;
    std::vector<Span> spans_;
    std::string error_;
};

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
bool isHeader(const CsvRow& row, std::string_view header);

// Checks one data row; on failure error says why (without the line).
bool parseListing(const CsvRow& row, bool withOp, ListingRow& out, std::string& error);
// Reads a row parseListing accepted before, without checking it again.
bool readListing(const CsvRow& row, bool withOp, ListingRow& out);

// Parses a 5-digit municipality code.
bool parseCityCode(std::string_view text, std::uint32_t& code);

bool isValidUtf8(std::string_view text);

} // namespace pikotel::dict
