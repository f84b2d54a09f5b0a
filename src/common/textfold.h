#pragma once

// Width and kana conversions (jtext/kana.h, shared with the components' builders), and the
// loose comparison the industry filters use: letter case, full/half width and
// hiragana/katakana do not count, as in the Japanese system's text comparison.

#include "jtext/kana.h"

#include <QString>

namespace pikotel {

using jtext::foldForCompare;
using jtext::hiraganaToKatakana;
using jtext::katakanaToHiragana;
using jtext::toFullWidth;
using jtext::toHalfWidth;

// True when needle occurs in haystack under that folding; an empty needle is contained.
bool textContains(const QString& haystack, const QString& needle);
// -1, 0, 1 under that folding.
int textCompare(const QString& a, const QString& b);

} // namespace pikotel
