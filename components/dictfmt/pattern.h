#pragma once

// Name and town patterns: "*" stands for any run of characters (also none), every other
// character stands for itself. Patterns and texts are UTF-8, so a match found byte by byte
// always starts and ends on a character boundary.

#include <string>
#include <string_view>
#include <vector>

namespace pikotel::dict {

class Pattern {
public:
    // An empty pattern matches every text, as "*" does.
    explicit Pattern(std::string_view utf8 = {});

    bool matches(std::string_view text) const;
    // True when every text matches (the pattern holds nothing but "*").
    bool matchesAll() const { return longest_.empty(); }
    // The longest literal piece; any match contains it. Empty when matchesAll().
    std::string_view anchor() const { return longest_; }
    // The literal piece every match begins with; empty when the pattern begins with "*".
    std::string_view head() const {
        return anchoredStart_ && !pieces_.empty() ? std::string_view(pieces_.front())
                                                  : std::string_view();
    }
    // The literal pieces between the "*", in order.
    const std::vector<std::string>& pieces() const { return pieces_; }

private:
    std::vector<std::string> pieces_;
    bool anchoredStart_ = false;
    bool anchoredEnd_ = false;
    std::string longest_;
};

} // namespace pikotel::dict
