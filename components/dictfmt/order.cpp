#include "order.h"

#include <unicode/ucol.h>
#include <unicode/ustring.h>

#include <tuple>
#include <vector>

namespace pikotel::dict {

DirectoryOrder::DirectoryOrder() {
    UErrorCode status = U_ZERO_ERROR;
    collator_ = ucol_open("ja", &status);
    if (U_FAILURE(status)) {
        ucol_close(collator_);
        collator_ = nullptr;
    }
}

DirectoryOrder::~DirectoryOrder() {
    ucol_close(collator_);
}

void DirectoryOrder::appendReadingKey(std::string_view reading, std::string& out) const {
    UChar stack[256];
    std::vector<UChar> heap;
    UChar* utf16 = stack;
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8Lenient(stack, 256, &length, reading.data(), static_cast<int32_t>(reading.size()),
                         &status);
    if (status == U_BUFFER_OVERFLOW_ERROR) {
        heap.resize(static_cast<std::size_t>(length));
        utf16 = heap.data();
        status = U_ZERO_ERROR;
        u_strFromUTF8Lenient(utf16, length, &length, reading.data(),
                             static_cast<int32_t>(reading.size()), &status);
    }
    const std::size_t base = out.size();
    out.resize(base + 64);
    int32_t needed = ucol_getSortKey(collator_, utf16, length,
                                     reinterpret_cast<uint8_t*>(out.data() + base), 64);
    if (needed > 64) {
        out.resize(base + static_cast<std::size_t>(needed));
        needed = ucol_getSortKey(collator_, utf16, length,
                                 reinterpret_cast<uint8_t*>(out.data() + base), needed);
    }
    // The key ends with a NUL that ICU counts; keep it so that a key never is a prefix of
    // another key's bytes in a way memcmp would misorder.
    out.resize(base + static_cast<std::size_t>(needed));
}

int DirectoryOrder::compareReadings(std::string_view a, std::string_view b) const {
    UErrorCode status = U_ZERO_ERROR;
    return ucol_strcollUTF8(collator_, a.data(), static_cast<int32_t>(a.size()), b.data(),
                            static_cast<int32_t>(b.size()), &status);
}

bool DirectoryOrder::less(const ListingView& a, const ListingView& b) const {
    if (a.cityCode != b.cityCode)
        return a.cityCode < b.cityCode;
    if (a.kind != b.kind)
        return a.kind < b.kind;
    if (const int c = compareReadings(a.reading, b.reading); c != 0)
        return c < 0;
    const auto keyA = displayNumberKey(a.number).value_or(0);
    const auto keyB = displayNumberKey(b.number).value_or(0);
    return std::tie(keyA, a.name, a.town, a.block, a.zip) <
           std::tie(keyB, b.name, b.town, b.block, b.zip);
}

} // namespace pikotel::dict
