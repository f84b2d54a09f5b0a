#include "pattern.h"

#include <cstring>

namespace pikotel::dict {

namespace {

// Start of the first occurrence of needle in hay at or after from, or npos.
std::size_t find(std::string_view hay, std::string_view needle, std::size_t from) {
    if (needle.size() > hay.size() - from)
        return std::string_view::npos;
    const void* hit = memmem(hay.data() + from, hay.size() - from, needle.data(), needle.size());
    return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - hay.data())
               : std::string_view::npos;
}

} // namespace

Pattern::Pattern(std::string_view utf8) {
    if (utf8.empty())
        return;
    anchoredStart_ = utf8.front() != '*';
    anchoredEnd_ = utf8.back() != '*';
    std::size_t start = 0;
    while (start <= utf8.size()) {
        std::size_t star = utf8.find('*', start);
        if (star == std::string_view::npos)
            star = utf8.size();
        if (star > start)
            pieces_.emplace_back(utf8.substr(start, star - start));
        start = star + 1;
    }
    for (const std::string& piece : pieces_) {
        if (piece.size() > longest_.size())
            longest_ = piece;
    }
}

bool Pattern::matches(std::string_view text) const {
    if (pieces_.empty())
        return true;
    std::size_t first = 0;
    std::size_t last = pieces_.size();
    std::size_t pos = 0;
    std::size_t end = text.size();
    if (anchoredStart_) {
        const std::string& head = pieces_.front();
        if (!text.starts_with(head))
            return false;
        pos = head.size();
        ++first;
    }
    if (anchoredEnd_ && last > first) {
        const std::string& tail = pieces_.back();
        if (tail.size() > end - pos || !text.ends_with(tail))
            return false;
        end -= tail.size();
        --last;
    } else if (anchoredEnd_ && pieces_.size() == 1) {
        // A pattern without "*" must cover the whole text.
        return text.size() == pieces_.front().size();
    }
    // Leftmost placement of each middle piece leaves the most room for the rest.
    const std::string_view middle = text.substr(0, end);
    for (std::size_t i = first; i < last; ++i) {
        const std::size_t at = find(middle, pieces_[i], pos);
        if (at == std::string_view::npos)
            return false;
        pos = at + pieces_[i].size();
    }
    return true;
}

} // namespace pikotel::dict
