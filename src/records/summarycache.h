#pragma once
#include "summary.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <vector>

// What the summary made of each file of the records folder, kept from one opening of the
// summary window to the next: a file whose size and time have not changed is not read again.
// Only the exercises' figures are kept, never the lines. Any thread may read; while one read
// runs, another one reads without the cache rather than wait: the first may be held by a server
// that does not answer.
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
    // A read runs.
    bool busy();

    // Stands in for a folder that is slow to answer in tests: called by read(), on its thread,
    // before it looks at the folder.
    void setBeforeRead(std::function<void()> hook);

private:
    struct File {
        qint64 size = -1;
        qint64 modified = -1;
        SummaryBuilder builder;
        QString note;
    };
    QString m_folder;
    std::map<QString, File> m_files;
    std::atomic<int> m_filesRead = 0;
    std::mutex m_mutex; // one read at a time
    std::mutex m_hookMutex;
    std::function<void()> m_beforeRead;
};
