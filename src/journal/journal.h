#pragma once
#include <QString>

#include <memory>

class Clock;
struct ProgramState;
class JournalModel;
class JournalListener;
class FileChooser;
class MessageBoxes;
class QWidget;

// The progress journal: the time-stamped record of every action, kept in memory for the run.
// It exists from its first use; its window (frmProgression) is the shell's, which shows it.
class Journal
{
public:
    // The file dialog and the message boxes serve "&Sauvegarder".
    Journal(Clock &clock, ProgramState &state, FileChooser &files, MessageBoxes &messages);
    ~Journal();

    Journal(const Journal &) = delete;
    Journal &operator=(const Journal &) = delete;

    // A timed line: its duration runs from HeureProgress, which then moves to now.
    void AjoutProgress(const QString &libelle, bool normal);
    // A line with the caller's duration text; HeureProgress is neither read nor moved.
    void SetProgress(const QString &libelle, const QString &duree, bool normal);

    // Row count of the grid, header row included (so 2 right after set-up).
    int Rows();
    // Clears the journal back to its header and a fresh line 1, whatever its length.
    void Vider();
    // Asks the teacher for a file and writes the journal there as CSV. A failure is told in a
    // message box and changes nothing. Returns true when a file was written.
    bool Sauvegarder(QWidget *parent = nullptr);

    // Who is told of every line added from now on (line 1 included, but not the fresh line 1
    // of a clearing); nobody by default. The listener must outlive the journal's use.
    void setListener(JournalListener *listener) { m_listener = listener; }

    // Creates the journal if it does not exist yet (its line 1 is stamped then).
    void ensureCreated();
    bool exists() const;
    JournalModel &model();
    // The program's own close (the main window closing): the lines go.
    void closeByProgram();

private:
    // Writes the header and line 1, "Lancement du programme", stamped now.
    void InitProgress();
    void tellListener();

    Clock &m_clock;
    ProgramState &m_state;
    FileChooser &m_files;
    MessageBoxes &m_messages;
    std::unique_ptr<JournalModel> m_model;
    JournalListener *m_listener = nullptr;
};
