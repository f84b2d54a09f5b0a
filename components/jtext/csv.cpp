#include "jtext/csv.h"

#include <cstring>

namespace pikotel::jtext {

QStringList CsvRow::texts() const {
    QStringList out;
    out.reserve(qsizetype(fields.size()));
    for (const std::string_view field : fields)
        out.append(QString::fromUtf8(field.data(), qsizetype(field.size())));
    return out;
}

CsvReader::CsvReader(std::string_view data, std::size_t offset, std::uint64_t line)
    : data_(data), pos_(offset), line_(line) {}

CsvReader::CsvReader(std::string_view data, CsvFormat format)
    : data_(data), format_(format), pos_(0), line_(1) {}

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
    const char separator = format_.separator;
    // Most rows hold no quote: split them with memchr, which scans many bytes at a time.
    const char* lineEnd =
        static_cast<const char*>(std::memchr(data_.data() + pos_, '\n', n - pos_));
    const std::size_t end = lineEnd ? static_cast<std::size_t>(lineEnd - data_.data()) : n;
    if (format_.quoting && std::memchr(data_.data() + pos_, '"', end - pos_))
        return nextQuoted(row);
    std::size_t fieldEnd = end;
    if (fieldEnd > pos_ && data_[fieldEnd - 1] == '\r')
        --fieldEnd;
    for (;;) {
        const char* stopAt =
            static_cast<const char*>(std::memchr(data_.data() + pos_, separator, fieldEnd - pos_));
        const std::size_t stop =
            stopAt ? static_cast<std::size_t>(stopAt - data_.data()) : fieldEnd;
        row.fields.push_back(data_.substr(pos_, stop - pos_));
        if (!stopAt)
            break;
        pos_ = stop + 1;
    }
    pos_ = lineEnd ? end + 1 : n;
    ++line_;
    return true;
}

bool CsvReader::nextQuoted(CsvRow& row) {
    const std::size_t n = data_.size();
    const char separator = format_.separator;
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
            if (pos_ < n && data_[pos_] != separator && data_[pos_] != '\n') {
                error_ = "text after a closing quote";
                return false;
            }
        } else {
            const std::size_t begin = pos_;
            while (pos_ < n && data_[pos_] != separator && data_[pos_] != '\n') {
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
        ++pos_; // separator
    }
    for (const Span& s : spans_) {
        row.fields.push_back(s.unescaped ? std::string_view(unescaped_).substr(s.begin, s.size)
                                         : data_.substr(s.begin, s.size));
    }
    return true;
}

} // namespace pikotel::jtext
