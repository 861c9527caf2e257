#pragma once
#include "journal/journalevent.h"

#include "common/safefile.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// One journal line read back from a record file, as the summary needs it: the event's kind and
// values, never its text.
struct RecordLine {
    qint64 when = 0;   // local date and time, see RecordFormat::localSeconds
    qint64 runMs = -1; // milliseconds since the run began; -1 in files of the first form
    EventKind kind = EventKind::Text;
    bool red = false;
    bool oldForm = false;
    QString value;
    QString word;
    QString expected;
    QString pupil;
    QString sentenceFile;
    QString computer;
    QString run;
    int exercise = 0;
    QString sentence; // the sentence in play; empty in files of the first form
    // The line as the journal showed it; left empty when only the summary's values are read.
    QString text;
    QString duration;
};

// Every line of a records folder, in the order read, and a short French note for each file
// that was skipped in whole or in part.
struct RecordSet {
    std::vector<RecordLine> lines;
    QStringList notes;
};

namespace RecordReader {
// Largest record file read; the writer starts a new part before a file grows past it.
inline constexpr qint64 MaxFileSize = SafeFile::DefaultMaxBytes;

using Sink = std::function<void(const RecordLine &)>;

// Files of the first form have no runs or exercises of their own: they are numbered as read,
// across the files of a folder, as the program starts and the exercises begin.
struct OldFormIds {
    QString prefix; // makes the runs of one file its own
    int run = 0;
    int exercise = 0;
    QString answer;
};

// Gives the lines of one record file's contents to the sink. A record is one line; a line
// that cannot be read is skipped; the returned note (empty when all went well) says how many,
// or that the file is of another form or not in UTF-8.
// `summaryOnly`: the values that the summary does not read (the answer of a drop) are left
// empty, which makes a year of records quicker to read.
QString readBytes(QByteArrayView bytes, const QString &fileName, const Sink &sink, OldFormIds &old,
                  bool summaryOnly = false);
QString readBytes(QByteArrayView bytes, const QString &fileName, std::vector<RecordLine> &lines);
// Every "*.csv" file of the folder, in the order of their names. A missing folder is no
// records at all.
QStringList readFolder(const QString &folder, const Sink &sink, bool summaryOnly = false);
RecordSet readFolder(const QString &folder);
}
