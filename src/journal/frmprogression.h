#pragma once
#include <QWidget>

class Clock;
class FileChooser;
class Journal;
class MessageBoxes;
class QCheckBox;
class QLabel;
class QPushButton;
class QTableView;

// The journal's window: the grid of lines and its buttons, laid out at fixed sizes. It refuses
// every close it did not ask for: "&Quitter" only hides it, and only the journal destroys it.
class frmProgression : public QWidget
{
    Q_OBJECT
public:
    // The file dialog, the message boxes and the date serve "&Sauvegarder".
    frmProgression(Journal &journal, FileChooser &files, MessageBoxes &messages, Clock &clock,
                   QWidget *parent = nullptr);
    ~frmProgression() override;

    void Vider_Click();
    // Asks the teacher for a file and writes the journal there as CSV. A failure is told in a
    // message box and changes nothing. True when a file was written.
    bool Sauvegarder_Click();
    void Quitter_Click();
    // Keeps the window above the others while the box is ticked.
    void PremierPlan_Click();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildGrid();

    // The controls, named as their object names.
    QLabel *Label1 = nullptr;
    QTableView *MSFlexGrid1 = nullptr;
    QCheckBox *PremierPlan = nullptr;
    QPushButton *Vider = nullptr;
    QPushButton *Sauvegarder = nullptr;
    QPushButton *Quitter = nullptr;

    Journal &m_journal;
    FileChooser &m_files;
    MessageBoxes &m_messages;
    Clock &m_clock;
};
