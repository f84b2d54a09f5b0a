#pragma once

// cp932 (Windows-31J): the one converter of the components, their builders and the program.
// It is ICU's windows-31j converter, the one Qt's QStringEncoder("windows-31j") wraps, called
// directly so that a character cp932 lacks becomes "?" as the Windows conversion writes it
// (ICU's own substitute is the unassigned code FC FC, and it drops default-ignorable
// characters without a trace). Never strict Shift_JIS: cp932 carries the NEC and IBM
// extensions (①, 髙) that office users type every day. Wave dash U+301C and minus sign
// U+2212 have no cp932 form and are written as their look-alikes U+FF5E and U+FF0D.
// Texts whose every character the converter maps one to one are converted through tables
// taken from it once (every hit of a search crosses twice); the rest go through it.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstddef>
#include <string>
#include <string_view>

struct UConverter;

namespace pikotel::jtext {

// One converter; a codec serves one thread at a time.
class Cp932Codec {
public:
    Cp932Codec();
    ~Cp932Codec();
    Cp932Codec(const Cp932Codec&) = delete;
    Cp932Codec& operator=(const Cp932Codec&) = delete;

    bool isValid() const { return converter_ != nullptr; }

    // Appends the cp932 form of a UTF-8 text.
    void encode(std::string_view utf8, std::string& out);
    // The UTF-8 form of cp932 bytes; false for bytes that are not cp932 or end inside a
    // character.
    bool decode(std::string_view cp932, std::string& utf8);

    QByteArray encode(const QString& text);
    // Whether every character of the text has a cp932 form.
    bool fits(const QString& text);
    // Bytes that are not cp932 become U+FFFD (U+001A for a single byte); a lead byte cut off
    // at the end is dropped.
    QString decode(QByteArrayView cp932);

private:
    // Encodes UTF-16 (rewritten in place to the cp932 look-alikes) into out, which holds at
    // least 2 * length bytes; returns the bytes written.
    std::size_t encodeUtf16(char16_t* text, std::size_t length, char* out);

    UConverter* converter_ = nullptr;
    bool lacked_ = false; // set by the substitution callback
};

// The codec of the calling thread.
QByteArray toCp932(const QString& text);
bool fitsCp932(const QString& text);
QString fromCp932(QByteArrayView bytes);

inline bool isCp932LeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Length of the longest prefix of cp932 bytes, at most maxBytes long, that ends on a
// character boundary.
std::size_t cp932PrefixLength(std::string_view cp932, std::size_t maxBytes);

// U+301C as U+FF5E and U+2212 as U+FF0D, so that a text that went out in cp932 and came
// back still compares equal to what was stored.
QString withCp932Forms(QString text);
// The same in place over UTF-8 (both pairs have equal byte lengths).
void withCp932FormsUtf8(char* data, std::size_t size);

} // namespace pikotel::jtext
