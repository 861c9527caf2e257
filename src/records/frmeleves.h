#pragma once
#include "classlist.h"

#include <QDialog>
#include <QPointer>

class MessageBoxes;
class PupilListModel;
class RecordWriter;
class QInputDialog;
class QLabel;
class QPushButton;
class QTableView;

// "Élèves": the pupils the records know, with how many lines each, and the two corrections a
// teacher makes: a name changed (which makes two spellings of one pupil one) and a pupil's
// data deleted from every record file. Questions and answers go through the message boxes.
class frmEleves : public QDialog
{
    Q_OBJECT
public:
    frmEleves(RecordWriter &records, MessageBoxes &messages, QWidget *parent = nullptr);

    // Reads the records folder again.
    void Actualiser();
    // Asks the new name of the chosen pupil (a dialog of its own, answered later).
    void Renommer_Click();
    // Renames the chosen pupil, asking first when the name is already a pupil's. True when
    // lines were renamed.
    bool renommer(const QString &newName);
    // Asks, then removes the chosen pupil's lines. True when lines were removed.
    bool Supprimer_Click();

    QStringList pupils() const;
    // Chooses the pupil of that name in the list; false when it is not there.
    bool choosePupil(const QString &name);

signals:
    // The records were changed: what shows them must read them again.
    void recordsChanged();

private:
    std::optional<ClassList::Pupil> chosen() const;
    void updateButtons();
    void report(const QString &done, const ClassList::Change &change);

    RecordWriter &m_records;
    MessageBoxes &m_messages;
    PupilListModel *m_model = nullptr;
    QTableView *m_list = nullptr;
    QLabel *m_notes = nullptr;
    QPushButton *m_rename = nullptr;
    QPushButton *m_delete = nullptr;
    QPointer<QInputDialog> m_ask;
};
