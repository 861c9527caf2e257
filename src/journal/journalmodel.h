#pragma once
#include <QAbstractTableModel>
#include <QByteArray>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QTimeZone>

#include <vector>

// One journal line as kept in memory: small, so that a long class session stays cheap.
struct JournalLine {
    qint64 stampSecs = 0;    // the line's instant, seconds since the epoch
    QString text;
    QString duree;           // caller's duration text (SetProgress), usually empty
    qint32 elapsedSecs = -1; // AjoutProgress's duration in seconds (under a day), -1 when none
    bool red = false;
};

// The journal's lines as a four-column table (number, stamp, text, duration). The grid's
// header row is the view's header, so model row i is journal line i + 1.
class JournalModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { NumberColumn, DateColumn, TextColumn, DurationColumn, ColumnCount };

    // Characters of a line's text that the grid shows (then "…"); the export writes it whole.
    static constexpr qsizetype ShownLength = 500;

    explicit JournalModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    void append(JournalLine line);
    // Header and a fresh line 1 stamped with the given time.
    void reset(const QDateTime &now);

    const std::vector<JournalLine> &lines() const { return m_lines; }
    // Texts of a line's cells as the grid shows them (column 0 to 3).
    QString cellText(int line, int column) const;

    // The whole journal as a spreadsheet reads it: UTF-8 with a byte-order mark, ';' between
    // fields, CR LF line ends, a header row, the texts as they were written.
    QByteArray toCsv() const;

    // Short date, a space, the time with hours, minutes and seconds (no time zone).
    static QString stamp(const QDateTime &when, const QLocale &locale);
    static QString stamp(const QDateTime &when) { return stamp(when, stampLocale()); }
    // The system's time zone, read on first use and kept for the run.
    static const QTimeZone &systemZone();
    // The system's regional settings; the program's own (French) when the system has none.
    static QLocale stampLocale();
    // The locale's long time format without its time zone.
    static QString timeFormatWithoutZone(const QLocale &locale);

private:
    std::vector<JournalLine> m_lines;
};
