#pragma once
#include <QAbstractTableModel>
#include <QString>
#include <QStringList>

#include <vector>

// The sentence editor's table: one row per sentence, rows from 0, two columns (the row's number
// as plain text, and the sentence). The number is text so that a row can show none (the blank
// row of an empty list, or a first row that a cut blanked). The headers are "N°" and "Liste des
// phrases :". Read-only in the view: the editor writes the cells through setData.
class SentenceTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { NumberColumn, SentenceColumn, ColumnCount };
    static const QString HeaderNumber;
    static const QString HeaderSentence;

    // The table shows at most this many characters of a sentence, then "…"; the whole text is
    // the cell's edit role and is what the list holds and saves.
    static constexpr qsizetype ShownLength = 500;

    explicit SentenceTableModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Writes a cell's text (display or edit role).
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    // Inserts rows with no number and no sentence.
    bool insertRows(int row, int count, const QModelIndex &parent = {}) override;
    bool removeRows(int row, int count, const QModelIndex &parent = {}) override;

    // Writes "1", "2", ... into every row's number, at once.
    void renumber();
    // Replaces the whole list: rows numbered from 1, or one blank row for an empty list.
    void setSentences(const QStringList &sentences);
    // Every row's sentence, in order, as they would be saved.
    QStringList sentences() const;

private:
    struct Row {
        QString number;
        QString sentence;
    };
    std::vector<Row> m_rows;
};
