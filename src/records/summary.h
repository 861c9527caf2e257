#pragma once
#include "recordreader.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <QHash>

#include <memory>
#include <set>
#include <optional>
#include <vector>

// A word dropped in the wrong place, and the word the sentence wanted there (empty when the
// journal never told: the sentence ran out of time before the right word was placed).
struct WrongDrop {
    QString dropped;
    QString expected;
};

// One sentence as a pupil played it in an exercise: from its first line to its end (done, or
// ended by its time limit). The sentence is the one the exercise had in play, as written in the
// records (empty in records of the first form).
struct SentencePlay {
    QString sentence;
    int wrongDrops = 0;
    int hints = 0;   // blue words
    int listens = 0; // "Écouter" pressed
    bool timedOut = false;
    bool done = false;
};

// One exercise as the records tell it: from its start to its mark or its "Quitter". Lines of
// several computers and several copies of the program may be read in any mix: each exercise
// is the lines of its computer, run and exercise number.
struct ExerciseSummary {
    qint64 start = 0; // local date and time, see RecordFormat::localSeconds
    qint64 end = 0;   // its last line
    qint64 spent = 0; // seconds, on the clock that never jumps when the records have it
    QString pupil;
    QString sentenceFile;
    QString computer;
    QString run;    // with the computer and the number, which exercise of the records it is
    int number = 0;
    int sentencesPlayed = 0; // done, or ended by their time limit
    int wrongDrops = 0;
    int hints = 0;
    int timedOut = 0;
    int listens = 0;
    std::optional<int> mark; // out of 20; none when the exercise was not finished
    std::vector<WrongDrop> drops;
    std::vector<SentencePlay> plays;

    qint64 timeSpent() const { return spent; }
};

struct WrongWordCount {
    QString dropped;
    QString expected;
    int count = 0;
};

// Who and when the summary shows.
struct SummaryFilter {
    std::optional<QString> pupil; // none: every pupil; an empty name: the lines without a name
    QDate from;                   // invalid: no bound
    QDate to;

    bool accepts(const ExerciseSummary &exercise) const;
};

// Builds the exercises from record lines given one at a time, so that the lines themselves
// are never all kept. The builders of several files merge, in the order of the files, into the
// exercises of them all.
class SummaryBuilder
{
public:
    SummaryBuilder();
    ~SummaryBuilder();
    SummaryBuilder(SummaryBuilder &&) noexcept;
    SummaryBuilder &operator=(SummaryBuilder &&) noexcept;

    void add(const RecordLine &line);
    // The end of a file's lines.
    void finishFile();
    // Adds what another builder read (a later file).
    void merge(const SummaryBuilder &later);
    // The exercises, in the order they started; and the pupils' names (see Summary::pupils).
    std::vector<ExerciseSummary> exercises() const;
    QStringList pupils() const;

private:
    struct Reading;
    QHash<QString, std::size_t> m_index; // computer, run and exercise
    std::vector<Reading> m_readings;
    std::set<QString> m_pupils;
    QString m_lastPupil;
    QString m_key;
    QString m_lastComputer;
    QString m_lastRun;
    int m_lastExercise = -1;
};

namespace Summary {
// The exercises of the lines, in the order they started.
std::vector<ExerciseSummary> exercises(const std::vector<RecordLine> &lines);
std::vector<ExerciseSummary> filtered(const std::vector<ExerciseSummary> &all, const SummaryFilter &filter);
// The wrong drops of the exercises, one entry per dropped word and expected word, the most
// frequent first (then in alphabetical order).
std::vector<WrongWordCount> wrongWords(const std::vector<ExerciseSummary> &exercises);
// The pupils' names found in the lines, without duplicates, in alphabetical order; the empty
// name is left out.
QStringList pupils(const std::vector<RecordLine> &lines);
// "00:12:05"; hours go past 24 if need be.
QString duration(qint64 seconds);
}
