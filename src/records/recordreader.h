#pragma once
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <vector>

// One journal line read back from a record file, as the summary needs it.
struct RecordLine {
    qint64 when = 0; // local date and time, see RecordFormat::localSeconds
    QString text;
    bool red = false;
    QString pupil;
    QString sentenceFile;
};

// Every line of a records folder, in the order written, and a short French note for each file
// that was skipped in whole or in part.
struct RecordSet {
    std::vector<RecordLine> lines;
    QStringList notes;
};

namespace RecordReader {
// Largest record file read; a bigger one is skipped with a note.
inline constexpr qint64 MaxFileSize = 64 * 1024 * 1024;

// Appends the lines of one record file's contents. Lines that cannot be read are skipped;
// the returned note (empty when all went well) says so, or that the file is of another form.
QString readBytes(QByteArrayView bytes, const QString &fileName, std::vector<RecordLine> &lines);
// Every "*.csv" file of the folder, oldest day first. A missing folder is no records at all.
RecordSet readFolder(const QString &folder);
}
