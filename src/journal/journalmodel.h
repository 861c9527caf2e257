#pragma once
#include <QAbstractTableModel>
#include <QDateTime>
#include <QString>

#include <vector>

// One journal line as kept in memory: small, so that a long class session stays cheap.
struct JournalLine {
    qint64 stampSecs = 0;   // local date-time of the line, seconds since the epoch
    QString text;
    QString duree;          // caller's duration text (SetProgress), usually empty
    qint32 elapsedSecs = -1; // AjoutProgress's duration in seconds, -1 when none
    bool red = false;
};

// The journal's grid: row 0 of the grid is the table's header; model row i is line i + 1.
class JournalModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit JournalModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void append(JournalLine line);
    // Header and a fresh line 1 stamped with the given time.
    void reset(const QDateTime &now);

    const std::vector<JournalLine> &lines() const { return m_lines; }
    // Texts of a line's cells as the grid shows them (column 0 to 3).
    QString cellText(int line, int column) const;

    static QString stamp(const QDateTime &when);
    static QString formatElapsed(qint64 seconds);

private:
    std::vector<JournalLine> m_lines;
};
