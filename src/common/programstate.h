#pragma once
#include <QDateTime>
#include <QString>

#include <optional>

// The program-wide values shared by several windows, one instance for the whole run: the sound
// switch.
struct ProgramState {
    // The sound switch as read from "Son"; nothing until the exercise window was activated.
    std::optional<QString> ActivationSon;

    void reset() { *this = ProgramState(); }
};
