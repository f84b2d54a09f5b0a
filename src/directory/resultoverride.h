#pragma once

// ResultOverride: corrections the program carries for listings the directory data has
// wrong, keyed by the telephone number without hyphens. A drop row hides the number; a
// replace row puts its name, and where it has one its block, in place of the engine's.

#include "directory/dirrecord.h"

#include <QList>
#include <QString>

namespace pikotel {

struct OverrideRow {
    QString number; // digits only
    bool drop = false;
    QString name;  // replace rows
    QString block; // replace rows; empty keeps the engine's block
};

class ResultOverride {
public:
    // Every row, drop rows first.
    static const QList<OverrideRow>& rows();
    // The row for a number as typed or listed (hyphens and a "|" comment ignored), or
    // nullptr.
    static const OverrideRow* find(const QString& telNo);
    static bool drops(const QString& telNo);
    // Applies a replace row for the number to the record; true when one applied.
    static bool replace(const QString& telNo, DirRecord& record);
};

} // namespace pikotel
