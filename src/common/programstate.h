#pragma once
#include <QDateTime>
#include <QString>

#include <optional>

// The program-wide values shared by several windows, one instance for the whole run: the
// journal's time mark and the sound switch.
struct ProgramState {
    // Mark from which the journal measures its next timed line; invalid until the first one.
    QDateTime HeureProgress;
    // The sound switch as read from "Son"; nothing until the exercise window was activated.
    std::optional<QString> ActivationSon;

    void reset() { *this = ProgramState(); }
};
