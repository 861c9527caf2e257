#include "recordwriter.h"

#include "recordformat.h"
#include "recordreader.h"

#include "common/csv.h"
#include "common/safefile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>
#include <QObject>
#include <QSysInfo>
#include <QtDebug>

#include <cerrno>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <utility>
#include <vector>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QString defaultComputer()
{
    const QString name = QSysInfo::machineHostName();
    return name.isEmpty() ? QStringLiteral("ordinateur") : name;
}

// One cell of one line: a name never starts a new cell or row.
QString oneCell(const QString &text)
{
    QString clean = text;
    for (QChar &c : clean) {
        if (c == u'\r' || c == u'\n' || c == u'\t')
            c = u' ';
    }
    return clean.simplified();
}

// A record is one line: a line break inside a text is written as a space.
QString oneLine(const QString &text)
{
    if (!text.contains(u'\r') && !text.contains(u'\n'))
        return text;
    QString clean = text;
    for (QChar &c : clean) {
        if (c == u'\r' || c == u'\n')
            c = u' ';
    }
    return clean;
}

QString missingLines(qint64 count)
{
    return count == 1 ? QStringLiteral("une ligne manquera au bilan")
                      : QStringLiteral("%1 lignes manqueront au bilan").arg(count);
}

bool writeAll(int fd, const char *data, qint64 size, qint64 *written, int *errnum)
{
    *written = 0;
    while (*written < size) {
        const ssize_t n = ::write(fd, data + *written, size_t(size - *written));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            *errnum = errno;
            return false;
        }
        if (n == 0) {
            *errnum = ENOSPC;
            return false;
        }
        *written += n;
    }
    return true;
}

enum ItemKind { LineItem, FolderItem, RetryItem };

// One thing handed to the writer's thread, in the order it was handed over.
struct Item {
    int kind = LineItem;
    QDate day;
    qint64 runMs = 0;
    QByteArray bytes;
    QString folder;
    bool create = false;
};

// What the writer's thread tells the thread that made the writer.
struct Status {
    QString path;
    QString reason;
    int waiting = 0;
    qint64 lost = 0;
    bool operator==(const Status &) const = default;
};

// The disk's side of the writer: only the writer's thread uses it.
class DiskSide
{
public:
    DiskSide(QString folder, QString computer)
        : m_folder(std::move(folder))
        , m_computer(std::move(computer))
    {
    }
    ~DiskSide() { close(); }

    void handle(Item &item);
    bool hasWaiting() const { return !m_waiting.empty(); }
    void retry() { flushWaiting(); }
    Status status() const
    {
        return Status{m_path, m_reason, int(m_waiting.size()), m_lostLines};
    }

private:
    struct Waiting {
        QDate day;
        QByteArray bytes;
    };
    enum class Outcome { Written, Failed };

    bool flushWaiting();
    Outcome append(const QDate &day, QByteArrayView line);
    bool open(const QDate &day);
    bool stillAtItsPath() const;
    void close();
    void unavailable(int errnum);

    QString m_folder;
    QString m_computer;
    bool m_create = true;
    QString m_reason; // the system's reason of the last failure
    qint64 m_lostLines = 0;

    int m_fd = -1;
    QString m_path;
    QByteArray m_nativePath;
    QDate m_fileDay;
    int m_part = 1;
    quint64 m_dev = 0;
    quint64 m_ino = 0;
    qint64 m_size = 0;
    bool m_needsLineEnd = false;

    std::deque<Waiting> m_waiting;
    qint64 m_waitingBytes = 0;
    qint64 m_retryAtMs = -1;
    qint64 m_lastRunMs = 0;
};
}

struct RecordWriter::Shared {
    std::mutex mutex;
    std::condition_variable wake;     // the writer's thread waits for work
    std::condition_variable progress; // flush() waits for the thread's work
    std::vector<Item> items;
    qint64 handedBytes = 0; // of the lines handed over and not yet dealt with
    bool sleeping = false;
    bool stop = false;
    bool stopped = false;
    quint64 handed = 0;
    quint64 done = 0;
    quint64 linesHanded = 0;
    quint64 linesDone = 0;
    Status status;
    // Where the status is delivered; null once the writer is going.
    QObject *receiver = nullptr;
    RecordWriter *owner = nullptr;
    bool posted = false;
    std::function<void()> beforeDiskWork;
};

namespace {
// Lines handed over and not yet on their way to the disk, at most: more means a folder that
// has not answered for hours.
constexpr qint64 MaxHandedBytes = RecordWriter::MaxWaitingBytes;

void runDiskSide(const std::shared_ptr<RecordWriter::Shared> &shared, QString folder, QString computer)
{
    RecordWriter::Shared &s = *shared;
    DiskSide disk(std::move(folder), std::move(computer));
    std::vector<Item> items;
    std::unique_lock lock(s.mutex);
    for (;;) {
        // Lines waiting for their folder are tried again now and then, even when no new line
        // comes: a server back after the last exercise of the day still gets them.
        bool retry = false;
        while (s.items.empty() && !s.stop && !retry) {
            s.sleeping = true;
            if (disk.hasWaiting())
                retry = s.wake.wait_for(lock, std::chrono::milliseconds(RecordWriter::RetryMs))
                        == std::cv_status::timeout;
            else
                s.wake.wait(lock);
            s.sleeping = false;
        }
        if (s.items.empty() && !retry)
            break;
        items.swap(s.items);
        const std::function<void()> hook = s.beforeDiskWork;
        lock.unlock();

        if (hook)
            hook();
        if (retry)
            disk.retry();
        quint64 lines = 0;
        qint64 lineBytes = 0;
        for (Item &item : items) {
            if (item.kind == LineItem) {
                ++lines;
                lineBytes += item.bytes.size();
            }
            disk.handle(item);
        }
        const Status status = disk.status();
        const quint64 count = items.size();
        items.clear();

        lock.lock();
        s.done += count;
        s.linesDone += lines;
        s.handedBytes -= lineBytes;
        if (!(status == s.status)) {
            s.status = status;
            if (s.receiver && !s.posted) {
                s.posted = true;
                RecordWriter *owner = s.owner;
                QMetaObject::invokeMethod(s.receiver, [owner] { owner->flush(0); }, Qt::QueuedConnection);
            }
        }
        s.progress.notify_all();
    }
    s.stopped = true;
    s.progress.notify_all();
}
}

RecordWriter::RecordWriter(QString folder, QString computer)
    : m_folder(std::move(folder))
    , m_computer(computer.isEmpty() ? defaultComputer() : oneCell(computer))
    , m_shared(std::make_shared<Shared>())
    , m_receiver(std::make_unique<QObject>())
{
    m_shared->receiver = m_receiver.get();
    m_shared->owner = this;
    m_thread = std::thread(runDiskSide, m_shared, m_folder, m_computer);
}

RecordWriter::~RecordWriter()
{
    if (!m_finished) {
        const QString lost = finish();
        if (!lost.isEmpty())
            qWarning().noquote() << lost;
    } else if (!m_silent) {
        flush(); // lines of the program's last moments
    }
    bool stopped = false;
    {
        std::unique_lock lock(m_shared->mutex);
        m_shared->stop = true;
        m_shared->receiver = nullptr;
        m_shared->owner = nullptr;
        m_shared->wake.notify_one();
        // A thread held by a server that does not answer is left to the end of the program.
        stopped = m_shared->progress.wait_for(lock, std::chrono::milliseconds(200),
                                              [this] { return m_shared->stopped; });
    }
    if (stopped)
        m_thread.join();
    else
        m_thread.detach();
}

RecordWriter::RecordWriter(std::function<QString()> defaultFolder, QString computer)
    : RecordWriter(QString(), std::move(computer))
{
    m_defaultFolder = std::move(defaultFolder);
}

void RecordWriter::settleFolder()
{
    if (m_defaultFolder)
        setFolder(std::exchange(m_defaultFolder, nullptr)(), true);
}

QString RecordWriter::folder()
{
    settleFolder();
    return m_folder;
}

void RecordWriter::setFolder(const QString &folder, bool create)
{
    m_defaultFolder = nullptr;
    m_folder = folder;
    hand(FolderItem, QDate(), 0, folder, create);
}

void RecordWriter::setPupil(const QString &name)
{
    m_pupil = oneCell(name);
}

void RecordWriter::setBeforeDiskWork(std::function<void()> hook)
{
    std::lock_guard lock(m_shared->mutex);
    m_shared->beforeDiskWork = std::move(hook);
}

void RecordWriter::hand(int kind, const QDate &day, qint64 runMs, const QString &folder, bool create)
{
    Shared &s = *m_shared;
    std::unique_lock lock(s.mutex);
    Item item;
    item.kind = kind;
    item.day = day;
    item.runMs = runMs;
    item.folder = folder;
    item.create = create;
    if (kind == LineItem) {
        if (s.handedBytes + m_bytes.size() > MaxHandedBytes) {
            // The writer's thread has not come back for hours: this line is lost, and told.
            lock.unlock();
            ++m_dropped;
            updateFailure();
            return;
        }
        item.bytes = QByteArray(m_bytes.constData(), m_bytes.size());
        s.handedBytes += item.bytes.size();
        ++s.linesHanded;
    }
    s.items.push_back(std::move(item));
    ++s.handed;
    if (s.sleeping)
        s.wake.notify_one();
}

void RecordWriter::lineAdded(const JournalEntry &entry)
{
    settleFolder();
    const qint64 stampSecs = entry.stampSecs;
    const qint64 minute = stampSecs >= 0 ? stampSecs / 60 : (stampSecs - 59) / 60;
    if (minute != m_cachedMinute) {
        const QDateTime local = QDateTime::fromSecsSinceEpoch(minute * 60);
        m_cachedMinute = minute;
        m_cachedDay = local.date();
        m_cachedPrefix = local.toString(QStringLiteral("yyyy-MM-dd HH:mm:"));
    }
    const int second = int(stampSecs - minute * 60);
    if (!m_runDay.isValid() || m_cachedDay > m_runDay)
        m_runDay = m_cachedDay;

    const JournalEvent &event = entry.event;
    QString sentenceFile;
    if (m_sentenceFile && event.kind == EventKind::ExerciseStart)
        sentenceFile = m_sentenceFile();

    m_row.clear();
    QString stamp = m_cachedPrefix;
    stamp += QChar(u'0' + second / 10);
    stamp += QChar(u'0' + second % 10);
    const bool red = event.red();
    Csv::appendRow(m_row, {QString::number(entry.number), stamp, oneLine(event.text()),
                           oneLine(entry.duration), red ? RecordFormat::Yes : RecordFormat::No,
                           m_pupil, oneLine(sentenceFile), JournalEvent::code(event.kind),
                           event.kind == EventKind::Text ? QString() : oneLine(event.value),
                           oneLine(event.word), oneLine(event.expected), oneLine(event.sentence),
                           oneLine(entry.runId), QString::number(entry.exercise),
                           QString::number(entry.runMs), m_computer});
    // Encoded into the same buffer line after line: no allocation for a line.
    m_bytes.resize(m_row.size() * 3);
    QStringEncoder encoder(QStringEncoder::Utf8);
    char *end = encoder.appendToBuffer(m_bytes.data(), m_row);
    m_bytes.truncate(end - m_bytes.constData());

    hand(LineItem, m_runDay, entry.runMs);
}

bool RecordWriter::flush(int timeoutMs)
{
    Shared &s = *m_shared;
    bool done = true;
    {
        std::unique_lock lock(s.mutex);
        const quint64 target = s.handed;
        if (timeoutMs > 0)
            done = s.progress.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                       [&s, target] { return s.done >= target; });
        else
            done = s.done >= target;
        s.posted = false;
        m_path = s.status.path;
        m_reason = s.status.reason;
        m_waiting = s.status.waiting;
        m_lostLines = s.status.lost;
    }
    updateFailure();
    return done;
}

bool RecordWriter::flushWaiting()
{
    hand(RetryItem, QDate(), 0);
    return flush() && m_waiting == 0;
}

QString RecordWriter::finish()
{
    if (m_finished)
        return QString();
    m_finished = true;
    const bool written = flushWaiting();
    qint64 missing = m_lostLines + m_dropped + m_waiting;
    QString reason = m_reason;
    m_silent = !written;
    if (!written) {
        std::lock_guard lock(m_shared->mutex);
        missing += qint64(m_shared->linesHanded - m_shared->linesDone);
        if (m_waiting == 0)
            reason = QStringLiteral("le dossier ne répond pas");
    }
    if (missing == 0)
        return QString();
    if (reason.isEmpty())
        reason = QStringLiteral("le dossier ne répond pas");
    return QStringLiteral("Le journal n'a pas pu être enregistré dans le dossier « %1 » (%2) : %3.")
        .arg(QDir::toNativeSeparators(m_folder), reason, missingLines(missing));
}

SummaryCache &RecordWriter::summaryCache()
{
    flush();
    return *m_summaryCache;
}

std::function<SummaryCache::Result()> RecordWriter::summaryReading()
{
    settleFolder();
    std::shared_ptr<Shared> shared = m_shared;
    quint64 target;
    {
        std::lock_guard lock(shared->mutex);
        target = shared->handed;
    }
    return [shared, target, cache = m_summaryCache, folder = m_folder] {
        {
            std::unique_lock lock(shared->mutex);
            shared->progress.wait_for(lock, std::chrono::milliseconds(FlushMs),
                                      [&shared, target] { return shared->done >= target; });
        }
        return cache->read(folder);
    };
}

void RecordWriter::updateFailure()
{
    const QString folder = QDir::toNativeSeparators(m_folder);
    const qint64 lost = m_lostLines + m_dropped;
    const QString reason = m_reason.isEmpty() ? QStringLiteral("le dossier ne répond pas") : m_reason;
    QString text;
    if (lost > 0)
        text = QStringLiteral("Le journal n'a pas pu être enregistré dans le dossier « %1 » (%2). "
                              "Les exercices continuent, mais %3.")
                   .arg(folder, reason, missingLines(lost));
    else if (m_waiting > 0)
        text = QStringLiteral("Le journal n'a pas pu être enregistré dans le dossier « %1 » (%2). "
                              "Les exercices continuent ; leurs lignes attendent en mémoire et "
                              "seront enregistrées dès que le dossier sera de nouveau disponible.")
                   .arg(folder, reason);
    m_failure = text;
    if (!m_failure.isEmpty())
        tellOnce();
}

void RecordWriter::tellOnce()
{
    if (m_told)
        return;
    m_told = true;
    if (m_onFailure)
        m_onFailure(m_failure);
}

void DiskSide::handle(Item &item)
{
    switch (item.kind) {
    case FolderItem:
        if (item.folder == m_folder && item.create == m_create)
            return;
        close();
        m_folder = item.folder;
        m_create = item.create;
        m_retryAtMs = -1;
        flushWaiting();
        return;
    case RetryItem:
        flushWaiting();
        return;
    default:
        break;
    }
    m_lastRunMs = item.runMs;
    if (m_waiting.empty() && append(item.day, item.bytes) == Outcome::Written)
        return;
    m_waiting.push_back({item.day, std::move(item.bytes)});
    m_waitingBytes += m_waiting.back().bytes.size();
    // The oldest lines go first when too many wait: the loss is told.
    while (m_waitingBytes > RecordWriter::MaxWaitingBytes && !m_waiting.empty()) {
        m_waitingBytes -= m_waiting.front().bytes.size();
        m_waiting.pop_front();
        ++m_lostLines;
    }
    if (m_retryAtMs < 0 || item.runMs >= m_retryAtMs)
        flushWaiting();
}

bool DiskSide::flushWaiting()
{
    while (!m_waiting.empty()) {
        if (append(m_waiting.front().day, m_waiting.front().bytes) != Outcome::Written) {
            m_retryAtMs = m_lastRunMs + RecordWriter::RetryMs;
            return false;
        }
        m_waitingBytes -= m_waiting.front().bytes.size();
        m_waiting.pop_front();
    }
    m_retryAtMs = -1;
    return true;
}

bool DiskSide::stillAtItsPath() const
{
    struct stat st;
    if (::lstat(m_nativePath.constData(), &st) != 0)
        return false;
    return quint64(st.st_dev) == m_dev && quint64(st.st_ino) == m_ino;
}

DiskSide::Outcome DiskSide::append(const QDate &day, QByteArrayView line)
{
    // Replaced (a spreadsheet saves by writing a copy and renaming it), deleted or renamed:
    // the lines go to the file at the path again, never into a file nobody will read.
    if (m_fd >= 0 && (m_fileDay != day || !stillAtItsPath()))
        close();
    if (m_fd >= 0 && m_size + line.size() > RecordReader::MaxFileSize) {
        close();
        ++m_part;
    }
    if (m_fd < 0 && !open(day))
        return Outcome::Failed;

    QByteArray withEnd;
    QByteArrayView bytes = line;
    if (m_needsLineEnd) {
        // A line cut short by an earlier version: the next one must not be glued to it.
        withEnd = QByteArray("\r\n") + line.toByteArray();
        bytes = withEnd;
    }
    qint64 written = 0;
    int errnum = 0;
    if (!writeAll(m_fd, bytes.constData(), bytes.size(), &written, &errnum)) {
        // Part of the line may be there: it is taken back, so that the file ends with a whole
        // line and the line is written whole later.
        if (written > 0) {
            struct stat st;
            if (::fstat(m_fd, &st) == 0 && st.st_size >= written)
                (void)::ftruncate(m_fd, st.st_size - written);
        }
        unavailable(errnum);
        close();
        return Outcome::Failed;
    }
    m_size += written;
    m_needsLineEnd = false;
    return Outcome::Written;
}

bool DiskSide::open(const QDate &day)
{
    if (day != m_fileDay)
        m_part = 1;
    m_fileDay = day;
    if (m_folder.isEmpty()) {
        unavailable(ENOENT);
        return false;
    }
    const QByteArray folder = QFile::encodeName(m_folder);
    struct stat st;
    if (::stat(folder.constData(), &st) != 0) {
        const int errnum = errno;
        if (!m_create || errnum != ENOENT) {
            unavailable(errnum);
            return false;
        }
        // Pupils' records are for the teacher alone, whatever the umask.
        QDir().mkpath(QFileInfo(m_folder).absolutePath());
        if (::mkdir(folder.constData(), 0700) != 0 && errno != EEXIST) {
            unavailable(errno);
            return false;
        }
        ::chmod(folder.constData(), 0700);
    } else if (!S_ISDIR(st.st_mode)) {
        unavailable(ENOTDIR);
        return false;
    }

    const QByteArray header = RecordFormat::headerBytes();
    for (; m_part <= 999; ++m_part) {
        m_path = QDir(m_folder).filePath(RecordFormat::fileName(day, m_computer, m_part));
        m_nativePath = QFile::encodeName(m_path);
        const QByteArray &path = m_nativePath;
        // Never through a symbolic link: whatever stands at the path is a file of its own, or
        // the lines go to the next part.
        int fd = ::open(path.constData(), O_RDWR | O_APPEND | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                        0600);
        bool created = fd >= 0;
        if (fd < 0 && errno == EEXIST)
            fd = ::open(path.constData(), O_RDWR | O_APPEND | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) {
            if (errno == ELOOP || errno == EISDIR || errno == ENXIO)
                continue;
            unavailable(errno);
            return false;
        }
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(fd);
            continue;
        }
        if (created)
            ::fchmod(fd, 0600);
        m_fd = fd;
        m_dev = quint64(st.st_dev);
        m_ino = quint64(st.st_ino);
        m_size = st.st_size;
        m_needsLineEnd = false;
        if (m_size == 0) {
            // New, or made by another copy of the program a moment ago: a second header, if
            // any, is skipped by the reader.
            qint64 written = 0;
            int errnum = 0;
            if (!writeAll(fd, header.constData(), header.size(), &written, &errnum)) {
                if (created)
                    ::unlink(path.constData());
                else if (written > 0)
                    (void)::ftruncate(fd, 0);
                close();
                unavailable(errnum);
                return false;
            }
            m_size = written;
            return true;
        }
        if (m_size + 4096 > RecordReader::MaxFileSize) {
            close();
            continue;
        }
        QByteArray start(header.size(), '\0');
        if (::pread(fd, start.data(), size_t(start.size()), 0) != header.size() || start != header) {
            // A file of another form (written by hand, damaged at its start) is left alone.
            close();
            continue;
        }
        char last = '\n';
        if (::pread(fd, &last, 1, m_size - 1) == 1)
            m_needsLineEnd = last != '\n';
        return true;
    }
    m_part = 1;
    unavailable(EEXIST);
    return false;
}

void DiskSide::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

void DiskSide::unavailable(int errnum)
{
    m_reason = errnum == EEXIST
                   ? QStringLiteral("les fichiers de ce jour ne sont pas des journaux de Plumalin")
                   : SafeFile::systemReason(errnum);
}

