#pragma once
#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>

// The form of a record file: one CSV file per computer and per day in the records folder, with
// the journal export's conventions. Besides the journal's own columns: the line's colour (a
// spreadsheet cannot see it otherwise), the pupil, the sentence file of an exercise's first
// line, then what the summary reads instead of the text: the event's kind and values, the
// sentence in play, the run (one per start of the program), the exercise of that run, the
// milliseconds since the run began (on a clock that never jumps) and the computer's name.
// The date is written "2026-12-10 14:03:22" whatever the regional settings, so that a record
// reads back the same after they change.
namespace RecordFormat {
enum Column {
    NumberColumn,
    DateColumn,
    TextColumn,
    DurationColumn,
    RedColumn,
    PupilColumn,
    SentenceFileColumn,
    KindColumn,
    ValueColumn,
    WordColumn,
    ExpectedColumn,
    SentenceColumn,
    RunColumn,
    ExerciseColumn,
    RunMsColumn,
    ComputerColumn,
    ColumnCount
};
// The first form's columns: the journal's, the colour, the pupil and the sentence file.
inline constexpr int OldColumnCount = KindColumn;

QStringList headers();
QStringList oldHeaders();
// The header row as written at the top of each file, byte-order mark included.
QByteArray headerBytes();

inline const QString Yes = QStringLiteral("oui");
inline const QString No = QStringLiteral("non");

// The computer's name as it goes into a file name: letters, digits, '-' and '_' only.
QString fileSafeName(const QString &computer);
// "journal-2026-12-10-salle1.csv"; the next parts of that day are "…-salle1-2.csv", and so on.
QString fileName(const QDate &day, const QString &computer, int part = 1);

// Seconds of a local date and time counted from the start of the Julian calendar: cheap to
// compare and subtract, and without any time zone.
qint64 localSeconds(const QDate &date, int secondsOfDay);
QDateTime toDateTime(qint64 localSecs);
// "2026-12-10 14:03:22" read back; false when the text is not exactly of that form.
bool parseStamp(QStringView text, qint64 &localSecs);
bool parseStamp(QByteArrayView text, qint64 &localSecs);
}
