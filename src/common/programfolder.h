#pragma once
#include <QString>

// The program's read-only data folder: the default sentence file and, by default, the sounds.
// In a build it is the folder of the program file; installed, the data folder of the
// installation (/usr/share/plumalin beside /usr/bin/plumalin).
QString programFolder();

// The same, for a program file in `executableFolder`: the installation's data folder, found
// from it, when that folder exists; else the executable's folder itself.
QString programFolderOf(const QString &executableFolder);

// The user's own Plumalin folder, "Plumalin" in their documents folder: their sentence files,
// and the records beside them. Not created here; see ensureFolder.
QString userPlumalinFolder();

// Creates the folder and its parents when missing. False when it cannot be had as a folder.
bool ensureFolder(const QString &path);

// A folder and a name joined by one separator.
QString joinPath(const QString &folder, const QString &name);
