#pragma once

// cp932 (Windows-31J) at the engines' boundary. Texts are UTF-8 inside the dictionaries and
// cp932 in the records the program exchanges with the engines. ICU's windows-31j converter
// is the one Qt's QStringEncoder("windows-31j") uses; we call it directly to substitute "?"
// for characters cp932 lacks, as the Windows conversion does (ICU's own substitute is the
// unassigned code FC FC). Wave dash U+301C and minus sign U+2212 travel as their cp932 forms
// U+FF5E and U+FF0D; normalizeUtf8 applies the same mapping to stored texts.

#include <cstddef>
#include <string>
#include <string_view>

struct UConverter;

namespace pikotel::dict {

class Cp932Codec {
public:
    Cp932Codec();
    ~Cp932Codec();
    Cp932Codec(const Cp932Codec&) = delete;
    Cp932Codec& operator=(const Cp932Codec&) = delete;

    bool isValid() const { return converter_ != nullptr; }
    // Appends the cp932 form of a UTF-8 text.
    void encode(std::string_view utf8, std::string& out);
    // The UTF-8 form of cp932 bytes; false for bytes that are not cp932.
    bool decode(std::string_view cp932, std::string& utf8);

private:
    UConverter* converter_ = nullptr;
};

// A text handed to an engine: length bytes of cp932 at text; a NUL-terminated text ends at
// its NUL even when the length says more, a fixed-width field is taken as the length says.
// False for a negative length, one above capacity, a null text with a length, bytes that are
// not cp932, or control characters (which no stored text holds).
enum class TextKind { NulTerminated, FixedWidth };
bool decodeArgument(Cp932Codec& codec, const char* text, long long length, std::size_t capacity,
                    std::string& utf8, TextKind kind = TextKind::NulTerminated);

// Length of the longest prefix of cp932 bytes, at most maxBytes long, that ends on a
// character boundary.
std::size_t cp932PrefixLength(std::string_view cp932, std::size_t maxBytes);

// Rewrites U+301C as U+FF5E and U+2212 as U+FF0D in place (equal byte lengths in UTF-8).
void normalizeUtf8(char* data, std::size_t size);

} // namespace pikotel::dict
