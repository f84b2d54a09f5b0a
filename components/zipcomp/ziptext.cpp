#include "zipcomp/ziptext.h"

#include <QStringDecoder>

namespace pikotel::zipcomp {

namespace {
const QChar kOpen(0xFF08);  // （
const QChar kClose(0xFF09); // ）
} // namespace

QString normalizedText(const QString& text) {
    QString out = text;
    out.replace(QChar(0x301C), QChar(0xFF5E));
    out.replace(QChar(0x2212), QChar(0xFF0D));
    return out;
}

Cp932Encoder::Cp932Encoder() : encoder_("windows-31j", QStringConverter::Flag::Stateless) {}

QByteArray Cp932Encoder::encode(const QString& text) {
    if (text.isEmpty())
        return QByteArray();
    return encoder_.encode(normalizedText(text));
}

QString fromCp932(QByteArrayView bytes) {
    QStringDecoder decoder("windows-31j");
    return decoder.decode(bytes);
}

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
