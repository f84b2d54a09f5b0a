#pragma once

// Character classes the generator's sources are screened with.

#include <QString>

namespace pikotel::gen {

// A reading as listings carry it: full-width katakana and the long-vowel mark only.
inline bool isKatakanaReading(const QString& text) {
    for (const QChar c : text) {
        if ((c.unicode() < 0x30A1 || c.unicode() > 0x30FA) && c.unicode() != 0x30FC)
            return false;
    }
    return !text.isEmpty();
}

// Kanji (with 々 and 〆) and kana only: a name that reads naturally inside another name.
inline bool isKanjiOrKana(const QString& text) {
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool kanji = (u >= 0x4E00 && u <= 0x9FFF) || u == 0x3005 || u == 0x3006;
        const bool kana = u >= 0x3041 && u <= 0x30FC;
        if (!kanji && !kana)
            return false;
    }
    return !text.isEmpty();
}

} // namespace pikotel::gen
