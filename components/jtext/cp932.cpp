#include "jtext/cp932.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ucnv_err.h>
#include <unicode/ustring.h>

#include <array>
#include <cstdint>
#include <vector>

namespace pikotel::jtext {

namespace {

void mapToCp932Forms(char16_t* text, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i) {
        if (text[i] == 0x301C)
            text[i] = 0xFF5E;
        else if (text[i] == 0x2212)
            text[i] = 0xFF0D;
    }
}

// A character without a cp932 form, a default-ignorable one included, and an unpaired
// surrogate are each written as one "?".
void writeQuestionMark(const void* context, UConverterFromUnicodeArgs* args, const UChar*, int32_t,
                       UChar32, UConverterCallbackReason reason, UErrorCode* status) {
    if (reason > UCNV_IRREGULAR)
        return;
    *static_cast<bool*>(const_cast<void*>(context)) = true;
    *status = U_ZERO_ERROR;
    ucnv_cbFromUWriteBytes(args, "?", 1, 0, status);
}

// A BMP character takes at most two bytes; a surrogate pair becomes one "?".
constexpr std::size_t encodedCapacity(std::size_t utf16Length) {
    return utf16Length * 2 + 1;
}

// The converter's answers for every single character, taken from it once. windows-31j is a
// stateless table code: a text converts as its characters do one by one, so a text all of
// whose characters are in these tables is converted here. Anything else (a character cp932
// lacks, a surrogate, bytes that are not cp932, a lead byte at the end) goes to the converter
// itself, which gives its substitutes as before.
class Cp932Tables {
public:
    static constexpr std::uint16_t kNone = 0xFFFF;

    static const Cp932Tables& get() {
        static const Cp932Tables tables;
        return tables;
    }

    // cp932 code of a BMP character (below 0x100 one byte), or kNone.
    std::uint16_t code(char16_t c) const { return fromUnicode_[c]; }
    // The character of a one-byte code, or kNone (lead bytes included).
    char16_t single(unsigned char b) const { return single_[b]; }
    // The character of a two-byte code, or kNone.
    char16_t pair(unsigned char lead, unsigned char trail) const {
        return double_[(lead - 0x80u) * 0x100u + trail];
    }

private:
    Cp932Tables() {
        fromUnicode_.fill(kNone);
        single_.fill(kNone);
        double_.fill(kNone);
        UErrorCode status = U_ZERO_ERROR;
        UConverter* converter = ucnv_open("windows-31j", &status);
        if (U_FAILURE(status))
            return;
        // Every call that would substitute fails instead and leaves its entry empty.
        ucnv_setFromUCallBack(converter, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                              &status);
        ucnv_setToUCallBack(converter, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
        for (std::uint32_t u = 0; u < 0x10000; ++u) {
            if (u >= 0xD800 && u <= 0xDFFF)
                continue;
            char16_t c = static_cast<char16_t>(u);
            mapToCp932Forms(&c, 1);
            char out[4];
            status = U_ZERO_ERROR;
            ucnv_resetFromUnicode(converter);
            const int32_t n = ucnv_fromUChars(converter, out, sizeof out, &c, 1, &status);
            const auto b0 = static_cast<unsigned char>(out[0]);
            const auto b1 = static_cast<unsigned char>(out[1]);
            if (U_SUCCESS(status) && n == 1 && !isCp932LeadByte(b0))
                fromUnicode_[u] = b0;
            else if (U_SUCCESS(status) && n == 2 && isCp932LeadByte(b0))
                fromUnicode_[u] = static_cast<std::uint16_t>(b0 << 8 | b1);
        }
        const auto decodeOne = [&](const char* bytes, int32_t size) -> char16_t {
            UChar out[4];
            UErrorCode error = U_ZERO_ERROR;
            ucnv_resetToUnicode(converter);
            const int32_t n = ucnv_toUChars(converter, out, 4, bytes, size, &error);
            return U_SUCCESS(error) && n == 1 && out[0] != kNone ? out[0] : kNone;
        };
        for (std::uint32_t b = 0; b < 0x100; ++b) {
            const char byte = static_cast<char>(b);
            if (!isCp932LeadByte(static_cast<unsigned char>(b))) {
                single_[b] = decodeOne(&byte, 1);
                continue;
            }
            for (std::uint32_t t = 0; t < 0x100; ++t) {
                const char bytes[2] = {byte, static_cast<char>(t)};
                double_[(b - 0x80u) * 0x100u + t] = decodeOne(bytes, 2);
            }
        }
        ucnv_close(converter);
    }

    std::array<std::uint16_t, 0x10000> fromUnicode_;
    std::array<char16_t, 0x100> single_;
    std::array<char16_t, 0x8000> double_;
};

// Appends the code; the tables hold no code for kNone.
inline char* putCode(char* out, std::uint16_t code) {
    if (code >= 0x100)
        *out++ = static_cast<char>(code >> 8);
    *out++ = static_cast<char>(code & 0xFF);
    return out;
}

// The cp932 bytes of UTF-16 through the tables: the bytes written, or -1 when a character
// needs the converter. out holds at least 2 * length bytes.
std::ptrdiff_t encodeByTable(const char16_t* text, std::size_t length, char* out) {
    const Cp932Tables& tables = Cp932Tables::get();
    char* p = out;
    for (std::size_t i = 0; i < length; ++i) {
        const std::uint16_t code = tables.code(text[i]);
        if (code == Cp932Tables::kNone)
            return -1;
        p = putCode(p, code);
    }
    return p - out;
}

// The same for well-formed UTF-8 of BMP characters; anything else answers -1.
std::ptrdiff_t encodeUtf8ByTable(std::string_view utf8, char* out) {
    const Cp932Tables& tables = Cp932Tables::get();
    const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
    const auto* end = s + utf8.size();
    char* p = out;
    while (s < end) {
        char32_t u = *s;
        if (u < 0x80) {
            ++s;
        } else if (u >= 0xC2 && u <= 0xDF && end - s >= 2 && (s[1] & 0xC0) == 0x80) {
            u = (u & 0x1F) << 6 | (s[1] & 0x3F);
            s += 2;
        } else if (u >= 0xE0 && u <= 0xEF && end - s >= 3 && (s[1] & 0xC0) == 0x80 &&
                   (s[2] & 0xC0) == 0x80) {
            u = (u & 0x0F) << 12 | (s[1] & 0x3Fu) << 6 | (s[2] & 0x3F);
            if (u < 0x800 || (u >= 0xD800 && u <= 0xDFFF))
                return -1;
            s += 3;
        } else {
            return -1;
        }
        const std::uint16_t code = tables.code(static_cast<char16_t>(u));
        if (code == Cp932Tables::kNone)
            return -1;
        p = putCode(p, code);
    }
    return p - out;
}

// The UTF-16 of cp932 bytes through the tables: the characters written, or -1 when a byte
// sequence needs the converter. out holds at least size characters.
std::ptrdiff_t decodeByTable(const unsigned char* bytes, std::size_t size, char16_t* out) {
    const Cp932Tables& tables = Cp932Tables::get();
    char16_t* p = out;
    for (std::size_t i = 0; i < size; ++i) {
        char16_t c = tables.single(bytes[i]);
        if (c == Cp932Tables::kNone) {
            if (!isCp932LeadByte(bytes[i]) || i + 1 == size)
                return -1;
            c = tables.pair(bytes[i], bytes[i + 1]);
            if (c == Cp932Tables::kNone)
                return -1;
            ++i;
        }
        *p++ = c;
    }
    return p - out;
}

} // namespace

Cp932Codec::Cp932Codec() {
    UErrorCode status = U_ZERO_ERROR;
    converter_ = ucnv_open("windows-31j", &status);
    if (U_SUCCESS(status))
        ucnv_setFromUCallBack(converter_, writeQuestionMark, &lacked_, nullptr, nullptr, &status);
    if (U_FAILURE(status)) {
        ucnv_close(converter_);
        converter_ = nullptr;
    }
}

Cp932Codec::~Cp932Codec() {
    ucnv_close(converter_);
}

std::size_t Cp932Codec::encodeUtf16(char16_t* text, std::size_t length, char* out) {
    mapToCp932Forms(text, length);
    lacked_ = false;
    ucnv_resetFromUnicode(converter_);
    UErrorCode status = U_ZERO_ERROR;
    const int32_t written =
        ucnv_fromUChars(converter_, out, static_cast<int32_t>(encodedCapacity(length)), text,
                        static_cast<int32_t>(length), &status);
    return U_SUCCESS(status) ? static_cast<std::size_t>(written) : 0;
}

void Cp932Codec::encode(std::string_view utf8, std::string& out) {
    if (utf8.empty())
        return;
    const std::size_t start = out.size();
    // A UTF-8 character never takes fewer bytes than its cp932 form.
    out.resize(start + utf8.size());
    const std::ptrdiff_t fast = encodeUtf8ByTable(utf8, &out[start]);
    if (fast >= 0) {
        out.resize(start + static_cast<std::size_t>(fast));
        return;
    }
    out.resize(start);
    std::vector<char16_t> utf16(utf8.size() + 1);
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8Lenient(utf16.data(), static_cast<int32_t>(utf16.size()), &length, utf8.data(),
                         static_cast<int32_t>(utf8.size()), &status);
    if (U_FAILURE(status))
        return;
    const std::size_t base = out.size();
    out.resize(base + encodedCapacity(static_cast<std::size_t>(length)));
    out.resize(base + encodeUtf16(utf16.data(), static_cast<std::size_t>(length), &out[base]));
}

QByteArray Cp932Codec::encode(const QString& text) {
    if (text.isEmpty())
        return {};
    {
        QByteArray out(text.size() * 2, Qt::Uninitialized);
        const std::ptrdiff_t fast =
            encodeByTable(reinterpret_cast<const char16_t*>(text.utf16()),
                          static_cast<std::size_t>(text.size()), out.data());
        if (fast >= 0) {
            lacked_ = false;
            out.resize(fast);
            return out;
        }
    }
    std::u16string utf16(reinterpret_cast<const char16_t*>(text.utf16()),
                         static_cast<std::size_t>(text.size()));
    QByteArray out(static_cast<qsizetype>(encodedCapacity(utf16.size())), Qt::Uninitialized);
    out.resize(static_cast<qsizetype>(encodeUtf16(utf16.data(), utf16.size(), out.data())));
    return out;
}

bool Cp932Codec::fits(const QString& text) {
    encode(text);
    return !lacked_;
}

bool Cp932Codec::decode(std::string_view cp932, std::string& utf8) {
    utf8.clear();
    if (cp932.empty())
        return true;
    std::vector<char16_t> utf16(cp932.size() + 1);
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setToUCallBack(converter_, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    ucnv_resetToUnicode(converter_);
    const int32_t length =
        ucnv_toUChars(converter_, utf16.data(), static_cast<int32_t>(utf16.size()), cp932.data(),
                      static_cast<int32_t>(cp932.size()), &status);
    if (U_FAILURE(status))
        return false;
    utf8.resize(static_cast<std::size_t>(length) * 3 + 1);
    int32_t written = 0;
    u_strToUTF8(utf8.data(), static_cast<int32_t>(utf8.size()), &written, utf16.data(), length,
                &status);
    if (U_FAILURE(status))
        return false;
    utf8.resize(static_cast<std::size_t>(written));
    return true;
}

QString Cp932Codec::decode(QByteArrayView cp932) {
    if (cp932.isEmpty())
        return {};
    QString out(cp932.size(), Qt::Uninitialized);
    const std::ptrdiff_t fast = decodeByTable(reinterpret_cast<const unsigned char*>(cp932.data()),
                                              static_cast<std::size_t>(cp932.size()),
                                              reinterpret_cast<char16_t*>(out.data()));
    if (fast >= 0) {
        out.resize(fast);
        return out;
    }
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setToUCallBack(converter_, UCNV_TO_U_CALLBACK_SUBSTITUTE, nullptr, nullptr, nullptr,
                        &status);
    ucnv_resetToUnicode(converter_);
    auto* target = reinterpret_cast<UChar*>(out.data());
    const char* source = cp932.data();
    // Without a flush a lead byte at the end stays in the converter and is dropped with it.
    ucnv_toUnicode(converter_, &target, target + out.size(), &source, source + cp932.size(),
                   nullptr, false, &status);
    out.resize(U_SUCCESS(status) ? target - reinterpret_cast<UChar*>(out.data()) : 0);
    return out;
}

namespace {
Cp932Codec& threadCodec() {
    thread_local Cp932Codec codec;
    return codec;
}
} // namespace

QByteArray toCp932(const QString& text) {
    return threadCodec().encode(text);
}

bool fitsCp932(const QString& text) {
    return threadCodec().fits(text);
}

QString fromCp932(QByteArrayView bytes) {
    return threadCodec().decode(bytes);
}

std::size_t cp932PrefixLength(std::string_view cp932, std::size_t maxBytes) {
    std::size_t pos = 0;
    while (pos < cp932.size()) {
        const std::size_t next =
            pos + (isCp932LeadByte(static_cast<unsigned char>(cp932[pos])) ? 2 : 1);
        if (next > maxBytes || next > cp932.size())
            break;
        pos = next;
    }
    return pos;
}

QString withCp932Forms(QString text) {
    text.replace(QChar(0x301C), QChar(0xFF5E));
    text.replace(QChar(0x2212), QChar(0xFF0D));
    return text;
}

void withCp932FormsUtf8(char* data, std::size_t size) {
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

} // namespace pikotel::jtext
