#include "common/texthelpers.h"

#include "common/cp932.h"

#include <algorithm>
#include <cmath>

namespace pikotel {

namespace {
// Paths use the platform's separator.
const QChar kSeparator = u'/';

// Trims only blanks (U+0020), as the shared helpers do; tabs and line breaks stay.
QString trimBlanks(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == u' ')
        ++first;
    while (last > first && text.at(last - 1) == u' ')
        --last;
    return text.mid(first, last - first);
}
} // namespace

QString DelHifon(const QString& text) {
    QString cut = text;
    const qsizetype bar = cut.indexOf(u'|');
    if (bar >= 0)
        cut.truncate(bar);
    cut.remove(u'-');
    return cut;
}

int AnsiLenB(const QString& text) {
    return static_cast<int>(toCp932(text).size());
}

QString ParentFolder(const QString& path) {
    if (path.isEmpty())
        return QString();
    const qsizetype pos = path.lastIndexOf(kSeparator);
    if (pos < 0)
        return QString(kSeparator);
    return path.left(pos);
}

QString FileNameOnly(const QString& path) {
    const QString clean = StripNulls(path);
    if (clean.isEmpty())
        return QString();
    const qsizetype pos = clean.lastIndexOf(kSeparator);
    if (pos < 0)
        return QString();
    return clean.mid(pos + 1);
}

QString GetExtension(const QString& name) {
    const QString trimmed = trimBlanks(name);
    const qsizetype dot = trimmed.lastIndexOf(u'.');
    return dot < 0 ? QString() : trimmed.mid(dot + 1);
}

QString ChangeExtension(const QString& name, const QString& extension) {
    const QString trimmed = trimBlanks(name);
    const qsizetype dot = trimmed.lastIndexOf(u'.');
    return dot < 0 ? QString() : trimmed.left(dot + 1) + extension;
}

QString StripNulls(const QString& text) {
    QString out = text;
    out.remove(QChar(u'\0'));
    return out;
}

QString StripQuotes(const QString& text) {
    QString out = text;
    out.remove(u'"');
    return out;
}

QString NumberOnly(const QString& text, const QString& extra) {
    QString out;
    const bool keepExtra = extra.size() == 1;
    for (const QChar c : text) {
        if ((c >= u'0' && c <= u'9') || (keepExtra && c == extra.at(0)))
            out.append(c);
    }
    return out;
}

int TextToInt(const QString& text) {
    const QString t = text.trimmed();
    bool ok = false;
    const double value = t.toDouble(&ok);
    if (!ok || !std::isfinite(value) || value > 2147483647.0 || value < -2147483648.0)
        return 0;
    return static_cast<int>(value);
}

} // namespace pikotel
