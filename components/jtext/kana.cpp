#include "jtext/kana.h"

#include <unicode/translit.h>
#include <unicode/unistr.h>

#include <memory>

namespace pikotel::jtext {

namespace {

std::unique_ptr<icu::Transliterator> makeTransliterator(const char* id) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Transliterator> t(icu::Transliterator::createInstance(
        icu::UnicodeString::fromUTF8(id), UTRANS_FORWARD, status));
    if (U_FAILURE(status))
        return nullptr;
    return t;
}

enum class Width { Full, Half };

// Transliterators are costly to make; one of each lasts the whole run.
const icu::Transliterator* transliterator(Width width) {
    struct Cache {
        std::unique_ptr<icu::Transliterator> fullwidth = makeTransliterator("Halfwidth-Fullwidth");
        std::unique_ptr<icu::Transliterator> halfwidth = makeTransliterator("Fullwidth-Halfwidth");
    };
    static const Cache cache;
    return width == Width::Full ? cache.fullwidth.get() : cache.halfwidth.get();
}

QString apply(Width width, const QString& text) {
    const icu::Transliterator* t = transliterator(width);
    if (t == nullptr || text.isEmpty())
        return text;
    icu::UnicodeString u(reinterpret_cast<const UChar*>(text.utf16()),
                         static_cast<int32_t>(text.size()));
    t->transliterate(u);
    return QString(reinterpret_cast<const QChar*>(u.getBuffer()), u.length());
}

// The two syllabaries sit at a fixed distance in Unicode. ICU's kana transliterators also
// spell out the long-vowel mark (ラーメン → らあめん), which a kana conversion must not do.
constexpr char16_t kKanaDistance = 0x60;

QString shiftKana(const QString& text, char16_t first, char16_t last, int direction) {
    QString out = text;
    for (QChar& c : out) {
        const char16_t u = c.unicode();
        if ((u >= first && u <= last) || u == first + 0x5C || u == first + 0x5D)
            c = QChar(static_cast<char16_t>(u + direction * kKanaDistance));
    }
    return out;
}

} // namespace

QString toFullWidth(const QString& text) {
    return apply(Width::Full, text);
}

QString toHalfWidth(const QString& text) {
    return apply(Width::Half, text);
}

QString hiraganaToKatakana(const QString& text) {
    return shiftKana(text, 0x3041, 0x3096, +1);
}

QString katakanaToHiragana(const QString& text) {
    return shiftKana(text, 0x30A1, 0x30F6, -1);
}

QString foldForCompare(const QString& text) {
    return hiraganaToKatakana(toFullWidth(text)).toCaseFolded();
}

} // namespace pikotel::jtext
