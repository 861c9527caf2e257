#pragma once
#include <QDateTime>
#include <QString>

#include <optional>

// The program-wide values shared by several windows, one instance for the whole run: the sound
// switch.
struct ProgramState {

    void reset() { *this = ProgramState(); }
};
