#include "csv.h"

#include "hash.h"

#include <algorithm>

namespace pikotel::dict {

using jtext::CsvRow;

bool isHeader(const CsvRow& row, std::string_view header) {
    std::size_t i = 0;
    std::size_t start = 0;
    while (start <= header.size()) {
        std::size_t comma = header.find(',', start);
        if (comma == std::string_view::npos)
            comma = header.size();
        if (i >= row.fields.size() || row.fields[i] != header.substr(start, comma - start))
            return false;
        ++i;
        start = comma + 1;
    }
    return i == row.fields.size();
}

namespace {

bool checkUtf8(std::string_view text, bool allowControls) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            if (!allowControls && (c < 0x20 || c == 0x7F))
                return false;
            ++i;
            continue;
        }
        std::size_t len;
        std::uint32_t cp;
        if ((c & 0xE0) == 0xC0) {
            len = 2;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            len = 3;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            len = 4;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + len > n)
            return false;
        for (std::size_t k = 1; k < len; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (p[i + k] & 0x3F);
        }
        const bool overlong =
            (len == 2 && cp < 0x80) || (len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000);
        if (overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += len;
    }
    return true;
}

// Full-width katakana (with ・ and ー), parts separated by one ideographic space; the text is
// valid UTF-8 already.
bool isKatakanaReading(std::string_view text) {
    if (text.empty() || text.size() % 3 != 0)
        return false;
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    bool space = true; // a leading space counts as a doubled one
    for (std::size_t i = 0; i < text.size(); i += 3) {
        if (p[i] != 0xE3)
            return false;
        const bool kana = (p[i + 1] == 0x82 && p[i + 2] >= 0xA1 && p[i + 2] <= 0xBF) ||
                          (p[i + 1] == 0x83 && p[i + 2] >= 0x80 && p[i + 2] <= 0xBC);
        const bool blank = p[i + 1] == 0x80 && p[i + 2] == 0x80;
        if (!kana && (!blank || space))
            return false;
        space = blank;
    }
    return !space;
}

// Stored texts must not hold control characters: the scan text uses two as separators.
bool isCleanText(std::string_view text) {
    return checkUtf8(text, false);
}

} // namespace

bool isValidUtf8(std::string_view text) {
    return checkUtf8(text, true);
}

namespace {

bool isDigitsAndHyphens(std::string_view text) {
    for (char c : text) {
        if ((c < '0' || c > '9') && c != '-')
            return false;
    }
    return true;
}

} // namespace

bool parseCityCode(std::string_view text, std::uint32_t& code) {
    if (text.size() != 5)
        return false;
    code = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        code = code * 10 + static_cast<std::uint32_t>(c - '0');
    }
    return code > 0;
}

bool readListing(const CsvRow& row, bool withOp, ListingRow& out) {
    if (row.fields.size() != (withOp ? 11u : 10u))
        return false;
    const std::string_view* f = row.fields.data();
    out = ListingRow{};
    if (withOp) {
        if (f[0] == "add")
            out.op = DeltaOp::Add;
        else if (f[0] == "replace")
            out.op = DeltaOp::Replace;
        else if (f[0] == "remove")
            out.op = DeltaOp::Remove;
        else
            return false;
        ++f;
    }
    out.number = f[0];
    const auto key = displayNumberKey(out.number);
    if (!key)
        return false;
    out.numberKey = *key;
    if (out.op == DeltaOp::Remove)
        return true;
    out.name = f[1];
    out.reading = f[2];
    out.zip = f[4];
    out.pref = f[5];
    out.city = f[6];
    out.town = f[8];
    out.block = f[9];
    out.kind = f[3] == "2" ? PersonKind::Corporate : PersonKind::Individual;
    return parseCityCode(f[7], out.cityCode);
}

bool parseListing(const CsvRow& row, bool withOp, ListingRow& out, std::string& error) {
    const std::size_t columns = withOp ? 11 : 10;
    if (row.fields.size() != columns) {
        error = "expected " + std::to_string(columns) + " fields, found " +
                std::to_string(row.fields.size());
        return false;
    }
    const std::string_view* f = row.fields.data() + (withOp ? 1 : 0);
    if (withOp && f[-1] != "add" && f[-1] != "replace" && f[-1] != "remove") {
        error = "op must be add, replace or remove";
        return false;
    }
    if (!isDigitsAndHyphens(f[0]) || !displayNumberKey(f[0]) || f[0].size() > kMaxNumberText) {
        error = "number must be 1 to 18 digits with hyphens, at most 16 characters";
        return false;
    }
    if (withOp && f[-1] == "remove")
        return readListing(row, withOp, out);
    if (f[3] != "1" && f[3] != "2") {
        error = "kind must be 1 or 2";
        return false;
    }
    std::uint32_t code = 0;
    if (!parseCityCode(f[7], code)) {
        error = "city_code must be 5 digits";
        return false;
    }
    if (f[1].empty() || f[5].empty() || f[6].empty()) {
        error = "name, pref and city must not be empty";
        return false;
    }
    if (!isDigitsAndHyphens(f[4]) || f[4].size() > kMaxZipText) {
        error = "zip must be digits and hyphens, at most 12 characters";
        return false;
    }
    for (int i : {1, 2, 5, 6, 8, 9}) {
        if (!isCleanText(f[i])) {
            error = "text fields must be UTF-8 without control characters";
            return false;
        }
    }
    if (!isKatakanaReading(f[2])) {
        error = "reading must be full-width katakana (parts separated by one U+3000)";
        return false;
    }
    return readListing(row, withOp, out);
}

void DuplicateRows::add(const CsvRow& row) {
    Hash64Stream hash;
    static constexpr std::uint8_t kSeparator = 0x1F;
    for (const std::string_view field : row.fields) {
        hash.update(std::span(reinterpret_cast<const std::uint8_t*>(field.data()), field.size()));
        hash.update(std::span(&kSeparator, 1));
    }
    rows_.push_back({hash.finish(), row.offset, row.line});
}

std::optional<std::pair<std::uint64_t, std::uint64_t>>
DuplicateRows::first(std::string_view data) const {
    std::vector<Seen> sorted = rows_;
    std::sort(sorted.begin(), sorted.end(), [](const Seen& a, const Seen& b) {
        return a.hash != b.hash ? a.hash < b.hash : a.line < b.line;
    });
    const auto fields = [&](const Seen& s) {
        jtext::CsvReader reader(data, s.offset, s.line);
        CsvRow row;
        reader.next(row);
        return std::vector<std::string>(row.fields.begin(), row.fields.end());
    };
    std::optional<std::pair<std::uint64_t, std::uint64_t>> found;
    for (std::size_t end = 0, start = 0; start < sorted.size(); start = end) {
        end = start + 1;
        while (end < sorted.size() && sorted[end].hash == sorted[start].hash)
            ++end;
        for (std::size_t j = start + 1; j < end; ++j) {
            if (found && sorted[j].line >= found->first)
                break;
            const std::vector<std::string> later = fields(sorted[j]);
            for (std::size_t i = start; i < j; ++i) {
                if (fields(sorted[i]) == later) {
                    found = std::pair(sorted[j].line, sorted[i].line);
                    break;
                }
            }
        }
    }
    return found;
}

} // namespace pikotel::dict
