#pragma once

// Where the program finds its installation and its per-user files.

#include <QString>

namespace pikotel {

// The installation's data folder: <prefix>/share/pikotel beside <prefix>/bin, which is also
// what the staged build (build/stage) looks like.
QString installedProgramFolder();
// $XDG_CONFIG_HOME/pikotel (~/.config/pikotel without it); not created here.
QString userConfigFolder();

// The files of the settings store's roots for an installation.
QString machineStorePath(const QString& programFolder);
QString userStorePath();

// Joins a folder and a name with exactly one "/" between them.
QString joinPath(const QString& folder, const QString& name);

} // namespace pikotel
