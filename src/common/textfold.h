#pragma once

// Width and kana conversions, and the loose comparison the industry filters use: letter
// case, full/half width and hiragana/katakana do not count, as in the Japanese system's
// text comparison.

#include <QString>

namespace pikotel {

QString toFullWidth(const QString& text);
QString toHalfWidth(const QString& text);
QString hiraganaToKatakana(const QString& text);
QString katakanaToHiragana(const QString& text);

// The text folded so that case, width and kana kind no longer count.
QString foldForCompare(const QString& text);
// True when needle occurs in haystack under that folding; an empty needle is contained.
bool textContains(const QString& haystack, const QString& needle);
// -1, 0, 1 under that folding.
int textCompare(const QString& a, const QString& b);

} // namespace pikotel
