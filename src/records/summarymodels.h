#pragma once
#include "classfigures.h"
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
        ListensColumn,
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

// The class at a glance: one row per pupil over the period.
class PupilTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column {
        PupilColumn,
        ExercisesColumn,
        SentencesColumn,
        AverageColumn,
        LastMarkColumn,
        TrendColumn,
        TimeSpentColumn,
        LastDayColumn,
        ColumnCount
    };

    explicit PupilTableModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void setPupils(std::vector<PupilFigures> pupils);
    const std::vector<PupilFigures> &pupils() const { return m_pupils; }
    QString cellText(int row, int column) const;

private:
    std::vector<PupilFigures> m_pupils;
};

// Sentences and how they went (the hard sentences), or, for one sentence, the pupils who
// played it: how many times, the wrong drops for each time, time-ups, blue words and listens.
class PlayTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column {
        NameColumn,
        PlayedColumn,
        AverageWrongColumn,
        TimedOutColumn,
        HintsColumn,
        ListensColumn,
        ColumnCount
    };
    enum class Names { Sentences, Pupils };

    explicit PlayTableModel(Names names, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void setFigures(std::vector<PlayFigures> figures);
    const std::vector<PlayFigures> &figures() const { return m_figures; }
    QString cellText(int row, int column) const;

private:
    Names m_names;
    std::vector<PlayFigures> m_figures;
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

namespace SummaryTables {
// The header of a column as written in an export, on one line (the window may break it).
inline constexpr int ExportHeaderRole = Qt::UserRole + 1;
// A table of the summary for a spreadsheet, its rows in the order the model gives them (a
// sorted view's order) and its columns in the order given (all, in the model's order, when
// none are), with the journal export's conventions.
QByteArray toCsv(const QAbstractItemModel &model, std::vector<int> columns = {});
}
