#pragma once
#include "summary.h"

#include <QString>

#include <vector>

// One exercise's journal lines read back from the records folder, in the order they were
// written, to be shown as the journal window showed them.
struct ReplayLine {
    qint64 when = 0; // local date and time, see RecordFormat::localSeconds
    QString text;
    QString duration;
    bool red = false;
};

namespace ExerciseReplay {
// The lines of the exercise, from its start to its mark or its "Quitter". Only the files of the
// days the exercise ran are read.
std::vector<ReplayLine> lines(const QString &folder, const ExerciseSummary &exercise);
}
