#pragma once

// Reading the installation record and the environment values at start-up, and the window
// position and last screen that start-up reads and shutdown writes.

#include <QString>

namespace pikotel {

class AppContext;

enum LoadEnvironmentResult : int {
    EnvLoaded = 0,
    EnvFirstRun = 1,
    EnvUnusable = 2,
    EnvUnreadable = 3
};

// 0 settings loaded; 1 first run (no per-user record, or no CDDRIVE, in a per-user file
// that opened and checked clean, or in none at all); 2 the installation record is unusable
// (a message has been shown) and the program must end; 3 the per-user file could not be
// read (locked, unreadable, of a newer format: the store noted it and keeps it untouched),
// so the run goes on with first-run values it does not store.
int LoadEnvironment(AppContext& ctx);

// 0 when both position values were read.
int LoadStartUpPosition(AppContext& ctx);
// Writes "StartUpPosition_Y" = top and "StartUpPosition_X" = left, creating the key.
int SaveStartUpPosition(AppContext& ctx, float top, float left);
// 0 when LASTFORM was read, 1 otherwise.
int LoadLastForm(AppContext& ctx);
int SaveLastForm(AppContext& ctx, int number);

// Reads the stored output layout and hands it, with the four export options, to the result
// list controller.
void HandSettingsToResultList(AppContext& ctx);

// The decimal text of a single-precision number as the settings store keeps it ("1425").
QString singleToText(float value);

} // namespace pikotel
