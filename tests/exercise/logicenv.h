#pragma once
// What the exercise's rules read, without any window: a settings store and a program folder in
// a temporary folder, and the program-wide values.
#include "common/settingsstore.h"

#include <QDir>
#include <QTemporaryDir>

struct LogicEnv {
    QTemporaryDir dir;
    QString programFolder = dir.path() + QStringLiteral("/bin");
    SettingsStore settings{dir.path() + QStringLiteral("/config")};
    LogicEnv() { QDir().mkpath(programFolder); }
};
