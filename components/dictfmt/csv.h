#pragma once

// The listing CSV (and its delta and area-table siblings): the checks a listing row must pass
// before it goes into a dictionary.

#include "format.h"
#include "jtext/csv.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
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

// Rows that repeat an earlier row field for field. Keeps a hash per row and compares rows in
// full (read again from the data) only where hashes meet.
class DuplicateRows {
public:
    void add(const jtext::CsvRow& row);
    // The first row that repeats an earlier one: {its line, the earlier row's line}; nullopt
    // when every row differs. data is what the rows were read from.
    std::optional<std::pair<std::uint64_t, std::uint64_t>> first(std::string_view data) const;

private:
    struct Seen {
        std::uint64_t hash;
        std::size_t offset;
        std::uint64_t line;
    };
    std::vector<Seen> rows_;
};

// Parses a 5-digit municipality code.
bool parseCityCode(std::string_view text, std::uint32_t& code);

bool isValidUtf8(std::string_view text);

} // namespace pikotel::dict
