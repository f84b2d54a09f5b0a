#pragma once

// Texts the engines are handed: cp932 (Windows-31J) in the records the program exchanges with
// them, UTF-8 inside the dictionaries.

#include "jtext/cp932.h"

#include <cstddef>
#include <string>

namespace pikotel::dict {

// A text handed to an engine: length bytes of cp932 at text; a NUL-terminated text ends at
// its NUL even when the length says more, a fixed-width field is taken as the length says.
// False for a negative length, one above capacity, a null text with a length, bytes that are
// not cp932, or control characters (which no stored text holds).
enum class TextKind { NulTerminated, FixedWidth };
bool decodeArgument(jtext::Cp932Codec& codec, const char* text, long long length,
                    std::size_t capacity, std::string& utf8,
                    TextKind kind = TextKind::NulTerminated);

} // namespace pikotel::dict
