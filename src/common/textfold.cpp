#include "common/textfold.h"

#include <unicode/translit.h>
#include <unicode/unistr.h>

#include <memory>

namespace pikotel {

namespace {

std::unique_ptr<icu::Transliterator> makeTransliterator(const char* id) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Transliterator> t(
        icu::Transliterator::createInstance(icu::UnicodeString::fromUTF8(id), UTRANS_FORWARD, status));
    if (U_FAILURE(status))
        return nullptr;
    return t;
}

// Transliterators are costly to make; the program keeps one of each for its whole run.
const icu::Transliterator* transliterator(const char* id) {
    struct Cache {
        std::unique_ptr<icu::Transliterator> fullwidth = makeTransliterator("Halfwidth-Fullwidth");
        std::unique_ptr<icu::Transliterator> halfwidth = makeTransliterator("Fullwidth-Halfwidth");
        std::unique_ptr<icu::Transliterator> toKatakana = makeTransliterator("Hiragana-Katakana");
        std::unique_ptr<icu::Transliterator> toHiragana = makeTransliterator("Katakana-Hiragana");
    };
    static const Cache cache;
    const std::string_view name(id);
    if (name == "Halfwidth-Fullwidth")
        return cache.fullwidth.get();
    if (name == "Fullwidth-Halfwidth")
        return cache.halfwidth.get();
    if (name == "Hiragana-Katakana")
        return cache.toKatakana.get();
    return cache.toHiragana.get();
}

QString apply(const char* id, const QString& text) {
    const icu::Transliterator* t = transliterator(id);
    if (t == nullptr || text.isEmpty())
        return text;
    icu::UnicodeString u(reinterpret_cast<const UChar*>(text.utf16()), static_cast<int32_t>(text.size()));
    t->transliterate(u);
    return QString(reinterpret_cast<const QChar*>(u.getBuffer()), u.length());
}

} // namespace

QString toFullWidth(const QString& text) { return apply("Halfwidth-Fullwidth", text); }
QString toHalfWidth(const QString& text) { return apply("Fullwidth-Halfwidth", text); }
QString hiraganaToKatakana(const QString& text) { return apply("Hiragana-Katakana", text); }
QString katakanaToHiragana(const QString& text) { return apply("Katakana-Hiragana", text); }

QString foldForCompare(const QString& text) {
    return hiraganaToKatakana(toFullWidth(text)).toCaseFolded();
}

bool textContains(const QString& haystack, const QString& needle) {
    if (needle.isEmpty())
        return true;
    return foldForCompare(haystack).contains(foldForCompare(needle));
}

int textCompare(const QString& a, const QString& b) {
    const int c = QString::compare(foldForCompare(a), foldForCompare(b));
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

} // namespace pikotel
