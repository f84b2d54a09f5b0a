#include "cp932text.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace pikotel::dict {

bool decodeArgument(jtext::Cp932Codec& codec, const char* text, long long length,
                    std::size_t capacity, std::string& utf8, TextKind kind) {
    utf8.clear();
    if (length < 0 || static_cast<unsigned long long>(length) > capacity)
        return false;
    if (length == 0)
        return true;
    if (!text)
        return false;
    const std::size_t size = kind == TextKind::NulTerminated
                                 ? strnlen(text, static_cast<std::size_t>(length))
                                 : static_cast<std::size_t>(length);
    const std::string_view bytes(text, size);
    // Digits and other ASCII are the same bytes in cp932 and UTF-8: no converter needed.
    if (std::all_of(bytes.begin(), bytes.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        utf8.assign(bytes);
    else if (!codec.decode(bytes, utf8))
        return false;
    for (char c : utf8) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return false;
    }
    return true;
}

} // namespace pikotel::dict
