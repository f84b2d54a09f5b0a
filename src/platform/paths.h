#pragma once

// Where the program finds its installation and its per-user files.

#include <QString>

namespace pikotel {

// The installation's data folder: <prefix>/share/pikotel beside <prefix>/bin, which is also
// what the staged build (build/stage) looks like.
QString installedProgramFolder();
// $XDG_CONFIG_HOME/pikotel (~/.config/pikotel without it); not created here. Empty when
// neither names an absolute folder (no HOME): never a folder at the root of the system.
QString userConfigFolder();

// The files of the settings store's roots for an installation; the per-user one is empty
// when there is no user configuration folder.
QString machineStorePath(const QString& programFolder);
QString userStorePath();

// Makes the missing folders of path (an absolute path), each readable by its user alone
// (0700); false with the system's words in why when one cannot be made or path is no folder.
bool makePrivateFolders(const QString& path, QString& why);

// Joins a folder and a name with exactly one "/" between them.
QString joinPath(const QString& folder, const QString& name);

} // namespace pikotel
