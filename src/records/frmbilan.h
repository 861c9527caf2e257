#pragma once
#include "summary.h"

#include <QWidget>

#include <vector>

class Clock;
class FileChooser;
class MessageBoxes;
class PrintDialog;
class RecordWriter;
class SettingsStore;
class ExerciseTableModel;
class WrongWordModel;
class QChartView;
class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;

// "Bilan des élèves": what the records on disk say of the pupils' exercises, for one pupil or
// all, over a period: the table of exercises, the marks over time, the words most often put in
// the wrong place. It also names the pupil now at the computer, for the lines recorded next.
class frmBilan : public QWidget
{
    Q_OBJECT
public:
    // The settings store keeps the records folder chosen here.
    frmBilan(RecordWriter &records, SettingsStore &settings, Clock &clock, FileChooser &files,
             MessageBoxes &messages, PrintDialog &printing, QWidget *parent = nullptr);
    ~frmBilan() override;

    // Reads the records folder again and shows what it holds.
    void Actualiser();
    // Asks for a file and writes the table there as CSV. True when a file was written.
    bool Exporter();
    // Asks for the records folder (a folder shared by the school's computers gathers the
    // class), remembers it and reads it. True when a folder was chosen.
    bool DossierJournaux_Click();
    // Opens "Élèves", the pupils of the records, to rename one or delete one's data; the
    // records are read again after a change.
    void Eleves_Click();
    // Prints the report of the pupil shown, over the period. True when it was printed.
    bool Imprimer();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void applyPupilName();
    void applyFilter();
    void fillPupilLists();
    void showNotes();
    void drawChart(const std::vector<ExerciseSummary> &shown);
    void updatePrintButton();

    RecordWriter &m_records;
    SettingsStore &m_settings;
    Clock &m_clock;
    FileChooser &m_files;
    MessageBoxes &m_messages;
    PrintDialog &m_printing;

    std::vector<ExerciseSummary> m_all;
    QStringList m_readNotes;
    QStringList m_pupils;
    bool m_periodSet = false;

    QComboBox *m_pupilName = nullptr;
    QComboBox *m_pupilFilter = nullptr;
    QDateEdit *m_from = nullptr;
    QDateEdit *m_to = nullptr;
    QLabel *m_notes = nullptr;
    QLabel *m_count = nullptr;
    QPushButton *m_folderButton = nullptr;
    QPushButton *m_printButton = nullptr;
    QTableView *m_table = nullptr;
    QTableView *m_words = nullptr;
    QChartView *m_chart = nullptr;
    ExerciseTableModel *m_exerciseModel = nullptr;
    QSortFilterProxyModel *m_sorted = nullptr;
    WrongWordModel *m_wordModel = nullptr;
};
