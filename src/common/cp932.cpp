#include "common/cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace pikotel {

namespace {
constexpr const char* kCodec = "windows-31j";

QString mapToCp932Forms(const QString& text) {
    QString mapped = text;
    mapped.replace(QChar(0x301C), QChar(0xFF5E));
    mapped.replace(QChar(0x2212), QChar(0xFF0D));
    return mapped;
}
} // namespace

QByteArray toCp932(const QString& text) {
    const QString mapped = mapToCp932Forms(text);
    QStringEncoder encoder(kCodec, QStringConverter::Flag::Stateless);
    QByteArray out = encoder.encode(mapped);
    if (!encoder.hasError() && fromCp932(out) == mapped)
        return out;
    // The codec writes its own filler bytes for a character cp932 lacks; the Windows
    // conversion writes "?", and so do we, one character (or surrogate pair) at a time.
    out.clear();
    for (qsizetype i = 0; i < mapped.size(); ++i) {
        const qsizetype length = (mapped.at(i).isHighSurrogate() && i + 1 < mapped.size() &&
                                  mapped.at(i + 1).isLowSurrogate())
                                     ? 2
                                     : 1;
        const QStringView one(mapped.constData() + i, length);
        QStringEncoder single(kCodec, QStringConverter::Flag::Stateless);
        const QByteArray bytes = single.encode(one);
        if (single.hasError() || fromCp932(bytes) != one)
            out.append('?');
        else
            out.append(bytes);
        i += length - 1;
    }
    return out;
}

bool fitsCp932(const QString& text) {
    const QString mapped = mapToCp932Forms(text);
    QStringEncoder encoder(kCodec, QStringConverter::Flag::Stateless);
    const QByteArray bytes = encoder.encode(mapped);
    // The encoder substitutes silently for some characters; a round trip tells for sure.
    return !encoder.hasError() && fromCp932(bytes) == mapped;
}

QString fromCp932(const QByteArray& bytes) { return fromCp932(bytes.constData(), bytes.size()); }

QString fromCp932(const char* data, qsizetype size) {
    QStringDecoder decoder(kCodec);
    return decoder.decode(QByteArrayView(data, size));
}

QByteArray cp932CutAtBoundary(const QByteArray& bytes, qsizetype maxBytes) {
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        const qsizetype next = pos + cp932CharLength(static_cast<unsigned char>(bytes.at(pos)));
        if (next > maxBytes || next > bytes.size())
            break;
        pos = next;
    }
    return bytes.left(pos);
}

} // namespace pikotel
