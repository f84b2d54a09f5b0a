#pragma once

// The output layout: which of the seven result items appear in which of seven columns, and
// in which order inside a column. Stored under the ATE subkey as "ATEMEISAI(i,j)" values,
// one per placed item; a free position has no value.

#include <QString>
#include <QStringList>

#include <array>

namespace pikotel {

class SettingsStore;

inline constexpr int kLayoutColumns = 7;
inline constexpr int kLayoutSlots = 7;

// Element [i][j]: the item in position j of output column i; empty for a free position.
using OutFileInfo = std::array<std::array<QString, kLayoutSlots>, kLayoutColumns>;

// The seven items, in their canonical order.
const QStringList& outputItems();

bool layoutEmpty(const OutFileInfo& layout);
// The layout a results screen uses when none is set.
OutFileInfo defaultLayout();
// The highest used column plus one; 0 for an empty layout.
int CountUsedColumns(const OutFileInfo& layout);

// "ATEMEISAI(i,j)".
QString layoutValueName(int column, int slot);
// Reads the 49 values (an unreadable value counts as empty).
OutFileInfo LoadOutputLayout(SettingsStore& store);
// Writes every placed item and removes the value of every free position; false when the
// subkey could not be opened or a value not be written.
bool SaveOutputLayout(SettingsStore& store, const OutFileInfo& layout);

// True when the address items come in the order prefecture, city, town area, block (all
// four, or the last three, or none of them).
bool addressOrderAccepted(const OutFileInfo& layout);

} // namespace pikotel
