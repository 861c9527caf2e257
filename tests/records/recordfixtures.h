#pragma once
// Record files of the first form (text and colour, no event kinds) written by hand for the
// reading tests: a header and lines of the given fields.
#include "common/csv.h"
#include "records/recordformat.h"

#include <QByteArray>
#include <QFile>
#include <QTest>
#include <QString>
#include <QStringList>

struct FixtureLine {
    QString stamp; // "2026-12-10 09:00:00"
    QString text;
    bool red = false;
    QString pupil;
    QString sentenceFile;
};

inline QByteArray recordBytes(const QList<FixtureLine> &lines)
{
    QString out;
    int number = 1;
    for (const FixtureLine &l : lines) {
        Csv::appendRow(out, {QString::number(number++), l.stamp, l.text, QString(),
                             l.red ? RecordFormat::Yes : RecordFormat::No, l.pupil, l.sentenceFile});
    }
    QString header;
    Csv::appendRow(header, RecordFormat::oldHeaders());
    return QByteArray(Csv::ByteOrderMark) + header.toUtf8() + out.toUtf8();
}

inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Fails the test calling it when the file cannot be written.
inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}
