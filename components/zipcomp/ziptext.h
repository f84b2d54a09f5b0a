#pragma once

// Text handling shared by the dictionary builder and the component: the one normalisation
// every stored and every compared text goes through, and the cp932 form of returned texts.

#include <QByteArray>
#include <QString>
#include <QStringEncoder>

namespace pikotel::zipcomp {

// Wave dash U+301C and minus sign U+2212 have no cp932 form; their cp932 look-alikes
// U+FF5E and U+FF0D take their place in everything the dictionary stores, so a text that
// went out in cp932 and comes back decoded still matches.
QString normalizedText(const QString& text);

// Encodes texts to cp932 (Windows-31J) after normalizedText(); characters without a cp932
// form become "?".
class Cp932Encoder {
public:
    Cp932Encoder();
    QByteArray encode(const QString& text);

private:
    QStringEncoder encoder_;
};

QString fromCp932(QByteArrayView bytes);

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
