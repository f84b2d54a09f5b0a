#pragma once

// Width and kana conversions, and the folding under which letter case, full/half width and
// hiragana/katakana do not count, as in the Japanese system's text comparison. Readings are
// normalised with these wherever they are stored or compared.

#include <QString>

namespace pikotel::jtext {

QString toFullWidth(const QString& text);
QString toHalfWidth(const QString& text);
QString hiraganaToKatakana(const QString& text);
QString katakanaToHiragana(const QString& text);

// Full width, katakana, case-folded.
QString foldForCompare(const QString& text);

} // namespace pikotel::jtext
