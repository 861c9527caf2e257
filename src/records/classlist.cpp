#include "classlist.h"

#include "recordformat.h"
#include "recordreader.h"

#include "common/csv.h"
#include "common/safefile.h"

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <cerrno>
#include <fcntl.h>
#include <map>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace ClassList {
namespace {

QString shown(const QString &name)
{
    return QStringLiteral("« %1 »").arg(name);
}

// The columns of the file's records, from its header; nothing when the file is not a record
// file of this program. `bodyStart` is where the first record begins.
std::optional<int> recordColumns(QByteArrayView bytes, qsizetype &bodyStart, QByteArray &header)
{
    qsizetype start = 0;
    if (bytes.startsWith(QByteArrayView(Csv::ByteOrderMark)))
        start = 3;
    qsizetype end = bytes.indexOf('\n', start);
    bodyStart = end < 0 ? bytes.size() : end + 1;
    if (end < 0)
        end = bytes.size();
    QByteArrayView line = bytes.sliced(start, end - start);
    if (line.endsWith('\r'))
        line.chop(1);
    std::array<QByteArrayView, RecordFormat::ColumnCount + 1> cells;
    const int count = Csv::splitLine(line, cells.data(), RecordFormat::ColumnCount);
    QStringList names;
    for (int i = 0; i < count && i < RecordFormat::ColumnCount; ++i)
        names.append(Csv::readCell(cells[std::size_t(i)]));
    header = line.toByteArray();
    if (names == RecordFormat::headers())
        return RecordFormat::ColumnCount;
    if (names == RecordFormat::oldHeaders())
        return RecordFormat::OldColumnCount;
    return std::nullopt;
}

// One record of a file: where its line starts and ends (line end included), and its pupil's
// cell.
struct Record {
    qsizetype lineStart = 0;
    qsizetype lineEnd = 0;
    qsizetype cellStart = 0;
    qsizetype cellEnd = 0;
};

// Calls `visit(record, pupil)` for each record from `from` on. A line that is not a whole
// record (damaged, cut short, a second header) is nobody's and is never visited: it stays as
// it is.
template<typename Visit>
void forEachRecord(QByteArrayView bytes, qsizetype from, int columns, const QByteArray &header,
                   Visit &&visit)
{
    std::array<QByteArrayView, RecordFormat::ColumnCount + 1> cells;
    QByteArray lastCell;
    QString lastPupil;
    bool known = false;
    qsizetype pos = from;
    while (pos < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', pos);
        const qsizetype next = end < 0 ? bytes.size() : end + 1;
        if (end < 0)
            end = bytes.size();
        QByteArrayView text = bytes.sliced(pos, end - pos);
        if (text.endsWith('\r'))
            text.chop(1);
        if (!text.isEmpty() && text != QByteArrayView(header)
            && Csv::splitLine(text, cells.data(), columns) == columns) {
            const QByteArrayView cell = cells[RecordFormat::PupilColumn];
            if (!known || cell != QByteArrayView(lastCell)) {
                lastCell = cell.toByteArray();
                lastPupil = Csv::readCell(cell);
                known = true;
            }
            const qsizetype cellStart = cell.data() - bytes.data();
            visit(Record{pos, next, cellStart, cellStart + cell.size()}, lastPupil);
        }
        pos = next;
    }
}

// Whether the bytes are UTF-8, as the reader of the records wants them.
bool isUtf8(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        const int extra = (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
        if (extra < 0 || i + extra >= n)
            return false;
        unsigned code = c & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (p[i + k] & 0x3F);
        }
        static constexpr unsigned Least[] = {0, 0x80, 0x800, 0x10000};
        if (code < Least[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

// A record file opened for a change, read through the descriptor that is kept open: lines a
// writer appends to it while it is rewritten are found there afterwards.
class OpenFile
{
public:
    explicit OpenFile(const QString &path) : m_path(path)
    {
        const QByteArray native = QFile::encodeName(path);
        struct stat st;
        if (::lstat(native.constData(), &st) != 0) {
            m_failure = reason(errno);
            return;
        }
        if (S_ISLNK(st.st_mode)) {
            m_failure = QStringLiteral("%1 est un lien vers un autre fichier : il n'a pas été modifié.")
                            .arg(shown(name()));
            return;
        }
        if (!S_ISREG(st.st_mode))
            return; // not a file of records: nothing of the pupil's
        m_readOnly = (st.st_mode & S_IWUSR) == 0;
        m_fd = ::open(native.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (m_fd < 0) {
            m_failure = reason(errno);
            return;
        }
        if (::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            m_failure = reason(errno);
            return;
        }
        if (st.st_size > RecordReader::MaxFileSize) {
            m_failure = QStringLiteral("%1 est trop grand pour être lu : il n'a pas été modifié.")
                            .arg(shown(name()));
            return;
        }
        if (!readFrom(0, m_bytes))
            m_failure = reason(errno);
    }
    ~OpenFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    OpenFile(const OpenFile &) = delete;
    OpenFile &operator=(const OpenFile &) = delete;

    QString name() const { return QFileInfo(m_path).fileName(); }
    const QString &failure() const { return m_failure; }
    bool readOnly() const { return m_readOnly; }
    const QByteArray &bytes() const { return m_bytes; }
    // What was appended to the file since it was read.
    bool readMore(QByteArray &more) { return readFrom(m_bytes.size() + m_extra, more); }
    // Whether another file now stands at the path (the one read was replaced, not rewritten in
    // place).
    bool replaced() const
    {
        struct stat open, now;
        return ::fstat(m_fd, &open) == 0 && ::stat(QFile::encodeName(m_path).constData(), &now) == 0
               && (open.st_dev != now.st_dev || open.st_ino != now.st_ino);
    }
    void consumed(qsizetype bytes) { m_extra += bytes; }

private:
    bool readFrom(qint64 offset, QByteArray &out)
    {
        out.clear();
        char buffer[65536];
        for (;;) {
            const ssize_t n = ::pread(m_fd, buffer, sizeof buffer, off_t(offset + out.size()));
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                return false;
            }
            if (n == 0)
                return true;
            out.append(buffer, n);
            if (out.size() > RecordReader::MaxFileSize) {
                errno = EFBIG;
                return false;
            }
        }
    }
    QString reason(int errnum) const
    {
        return QStringLiteral("%1 n'a pas pu être lu (%2) : il n'a pas été modifié.")
            .arg(shown(name()), SafeFile::systemReason(errnum));
    }

    QString m_path;
    int m_fd = -1;
    bool m_readOnly = false;
    QByteArray m_bytes;
    qint64 m_extra = 0;
    QString m_failure;
};

// The pupil's records of `bytes` from `from` on, renamed (`newCell`) or left out (null).
// Returns how many.
qint64 rewrite(QByteArrayView bytes, qsizetype from, int columns, const QByteArray &header,
               const QString &pupil, const std::optional<QByteArray> &newCell, QByteArray &out)
{
    qint64 changed = 0;
    qsizetype copied = 0;
    forEachRecord(bytes, from, columns, header, [&](const Record &r, const QString &name) {
        if (name != pupil)
            return;
        ++changed;
        if (newCell) {
            out.append(bytes.sliced(copied, r.cellStart - copied));
            out.append(*newCell);
            copied = r.cellEnd;
        } else {
            out.append(bytes.sliced(copied, r.lineStart - copied));
            copied = r.lineEnd;
        }
    });
    out.append(bytes.sliced(copied));
    return changed;
}

QStringList recordFiles(const QString &folder)
{
    if (folder.isEmpty())
        return {};
    return QDir(folder).entryList({QStringLiteral("*.csv")}, QDir::Files | QDir::System, QDir::Name);
}

Change change(const QString &folder, const QString &pupil, const std::optional<QByteArray> &newCell)
{
    Change result;
    if (pupil.isEmpty())
        return result;
    const QDir dir(folder);
    for (const QString &fileName : recordFiles(folder)) {
        const QString path = dir.filePath(fileName);
        OpenFile file(path);
        if (!file.failure().isEmpty()) {
            result.failures.append(file.failure());
            continue;
        }
        const QByteArray &bytes = file.bytes();
        qsizetype bodyStart = 0;
        QByteArray header;
        const std::optional<int> columns = recordColumns(bytes, bodyStart, header);
        if (!columns)
            continue; // not a record file: none of the pupil's lines can be read there
        if (!isUtf8(bytes)) {
            result.failures.append(
                QStringLiteral("%1 n'est pas écrit en UTF-8 : il n'a pas été modifié.").arg(shown(fileName)));
            continue;
        }
        QByteArray out;
        out.reserve(bytes.size() + 1024);
        const qint64 lines = rewrite(bytes, bodyStart, *columns, header, pupil, newCell, out);
        if (lines == 0)
            continue;
        if (file.readOnly()) {
            result.failures.append(
                QStringLiteral("%1 est en lecture seule : il n'a pas été modifié.").arg(shown(fileName)));
            continue;
        }
        QString error;
        if (!SafeFile::write(path, out, &error)) {
            result.failures.append(error);
            continue;
        }
        const QByteArray native = QFile::encodeName(path);
        ::chmod(native.constData(), 0600);
        result.lines += lines;
        ++result.files;

        // A writer may have added lines to the file between its reading and its replacement
        // (another copy of the program, another computer of a shared folder): they are in the
        // file replaced, and go, changed the same way, to the end of the new one. A writer
        // that checks its file before each line writes its next lines there too.
        QByteArray more;
        for (int round = 0; round < 5 && file.replaced() && file.readMore(more) && !more.isEmpty(); ++round) {
            file.consumed(more.size());
            QByteArray tail;
            result.lines += rewrite(more, 0, *columns, header, pupil, newCell, tail);
            const int fd = ::open(native.constData(), O_WRONLY | O_APPEND | O_NOFOLLOW | O_CLOEXEC);
            if (fd < 0)
                break;
            const ssize_t written = ::write(fd, tail.constData(), size_t(tail.size()));
            ::close(fd);
            if (written != tail.size())
                break;
        }
    }
    return result;
}
}

QString cleanName(const QString &name)
{
    return name.simplified();
}

Pupils pupils(const QString &folder)
{
    Pupils result;
    std::map<QString, qint64> counts;
    const QDir dir(folder);
    for (const QString &fileName : recordFiles(folder)) {
        QString error;
        const std::optional<QByteArray> bytes =
            SafeFile::read(dir.filePath(fileName), RecordReader::MaxFileSize, &error);
        if (!bytes) {
            result.notes.append(error);
            continue;
        }
        qsizetype bodyStart = 0;
        QByteArray header;
        const std::optional<int> columns = recordColumns(*bytes, bodyStart, header);
        if (!columns)
            continue;
        if (!isUtf8(*bytes)) {
            result.notes.append(
                QStringLiteral("%1 n'est pas écrit en UTF-8 : ses élèves ne sont pas comptés.").arg(shown(fileName)));
            continue;
        }
        forEachRecord(*bytes, bodyStart, *columns, header, [&counts](const auto &, const QString &name) {
            if (!name.isEmpty())
                ++counts[name];
        });
    }
    for (const auto &[name, lines] : counts)
        result.pupils.push_back({name, lines});
    // As a class list is read: "Élise" among the E.
    QCollator collator(QLocale(QLocale::French));
    std::stable_sort(result.pupils.begin(), result.pupils.end(),
                     [&collator](const Pupil &a, const Pupil &b) { return collator.compare(a.name, b.name) < 0; });
    return result;
}

Change rename(const QString &folder, const QString &from, const QString &to)
{
    const QString name = cleanName(to);
    if (name.isEmpty() || name == from)
        return {};
    QString cell;
    Csv::appendField(cell, name);
    return change(folder, from, cell.toUtf8());
}

Change remove(const QString &folder, const QString &pupil)
{
    return change(folder, pupil, std::nullopt);
}
}
