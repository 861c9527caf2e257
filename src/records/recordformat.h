#pragma once
#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>

// The form of a record file: one CSV file per day in the records folder, with the journal
// export's conventions and columns, and three more: the line's colour (a spreadsheet cannot
// see it otherwise, and the summary needs the red lines), the pupil, and the sentence file of
// an exercise's first line. The date is written "2026-12-10 14:03:22" whatever the regional
// settings, so that a record reads back the same after they change.
namespace RecordFormat {
enum Column {
    NumberColumn,
    DateColumn,
    TextColumn,
    DurationColumn,
    RedColumn,
    PupilColumn,
    SentenceFileColumn,
    ColumnCount
};

QStringList headers();
// The header row as written at the top of each file, byte-order mark included.
QByteArray headerBytes();

inline const QString Yes = QStringLiteral("oui");
inline const QString No = QStringLiteral("non");

// "journal-2026-12-10.csv"; a second file of the same day (when the first one has another
// form) is "journal-2026-12-10-2.csv".
QString fileName(const QDate &day, int copy = 1);

// Seconds of a local date and time counted from the start of the Julian calendar: cheap to
// compare and subtract, and without any time zone.
qint64 localSeconds(const QDate &date, int secondsOfDay);
QDateTime toDateTime(qint64 localSecs);
// "2026-12-10 14:03:22" read back; false when the text is not exactly of that form.
bool parseStamp(QStringView text, qint64 &localSecs);
}
