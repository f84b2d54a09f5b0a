#pragma once

// The values the crash test's writer keeps rewriting: each text names its generation and
// value number and ends with a checksum of the rest, so a torn or mixed text shows.

#include "settings/regstore.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace pikotel::test {

inline const QString kCrashKey = QStringLiteral("SOFTWARE\\(株)ザクロコボ\\CrashTest");
inline constexpr int kCrashValues = 20;

// Values 0-4 are put and flushed together, 5-9 each set on its own, 10-19 listed together.
inline constexpr int kSetFirst = 5;
inline constexpr int kListFirst = 10;

inline QString crashValueName(int index) {
    return QStringLiteral("V%1").arg(index, 2, 10, QChar(u'0'));
}

inline std::uint32_t fnv1a(const QByteArray& bytes) {
    std::uint32_t hash = 2166136261u;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    return hash;
}

// Lengths vary with the generation so that a text mixed from two writes cannot line up.
inline QString crashText(std::int64_t generation, int index) {
    const QString body = QStringLiteral("G%1|V%2|").arg(generation).arg(index) +
                         QString(static_cast<qsizetype>((generation * 7 + index) % 50), u'ぴ');
    return body + QStringLiteral("|C%1").arg(fnv1a(body.toUtf8()), 8, 16, QChar(u'0'));
}

// The generation of a well-formed text of value index; nothing for anything else.
inline std::optional<std::int64_t> crashGeneration(const QString& text, int index) {
    const qsizetype mark = text.lastIndexOf(QStringLiteral("|C"));
    if (mark < 0)
        return std::nullopt;
    const QString body = text.left(mark);
    bool ok = false;
    if (text.mid(mark + 2).toUInt(&ok, 16) != fnv1a(body.toUtf8()) || !ok)
        return std::nullopt;
    const QStringList parts = body.split(u'|');
    if (parts.size() != 3 || parts.at(1) != QStringLiteral("V%1").arg(index))
        return std::nullopt;
    const std::int64_t generation = parts.at(0).mid(1).toLongLong(&ok);
    if (!ok || crashText(generation, index) != text)
        return std::nullopt;
    return generation;
}

} // namespace pikotel::test
