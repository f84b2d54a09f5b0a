#include "zipcomp/ziptext.h"

namespace pikotel::zipcomp {

namespace {
const QChar kOpen(0xFF08);  // （
const QChar kClose(0xFF09); // ）
} // namespace

TownText splitTownText(const QString& text) {
    if (!text.endsWith(kClose))
        return {text, QString()};
    int depth = 0;
    for (qsizetype i = text.size() - 1; i >= 0; --i) {
        if (text.at(i) == kClose) {
            ++depth;
        } else if (text.at(i) == kOpen && --depth == 0) {
            if (i == 0)
                break;
            return {text.left(i), text.mid(i)};
        }
    }
    return {text, QString()};
}

QString withoutNotes(const QString& text) {
    QString out;
    out.reserve(text.size());
    int depth = 0;
    for (const QChar c : text) {
        if (c == kOpen)
            ++depth;
        else if (c == kClose && depth > 0)
            --depth;
        else if (depth == 0)
            out.append(c);
    }
    return out;
}

} // namespace pikotel::zipcomp
