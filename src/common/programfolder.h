#pragma once
#include <QString>

// The folder that holds the program file: sentence files and, by default, sounds live there.
QString programFolder();

// A folder and a name joined by one separator.
QString joinPath(const QString &folder, const QString &name);
