#pragma once

// Small text helpers shared by every screen. Paths are split on the platform's separator
// ("/"); there are no drive letters.

#include <QString>

namespace pikotel {

// Every "-" removed, the text cut at the first "|".
QString DelHifon(const QString& text);
// Byte length of the text in cp932.
int AnsiLenB(const QString& text);
// Text before the last "/"; "/" when there is none; empty for empty.
QString ParentFolder(const QString& path);
// Text after the last "/" (NULs removed first); empty when there is none.
QString FileNameOnly(const QString& path);
// Text after the last "." of the blank-trimmed name; empty without a ".".
QString GetExtension(const QString& name);
// Blank-trimmed name up to and including its last "." followed by the extension; empty
// without a ".".
QString ChangeExtension(const QString& name, const QString& extension);
QString StripNulls(const QString& text);
QString StripQuotes(const QString& text);
// The digits of the text, plus every character equal to extra when extra is not empty.
QString NumberOnly(const QString& text, const QString& extra = QString());

// A setting read as a number: empty or non-numeric text counts as 0.
int TextToInt(const QString& text);

} // namespace pikotel
