#include "cp932text.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace pikotel::dict {

namespace {

void mapToCp932Forms(UChar* text, int32_t length) {
    for (int32_t i = 0; i < length; ++i) {
        if (text[i] == 0x301C)
            text[i] = 0xFF5E;
        else if (text[i] == 0x2212)
            text[i] = 0xFF0D;
    }
}

bool isLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

} // namespace

Cp932Codec::Cp932Codec() {
    UErrorCode status = U_ZERO_ERROR;
    converter_ = ucnv_open("windows-31j", &status);
    if (U_SUCCESS(status))
        ucnv_setSubstChars(converter_, "?", 1, &status);
    if (U_SUCCESS(status))
        ucnv_setToUCallBack(converter_, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                            &status);
    if (U_FAILURE(status)) {
        ucnv_close(converter_);
        converter_ = nullptr;
    }
}

Cp932Codec::~Cp932Codec() {
    ucnv_close(converter_);
}

void Cp932Codec::encode(std::string_view utf8, std::string& out) {
    if (utf8.empty())
        return;
    std::vector<UChar> utf16(utf8.size() + 1);
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8Lenient(utf16.data(), static_cast<int32_t>(utf16.size()), &length, utf8.data(),
                         static_cast<int32_t>(utf8.size()), &status);
    if (U_FAILURE(status))
        return;
    mapToCp932Forms(utf16.data(), length);
    const std::size_t base = out.size();
    out.resize(base + static_cast<std::size_t>(length) * 2 + 2);
    ucnv_resetFromUnicode(converter_);
    status = U_ZERO_ERROR;
    const int32_t written =
        ucnv_fromUChars(converter_, out.data() + base, static_cast<int32_t>(out.size() - base),
                        utf16.data(), length, &status);
    out.resize(U_SUCCESS(status) || status == U_STRING_NOT_TERMINATED_WARNING
                   ? base + static_cast<std::size_t>(written)
                   : base);
}

bool Cp932Codec::decode(std::string_view cp932, std::string& utf8) {
    utf8.clear();
    if (cp932.empty())
        return true;
    std::vector<UChar> utf16(cp932.size() + 1);
    ucnv_resetToUnicode(converter_);
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length =
        ucnv_toUChars(converter_, utf16.data(), static_cast<int32_t>(utf16.size()), cp932.data(),
                      static_cast<int32_t>(cp932.size()), &status);
    if (U_FAILURE(status))
        return false;
    mapToCp932Forms(utf16.data(), length);
    utf8.resize(static_cast<std::size_t>(length) * 3 + 1);
    int32_t written = 0;
    status = U_ZERO_ERROR;
    u_strToUTF8(utf8.data(), static_cast<int32_t>(utf8.size()), &written, utf16.data(), length,
                &status);
    if (U_FAILURE(status))
        return false;
    utf8.resize(static_cast<std::size_t>(written));
    return true;
}

bool decodeArgument(Cp932Codec& codec, const char* text, long long length, std::size_t capacity,
                    std::string& utf8, TextKind kind) {
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

std::size_t cp932PrefixLength(std::string_view cp932, std::size_t maxBytes) {
    std::size_t pos = 0;
    while (pos < cp932.size()) {
        const std::size_t next = pos + (isLeadByte(static_cast<unsigned char>(cp932[pos])) ? 2 : 1);
        if (next > maxBytes || next > cp932.size())
            break;
        pos = next;
    }
    return pos;
}

void normalizeUtf8(char* data, std::size_t size) {
    // U+301C is E3 80 9C, U+FF5E is EF BD 9E; U+2212 is E2 88 92, U+FF0D is EF BC 8D.
    for (std::size_t i = 0; i + 2 < size; ++i) {
        auto* p = reinterpret_cast<unsigned char*>(data + i);
        if (p[0] == 0xE3 && p[1] == 0x80 && p[2] == 0x9C) {
            p[0] = 0xEF;
            p[1] = 0xBD;
            p[2] = 0x9E;
        } else if (p[0] == 0xE2 && p[1] == 0x88 && p[2] == 0x92) {
            p[0] = 0xEF;
            p[1] = 0xBC;
            p[2] = 0x8D;
        }
    }
}

} // namespace pikotel::dict
