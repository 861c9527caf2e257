#pragma once
#include "summary.h"
#include "summarycache.h"

#include <QWidget>

#include <memory>
#include <vector>

class Clock;
class FileChooser;
class MessageBoxes;
class PrintDialog;
class RecordWriter;
class SettingsStore;
class ExerciseTableModel;
class PlayTableModel;
class PupilTableModel;
class WrongWordModel;
class MarkChartView;
class QComboBox;
class QDateEdit;
class QLabel;
class QModelIndex;
class QPushButton;
class QSortFilterProxyModel;
class QSplitter;
class QTabWidget;
class QTableView;

// "Bilan des élèves": what the records on disk say of the pupils' exercises over a period: the
// class at a glance (one row per pupil), one pupil's exercises (each can be replayed), the
// sentences that were hardest (and who struggled with each), the words most often put in the
// wrong place, and the marks over time against the class average. It also names the pupil now
// at the computer, for the lines recorded next.
class frmBilan : public QWidget
{
    Q_OBJECT
public:
    // The settings store keeps the records folder chosen here.
    frmBilan(RecordWriter &records, SettingsStore &settings, Clock &clock, FileChooser &files,
             MessageBoxes &messages, PrintDialog &printing, QWidget *parent = nullptr);
    ~frmBilan() override;

    // Reads the records folder again, away from the window, and shows what it holds once read.
    // The window stays free meanwhile: a shared folder on a server that stops answering only
    // keeps it "reading". A newer reading replaces one still running.
    void Actualiser();
    // A reading of the records runs: the tables show what was read before, if anything.
    bool isReading() const { return m_reading; }
    // Asks for a file and writes the table shown there as CSV, in the order shown. True when
    // a file was written.
    bool Exporter();
    // Asks for the records folder (a folder shared by the school's computers gathers the
    // class), remembers it and reads it. True when a folder was chosen.
    bool DossierJournaux_Click();
    // Opens "Élèves", the pupils of the records, to rename one or delete one's data; the
    // records are read again after a change.
    void Eleves_Click();
    // Prints the report of the pupil shown, over the period. True when it was printed.
    bool Imprimer();
    // The file name the export proposes: the table, the pupil and the period.
    QString exportFileName() const;

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    struct ReadingLink;

    void readingDone(quint64 number, SummaryCache::Result read);
    void showReading();
    void applyPupilName();
    void applyFilter();
    void fillPupilLists();
    void showNotes();
    void updatePrintButton();
    void showAllNotes();
    void drawChart();
    void placeChart();
    void openPupil(const QModelIndex &index);
    void replayExercise(const QModelIndex &index);
    void showStruggled(const QModelIndex &index);
    QString chartPupil(bool *any) const;
    QString periodText() const;

    RecordWriter &m_records;
    SettingsStore &m_settings;
    Clock &m_clock;
    FileChooser &m_files;
    MessageBoxes &m_messages;
    PrintDialog &m_printing;

    std::vector<ExerciseSummary> m_all;
    std::vector<ExerciseSummary> m_period; // every pupil's, over the period
    QStringList m_readNotes;
    QStringList m_notesShown;
    QStringList m_pupils;
    bool m_periodSet = false;
    bool m_reading = false;
    bool m_readOnce = false;
    quint64 m_readNumber = 0;
    std::shared_ptr<ReadingLink> m_link;

    QComboBox *m_pupilName = nullptr;
    QComboBox *m_pupilFilter = nullptr;
    QDateEdit *m_from = nullptr;
    QDateEdit *m_to = nullptr;
    QWidget *m_notesRow = nullptr;
    QLabel *m_notes = nullptr;
    QLabel *m_count = nullptr;
    QPushButton *m_folderButton = nullptr;
    QPushButton *m_printButton = nullptr;
    QPushButton *m_exportButton = nullptr;
    QPushButton *m_pupilsButton = nullptr;
    QTabWidget *m_tabs = nullptr;
    QSplitter *m_split = nullptr;
    QTableView *m_pupilTable = nullptr;
    QTableView *m_table = nullptr;
    QTableView *m_sentences = nullptr;
    QTableView *m_words = nullptr;
    QWidget *m_wordsBox = nullptr;
    MarkChartView *m_chart = nullptr;
    PupilTableModel *m_pupilModel = nullptr;
    QSortFilterProxyModel *m_pupilSorted = nullptr;
    ExerciseTableModel *m_exerciseModel = nullptr;
    QSortFilterProxyModel *m_sorted = nullptr;
    PlayTableModel *m_sentenceModel = nullptr;
    QSortFilterProxyModel *m_sentenceSorted = nullptr;
    WrongWordModel *m_wordModel = nullptr;
};
