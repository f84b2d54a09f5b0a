#pragma once

// One line per wheel event for a grid. Qt would scroll several lines per notch (and more
// for a fast wheel that reports several notches at once); the grids of the program move
// exactly one line per wheel event. One grid is hooked at a time.

class QAbstractScrollArea;

namespace pikotel {

// Hooks the grid's viewport. A grid hooked before is unhooked first. False for nullptr.
bool HookWheel(QAbstractScrollArea* grid);
// Unhooks the grid when it is the hooked one; another grid's hook stays.
void UnhookWheel(QAbstractScrollArea* grid);
// The grid hooked now, or nullptr.
QAbstractScrollArea* hookedWheelGrid();

} // namespace pikotel
