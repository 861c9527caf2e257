#include "summarycache.h"

#include "recordreader.h"

#include "common/safefile.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>

#include <sys/stat.h>

namespace {
// The threads that read files at once: the calling one and its helpers.
unsigned readingThreads(std::size_t files)
{
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    return unsigned(std::min<std::size_t>({files, cores, 4}));
}
}

void SummaryCache::setBeforeRead(std::function<void()> hook)
{
    std::lock_guard lock(m_hookMutex);
    m_beforeRead = std::move(hook);
}

bool SummaryCache::busy()
{
    std::unique_lock lock(m_mutex, std::try_to_lock);
    return !lock.owns_lock();
}

SummaryCache::Result SummaryCache::read(const QString &folder)
{
    std::unique_lock lock(m_mutex, std::try_to_lock);
    if (!lock.owns_lock()) {
        SummaryCache alone;
        return alone.read(folder);
    }
    std::function<void()> hook;
    {
        std::lock_guard hookLock(m_hookMutex);
        hook = m_beforeRead;
    }
    if (hook)
        hook();
    if (folder != m_folder) {
        m_files.clear();
        m_folder = folder;
    }
    m_filesRead = 0;
    Result result;
    if (folder.isEmpty())
        return result;
    const QDir dir(folder);
    const QStringList names =
        dir.entryList({QStringLiteral("*.csv")}, QDir::Files | QDir::System, QDir::Name);
    std::map<QString, File> kept;
    struct Job {
        QString name;
        QString path;
        File file;
    };
    std::vector<Job> jobs;
    for (const QString &name : names) {
        const QString path = dir.filePath(name);
        // Size and time straight from the system: a time in local time costs a look at the
        // time zone file for each of a year's files.
        // A name that leads nowhere (a dangling link) is read all the same, for its note.
        struct stat st;
        const bool known = ::stat(QFile::encodeName(path).constData(), &st) == 0;
        const qint64 size = known ? qint64(st.st_size) : -1;
        const qint64 modified = known ? qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec : -1;
        auto found = m_files.find(name);
        if (found != m_files.end() && found->second.size == size && found->second.modified == modified) {
            kept.emplace(name, std::move(found->second));
            continue;
        }
        Job job{name, path, File()};
        job.file.size = size;
        job.file.modified = modified;
        jobs.push_back(std::move(job));
    }

    // Files are read on every core at once: each one makes its own exercises.
    std::atomic<std::size_t> next{0};
    const auto work = [&jobs, &next] {
        for (std::size_t i = next++; i < jobs.size(); i = next++) {
            Job &job = jobs[i];
            QString error;
            const std::optional<QByteArray> bytes = SafeFile::read(job.path, RecordReader::MaxFileSize, &error);
            if (bytes) {
                RecordReader::OldFormIds old;
                old.prefix = job.name;
                File &file = job.file;
                file.note = RecordReader::readBytes(
                    *bytes, job.name, [&file](const RecordLine &line) { file.builder.add(line); }, old, true);
                file.builder.finishFile();
            } else {
                job.file.note = QStringLiteral("« %1 » : fichier ignoré. %2").arg(job.name, error);
            }
        }
    };
    std::vector<std::thread> helpers;
    try {
        for (unsigned k = 1; k < readingThreads(jobs.size()); ++k)
            helpers.emplace_back(work);
    } catch (const std::system_error &) {
        // No thread to spare: the ones there are read every file.
    }
    work();
    for (std::thread &helper : helpers)
        helper.join();
    m_filesRead = int(jobs.size());
    for (Job &job : jobs)
        kept.emplace(job.name, std::move(job.file));
    m_files = std::move(kept);

    SummaryBuilder all;
    for (const auto &[name, file] : m_files) {
        all.merge(file.builder);
        if (!file.note.isEmpty())
            result.notes.append(file.note);
    }
    result.exercises = all.exercises();
    result.pupils = all.pupils();
    return result;
}
