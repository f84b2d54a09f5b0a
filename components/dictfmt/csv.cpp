#include "csv.h"

namespace pikotel::dict {

CsvReader::CsvReader(std::string_view data, std::size_t offset, std::uint64_t line)
    : data_(data), pos_(offset), line_(line) {}

bool CsvReader::next(CsvRow& row) {
    row.fields.clear();
    spans_.clear();
    unescaped_.clear();
    error_.clear();
    if (pos_ >= data_.size())
        return false;
    row.offset = pos_;
    row.line = line_;
    const std::size_t n = data_.size();
    for (;;) {
        if (pos_ < n && data_[pos_] == '"') {
            ++pos_;
            const std::size_t begin = pos_;
            bool escaped = false;
            std::size_t unescapedBegin = unescaped_.size();
            for (;;) {
                if (pos_ >= n) {
                    error_ = "unterminated quoted field";
                    return false;
                }
                const char c = data_[pos_];
                if (c == '"') {
                    if (pos_ + 1 < n && data_[pos_ + 1] == '"') {
                        if (!escaped) {
                            escaped = true;
                            unescaped_.append(data_.substr(begin, pos_ - begin));
                        }
                        unescaped_.push_back('"');
                        pos_ += 2;
                        continue;
                    }
                    break;
                }
                if (c == '\n')
                    ++line_;
                if (escaped)
                    unescaped_.push_back(c);
                ++pos_;
            }
            if (escaped)
                spans_.push_back({true, unescapedBegin, unescaped_.size() - unescapedBegin});
            else
                spans_.push_back({false, begin, pos_ - begin});
            ++pos_; // closing quote
            if (pos_ < n && data_[pos_] == '\r' && pos_ + 1 < n && data_[pos_ + 1] == '\n')
                ++pos_;
            if (pos_ < n && data_[pos_] != ',' && data_[pos_] != '\n') {
                error_ = "text after a closing quote";
                return false;
            }
        } else {
            const std::size_t begin = pos_;
            while (pos_ < n && data_[pos_] != ',' && data_[pos_] != '\n') {
                if (data_[pos_] == '"') {
                    error_ = "quote inside an unquoted field";
                    return false;
                }
                ++pos_;
            }
            std::size_t end = pos_;
            if (end > begin && data_[end - 1] == '\r' && (pos_ >= n || data_[pos_] == '\n'))
                --end;
            spans_.push_back({false, begin, end - begin});
        }
        if (pos_ >= n)
            break;
        if (data_[pos_] == '\n') {
            ++pos_;
            ++line_;
            break;
        }
        ++pos_; // comma
    }
    for (const Span& s : spans_) {
        row.fields.push_back(s.unescaped ? std::string_view(unescaped_).substr(s.begin, s.size)
                                         : data_.substr(s.begin, s.size));
    }
    return true;
}

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

bool isValidUtf8(std::string_view text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        const unsigned char c = p[i];
        if (c < 0x80) {
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

namespace {

// Stored texts must not hold control characters: the scan text uses two as separators.
bool isCleanText(std::string_view text) {
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F)
            return false;
    }
    return isValidUtf8(text);
}

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

bool parseListing(const CsvRow& row, bool withOp, ListingRow& out, std::string& error) {
    const std::size_t columns = withOp ? 11 : 10;
    if (row.fields.size() != columns) {
        error = "expected " + std::to_string(columns) + " fields, found " +
                std::to_string(row.fields.size());
        return false;
    }
    const std::string_view* f = row.fields.data();
    out = ListingRow{};
    if (withOp) {
        if (f[0] == "add")
            out.op = DeltaOp::Add;
        else if (f[0] == "replace")
            out.op = DeltaOp::Replace;
        else if (f[0] == "remove")
            out.op = DeltaOp::Remove;
        else {
            error = "op must be add, replace or remove";
            return false;
        }
        ++f;
    }
    out.number = f[0];
    const auto key = displayNumberKey(out.number);
    if (!isDigitsAndHyphens(out.number) || !key || out.number.size() > kMaxNumberText) {
        error = "number must be 1 to 18 digits with hyphens, at most 16 characters";
        return false;
    }
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
    if (f[3] == "1")
        out.kind = PersonKind::Individual;
    else if (f[3] == "2")
        out.kind = PersonKind::Corporate;
    else {
        error = "kind must be 1 or 2";
        return false;
    }
    if (!parseCityCode(f[7], out.cityCode)) {
        error = "city_code must be 5 digits";
        return false;
    }
    if (out.name.empty() || out.pref.empty() || out.city.empty()) {
        error = "name, pref and city must not be empty";
        return false;
    }
    if (!isDigitsAndHyphens(out.zip) || out.zip.size() > kMaxZipText) {
        error = "zip must be digits and hyphens, at most 12 characters";
        return false;
    }
    for (std::string_view text : {out.name, out.reading, out.pref, out.city, out.town, out.block}) {
        if (!isCleanText(text)) {
            error = "text fields must be UTF-8 without control characters";
            return false;
        }
    }
    return true;
}

} // namespace pikotel::dict
