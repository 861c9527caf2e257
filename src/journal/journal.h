#pragma once
#include "journalevent.h"

#include <QString>

#include <memory>

class Clock;
class JournalModel;
class JournalListener;

// The progress journal: the time-stamped record of every action, kept in memory for the run.
// It exists from its first use; its window (frmProgression) is the shell's, which shows it.
// The journal owns its timing: durations run on the clock's steady count, so that a clock set
// back or forward never changes one.
class Journal
{
public:
    explicit Journal(Clock &clock);
    ~Journal();

    Journal(const Journal &) = delete;
    Journal &operator=(const Journal &) = delete;

    // Adds the event's line: timed kinds measure their duration from HeureProgress and move it.
    void record(const JournalEvent &event);
    // A timed line of plain text (a caller that has no event kind of its own yet).
    void AjoutProgress(const QString &libelle, bool normal);
    // A line with the caller's duration text; HeureProgress is neither read nor moved.
    void SetProgress(const QString &libelle, const QString &duree, bool normal);
    // A sentence starts: the next timed line counts from now.
    void MarqueHeureProgress();
    // Whether a mark is set, and its steady count (milliseconds); for the tests.
    bool hasHeureProgress() const { return m_heureProgressMs >= 0; }
    qint64 heureProgressMs() const { return m_heureProgressMs; }

    // Row count of the grid, header row included (so 2 right after set-up).
    int Rows();
    // Clears the journal back to its header and a fresh line 1, whatever its length.
    void Vider();
    // Writes the whole journal as CSV to the file. False, and the French reason, on failure;
    // the file, if any, is then left as it was.
    bool writeCsv(const QString &path, QString *error = nullptr);

    // Who is told of every line added from now on (line 1 included, but not the fresh line 1
    // of a clearing); nobody by default. The listener must outlive the journal's use.
    void setListener(JournalListener *listener) { m_listener = listener; }
    // One per start of the program, so that the records of two copies never mix.
    QString runId() const { return m_runId; }
    // The exercise of the run the lines now belong to (0 before the first one).
    int exercise() const { return m_exercise; }

    // Creates the journal if it does not exist yet (its line 1 is stamped then).
    void ensureCreated();
    bool exists() const;
    JournalModel &model();
    // The program's own close (the main window closing): the lines go.
    void closeByProgram();

private:
    // Writes the header and line 1, "Lancement du programme", stamped now.
    void InitProgress();
    void tellListener(const JournalEvent &event);

    Clock &m_clock;
    std::unique_ptr<JournalModel> m_model;
    JournalListener *m_listener = nullptr;
    QString m_runId;
    int m_exercise = 0;
    qint64 m_runStartMs = 0;
    // HeureProgress: the steady count of the last timed step; -1 until the first one.
    qint64 m_heureProgressMs = -1;
};
