#pragma once

// Directory order: city code, person kind, reading in Japanese collation (ICU, locale "ja":
// gojūon order, voiced after unvoiced, prolonged sound mark as its vowel), then the number,
// then the remaining texts so that the order is total. The builder sorts with it and the
// engines merge main and delta hits with it, so both always agree.

#include "reader.h"

#include <memory>
#include <string>
#include <string_view>

struct UCollator;

namespace pikotel::dict {

class DirectoryOrder {
public:
    DirectoryOrder();
    ~DirectoryOrder();
    DirectoryOrder(const DirectoryOrder&) = delete;
    DirectoryOrder& operator=(const DirectoryOrder&) = delete;

    bool isValid() const { return collator_ != nullptr; }

    // Appends the collation key of a UTF-8 reading to out; keys compare with memcmp in the
    // same order as compareReadings.
    void appendReadingKey(std::string_view reading, std::string& out) const;
    int compareReadings(std::string_view a, std::string_view b) const;
    // Whether a comes before b in the directory (both fully read).
    bool less(const ListingView& a, const ListingView& b) const;

private:
    UCollator* collator_ = nullptr;
};

} // namespace pikotel::dict
