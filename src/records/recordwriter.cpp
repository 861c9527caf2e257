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
#include <QSysInfo>

#include <cerrno>
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
}

RecordWriter::RecordWriter(QString folder, QString computer)
    : m_folder(std::move(folder))
    , m_computer(computer.isEmpty() ? defaultComputer() : oneCell(computer))
{
}

RecordWriter::~RecordWriter()
{
    flushWaiting();
    close();
}

void RecordWriter::setFolder(const QString &folder, bool create)
{
    if (folder == m_folder && create == m_create)
        return;
    close();
    m_folder = folder;
    m_create = create;
    m_retryAtMs = -1;
    flushWaiting();
}

void RecordWriter::setPupil(const QString &name)
{
    m_pupil = oneCell(name);
}

void RecordWriter::lineAdded(const JournalEntry &entry)
{
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
    m_lastRunMs = entry.runMs;

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

    if (m_waiting.empty() && append(m_runDay, m_bytes) == Outcome::Written)
        return;
    m_waiting.push_back({m_runDay, QByteArray(m_bytes.constData(), m_bytes.size())});
    m_waitingBytes += m_waiting.back().bytes.size();
    // The oldest lines go first when too many wait: the loss is told.
    while (m_waitingBytes > MaxWaitingBytes && !m_waiting.empty()) {
        m_waitingBytes -= m_waiting.front().bytes.size();
        m_waiting.pop_front();
        ++m_lostLines;
    }
    if (m_retryAtMs < 0 || entry.runMs >= m_retryAtMs)
        flushWaiting();
    updateFailure();
}

bool RecordWriter::flushWaiting()
{
    while (!m_waiting.empty()) {
        if (append(m_waiting.front().day, m_waiting.front().bytes) != Outcome::Written) {
            m_retryAtMs = m_lastRunMs + RetryMs;
            updateFailure();
            return false;
        }
        m_waitingBytes -= m_waiting.front().bytes.size();
        m_waiting.pop_front();
    }
    m_retryAtMs = -1;
    updateFailure();
    return true;
}

bool RecordWriter::stillAtItsPath() const
{
    struct stat st;
    if (::lstat(m_nativePath.constData(), &st) != 0)
        return false;
    return quint64(st.st_dev) == m_dev && quint64(st.st_ino) == m_ino;
}

RecordWriter::Outcome RecordWriter::append(const QDate &day, const QByteArray &line)
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
    const QByteArray *bytes = &line;
    if (m_needsLineEnd) {
        // A line cut short by an earlier version: the next one must not be glued to it.
        withEnd = QByteArray("\r\n") + line;
        bytes = &withEnd;
    }
    qint64 written = 0;
    int errnum = 0;
    if (!writeAll(m_fd, bytes->constData(), bytes->size(), &written, &errnum)) {
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

bool RecordWriter::open(const QDate &day)
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

void RecordWriter::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

void RecordWriter::unavailable(int errnum)
{
    m_reason = errnum == EEXIST
                   ? QStringLiteral("les fichiers de ce jour ne sont pas des journaux de Plumalin")
                   : SafeFile::systemReason(errnum);
}

void RecordWriter::updateFailure()
{
    const QString folder = QDir::toNativeSeparators(m_folder);
    QString text;
    if (m_lostLines > 0)
        text = QStringLiteral("Le journal n'a pas pu être enregistré dans le dossier « %1 » (%2). "
                              "Les exercices continuent, mais %3 lignes manqueront au bilan.")
                   .arg(folder, m_reason)
                   .arg(m_lostLines);
    else if (!m_waiting.empty())
        text = QStringLiteral("Le journal n'a pas pu être enregistré dans le dossier « %1 » (%2). "
                              "Les exercices continuent ; leurs lignes attendent en mémoire et "
                              "seront enregistrées dès que le dossier sera de nouveau disponible.")
                   .arg(folder, m_reason);
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
