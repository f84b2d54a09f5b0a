#pragma once

// Japan Post's town texts as the dictionary builder takes them apart.

#include <QString>

namespace pikotel::zipcomp {

// A Japan Post town text split before its last parenthesised group:
// "北十条西（１〜４丁目）" → name "北十条西", note "（１〜４丁目）", part "１〜４丁目".
// A text without a trailing group (or made of nothing else) is all name.
struct TownText {
    QString name;
    QString note; // the group with its parentheses; empty when there is none
    QString part() const { return note.isEmpty() ? QString() : note.mid(1, note.size() - 2); }
};
TownText splitTownText(const QString& text);

// The text with every parenthesised group removed: how the listings write a town.
QString withoutNotes(const QString& text);

} // namespace pikotel::zipcomp
