#pragma once
#include <QDateTime>
#include <QString>
#include <QVector>

#include <memory>

class Clock;
struct ProgramState;
class frmProgression;
class JournalModel;

// The progress journal: the time-stamped record of every action, kept in memory for the run.
// Its window is created hidden on first use and only the program itself can close it.
class Journal
{
public:
    Journal(Clock &clock, ProgramState &state);
    ~Journal();

    // A timed line: its duration runs from HeureProgress, which then moves to now.
    void AjoutProgress(const QString &libelle, bool normal);
    // A line with the caller's duration text; HeureProgress is neither read nor moved.
    void SetProgress(const QString &libelle, const QString &duree, bool normal);

    // Row count of the grid, header row included (so 2 right after set-up).
    int Rows();
    // Clears the journal back to its header and a fresh line 1.
    void Vider();

    // Creates the journal, hidden, if it does not exist yet.
    void ensureCreated();
    bool exists() const;
    frmProgression *window();
    JournalModel &model();
    // Shows the window modeless and brings it to the front.
    void show();
    // The program's own close (the main window closing): the window goes and its lines with it.
    void closeByProgram();

private:
    Clock &m_clock;
    ProgramState &m_state;
    std::unique_ptr<JournalModel> m_model;
    frmProgression *m_window = nullptr;
};
