#pragma once
#include "summary.h"

#include <QDate>
#include <QString>

#include <optional>
#include <vector>

// Which way a pupil's marks go over a period.
enum class Trend { Unknown, Down, Steady, Up };

// One pupil over a period, for the class at a glance.
struct PupilFigures {
    QString pupil;
    int exercises = 0;
    int sentences = 0;
    int marks = 0;                   // exercises finished with a mark
    std::optional<double> average;   // of the marks
    std::optional<int> lastMark;
    Trend trend = Trend::Unknown;
    qint64 timeSpent = 0;            // seconds
    QDate lastDay;
};

// What the plays of one sentence (or of one pupil on one sentence) add up to.
struct PlayFigures {
    QString name; // the sentence, or the pupil
    int played = 0;
    int wrongDrops = 0;
    int timedOut = 0;
    int hints = 0;
    int listens = 0;

    double averageWrongDrops() const { return played > 0 ? double(wrongDrops) / played : 0; }
};

// The class average of one day (or of the week starting that Monday).
struct AveragePoint {
    QDate day;
    double average = 0;
    int marks = 0;
};

namespace ClassFigures {
// The trend of marks in the order they were given (see the definition for the rule).
Trend trend(const std::vector<int> &marks);
// One entry per pupil of the exercises (given in the order they started), in alphabetical
// order; the exercises without a name make one entry with an empty name, last.
std::vector<PupilFigures> pupils(const std::vector<ExerciseSummary> &exercises);
// The sentences played in the exercises, the hardest first (see the definition).
std::vector<PlayFigures> hardSentences(const std::vector<ExerciseSummary> &exercises);
// Who played that sentence, the one who struggled most first.
std::vector<PlayFigures> struggled(const std::vector<ExerciseSummary> &exercises, const QString &sentence);
// Whether `a` was harder than `b`.
bool harder(const PlayFigures &a, const PlayFigures &b);
// The average of the marks, day by day, or week by week (each week at its Monday).
std::vector<AveragePoint> classAverage(const std::vector<ExerciseSummary> &exercises, bool weekly);
// "14,5": one decimal, in French.
QString mark(double value);
}
