#include "jtext/cp932.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ucnv_err.h>
#include <unicode/ustring.h>

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
