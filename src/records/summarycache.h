#pragma once
#include "summary.h"

#include <QString>
#include <QStringList>

#include <map>
#include <vector>

// What the summary made of each file of the records folder, kept from one opening of the
// summary window to the next: a file whose size and time have not changed is not read again.
// Only the exercises' figures are kept, never the lines.
class SummaryCache
{
public:
    struct Result {
        std::vector<ExerciseSummary> exercises;
        QStringList pupils;
        QStringList notes;
    };

    Result read(const QString &folder);
    // How many files the last read() read from the disk.
    int filesRead() const { return m_filesRead; }

private:
    struct File {
        qint64 size = -1;
        qint64 modified = -1;
        SummaryBuilder builder;
        QString note;
    };
    QString m_folder;
    std::map<QString, File> m_files;
    int m_filesRead = 0;
};
