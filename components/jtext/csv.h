#pragma once

// Rows of the source files: RFC 4180 CSV over a byte buffer (quoted fields may hold the
// separator, quotes and line breaks; CR LF and LF both end a row), or tab-separated rows in
// which a quote is an ordinary character.

#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pikotel::jtext {

struct CsvRow {
    std::vector<std::string_view> fields;
    std::size_t offset = 0; // of the row's first byte
    std::uint64_t line = 0; // 1-based line of the row's first byte

    // An empty line.
    bool blank() const { return fields.size() == 1 && fields.front().empty(); }
    // The fields, read as UTF-8.
    QStringList texts() const;
};

struct CsvFormat {
    char separator = ',';
    bool quoting = true;
};
inline constexpr CsvFormat kTabSeparated{'\t', false};

class CsvReader {
public:
    explicit CsvReader(std::string_view data, std::size_t offset = 0, std::uint64_t line = 1);
    CsvReader(std::string_view data, CsvFormat format);

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

    bool nextQuoted(CsvRow& row);

    std::string_view data_;
    CsvFormat format_;
    std::size_t pos_;
    std::uint64_t line_;
    std::string unescaped_;
    std::vector<Span> spans_;
    std::string error_;
};

} // namespace pikotel::jtext
