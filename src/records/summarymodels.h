#pragma once
#include "summary.h"

#include <QAbstractTableModel>
#include <QByteArray>

#include <vector>

// The summary's table of exercises, one row per exercise in the order played. The user role
// of each cell gives a value that sorts as the column means (dates and numbers).
class ExerciseTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column {
        DateColumn,
        PupilColumn,
        SentenceFileColumn,
        SentencesColumn,
        WrongDropsColumn,
        HintsColumn,
        TimedOutColumn,
        MarkColumn,
        TimeSpentColumn,
        ColumnCount
    };

    explicit ExerciseTableModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void setExercises(std::vector<ExerciseSummary> exercises);
    const std::vector<ExerciseSummary> &exercises() const { return m_exercises; }
    QString cellText(int row, int column) const;
    // The table for a spreadsheet, with the journal export's conventions.
    QByteArray toCsv() const;

private:
    std::vector<ExerciseSummary> m_exercises;
};

// The words most often dropped in the wrong place: the word, how many times, the word wanted.
class WrongWordModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { DroppedColumn, CountColumn, ExpectedColumn, ColumnCount };

    explicit WrongWordModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void setCounts(std::vector<WrongWordCount> counts);
    const std::vector<WrongWordCount> &counts() const { return m_counts; }

private:
    std::vector<WrongWordCount> m_counts;
};
