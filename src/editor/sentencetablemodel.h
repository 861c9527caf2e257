#pragma once
#include <QAbstractTableModel>
#include <QString>
#include <QStringList>

#include <vector>

// The sentence editor's table. Its interface counts rows as the editor's grid does: row 0 is the
// header row ("N°", "Liste des phrases :"), shown as the view's header, and rows 1 to n are the
// sentences, which are model rows 0 to n - 1. Column 0 holds each row's number as plain text, so
// that a row can have a blank number (row 1 after a cut) and any number of rows fits.
class SentenceTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    static const QString HeaderNumber;
    static const QString HeaderSentence;

    explicit SentenceTableModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // Grid rows, the header row included: 2 for the blank row of an empty list.
    int Rows() const { return int(m_rows.size()) + 1; }
    // Text of a cell in grid numbering; row 0 gives the header's texts, a row that does not
    // exist gives an empty text.
    QString TextMatrix(int row, int col) const;
    // Writes a cell of data row `row` (1 to Rows() - 1); other rows are ignored.
    void setTextMatrix(int row, int col, const QString &text);
    // Appends a data row at the end.
    void AddItem(const QString &number, const QString &sentence = QString());
    // Removes data row `row` (1 to Rows() - 1).
    void RemoveItem(int row);

    // Header row and one blank data row: the table of an empty list.
    void InitGrille();
    // Writes "1", "2", ... into the number cells of the data rows.
    void NumeroteGrille();

    // Replaces the whole list: rows numbered from 1, or the blank row for an empty list.
    void setSentences(const QStringList &sentences);
    // The sentence cells of every data row, in order, as they would be saved.
    QStringList sentences() const;

private:
    struct Row {
        QString number;
        QString sentence;
    };
    std::vector<Row> m_rows;
};
