#pragma once

// cp932 (Windows-31J) at the program's boundaries: the settings store, the records that
// cross into the components, and the output files. Never strict Shift_JIS: cp932 carries
// the NEC and IBM extensions (①, 髙) that office users type every day.

#include <QByteArray>
#include <QString>

namespace pikotel {

// Characters cp932 cannot hold become "?" as the Windows conversion does. Wave dash
// (U+301C) and minus sign (U+2212) are written as their cp932 forms ～ (U+FF5E) and
// － (U+FF0D) first.
QByteArray toCp932(const QString& text);
// True when every character of the text has a cp932 form (after the mapping above).
bool fitsCp932(const QString& text);
QString fromCp932(const QByteArray& bytes);
QString fromCp932(const char* data, qsizetype size);

// Length in bytes of the cp932 character starting with lead byte b: 2 for a lead byte of a
// double-byte character, else 1.
inline int cp932CharLength(unsigned char b) {
    return ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) ? 2 : 1;
}

// The longest prefix of the cp932 bytes not longer than maxBytes that ends on a character
// boundary.
QByteArray cp932CutAtBoundary(const QByteArray& bytes, qsizetype maxBytes);

} // namespace pikotel
