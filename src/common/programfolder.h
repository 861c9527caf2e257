#pragma once
#include <QString>

// The folder that holds the program file: sentence files and, by default, sounds live there.
QString programFolder();

// The user's own Plumalin folder, "Plumalin" in their documents folder: their sentence files,
// and the records beside them. Not created here; see ensureFolder.
QString userPlumalinFolder();

// Creates the folder and its parents when missing. False when it cannot be had as a folder.
bool ensureFolder(const QString &path);

// A folder and a name joined by one separator.
QString joinPath(const QString &folder, const QString &name);
