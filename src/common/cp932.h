#pragma once

// cp932 (Windows-31J) at the program's boundaries: the settings store, the records that
// cross into the components, and the output files. The converter is the components' own
// (jtext/cp932.h): characters cp932 cannot hold become "?", wave dash (U+301C) and minus
// sign (U+2212) are written as ～ (U+FF5E) and － (U+FF0D).

#include "jtext/cp932.h"

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <string_view>

namespace pikotel {

using jtext::fitsCp932;
using jtext::fromCp932;
using jtext::toCp932;

inline QString fromCp932(const char* data, qsizetype size) {
    return jtext::fromCp932(QByteArrayView(data, size));
}

// The longest prefix of the cp932 bytes not longer than maxBytes that ends on a character
// boundary.
inline QByteArray cp932CutAtBoundary(const QByteArray& bytes, qsizetype maxBytes) {
    const std::string_view view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return bytes.left(static_cast<qsizetype>(jtext::cp932PrefixLength(
        view, static_cast<std::size_t>(std::max<qsizetype>(maxBytes, 0)))));
}

} // namespace pikotel
