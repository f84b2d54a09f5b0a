#pragma once

// What the export buttons do, apart from their screens: the results screen's selected rows
// and the phone screen's shown record go to the output text file or workbook, as the
// viewer setting says.

#include "directory/dirrecord.h"
#include "results/outputlayout.h"

#include <QList>
#include <QStringList>

class QWidget;

namespace pikotel {

class AppContext;

inline constexpr int kMaxExportRows = 30;

// The output button of the results screen: rows are the selected grid rows' cells, in grid
// order. Refuses none and more than 30.
void OutputSelectedRows(AppContext& ctx, const QList<QStringList>& rows, QWidget* parent);

// The values one phone record writes: the layout's columns up to the last non-empty one, or
// number, name, postal code, prefecture + city, town + block when every column is empty.
QStringList OutItemSet(const OutFileInfo& layout, const DirRecord& shown);

// The phone screen's save: the record as shown (with the user's corrections) appended to the
// text file or written into the workbook. False when nothing was written.
bool PhoneSave(AppContext& ctx, const DirRecord& shown, QWidget* parent);
// The text-file part of the save.
bool TelFindSave(AppContext& ctx, const QStringList& values, QWidget* parent);

} // namespace pikotel
