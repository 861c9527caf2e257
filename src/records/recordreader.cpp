#include "recordreader.h"

#include "recordformat.h"

#include "common/csv.h"

#include <QDir>
#include <QFileInfo>

#include <array>

namespace RecordReader {
namespace {

// Whether the bytes are UTF-8 (overlong forms and surrogates refused).
bool isUtf8(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int extra;
        unsigned min;
        unsigned code;
        if ((c & 0xE0) == 0xC0) {
            extra = 1, min = 0x80, code = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2, min = 0x800, code = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3, min = 0x10000, code = c & 0x07;
        } else {
            return false;
        }
        if (i + extra >= n)
            return false;
        for (int k = 1; k <= extra; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (p[i + k] & 0x3F);
        }
        if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

// A text that recurs on most lines (the pupil, the computer, the run) is made once and shared.
class Interned
{
public:
    const QString &get(QByteArrayView bytes)
    {
        if (!m_valid || bytes != QByteArrayView(m_bytes)) {
            m_bytes = bytes.toByteArray();
            m_text = Csv::readCell(bytes);
            m_valid = true;
        }
        return m_text;
    }

private:
    QByteArray m_bytes;
    QString m_text;
    bool m_valid = false;
};

bool number(QByteArrayView text, qint64 &value)
{
    if (text.isEmpty() || text.size() > 18)
        return false;
    value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    return true;
}
}

QString readBytes(QByteArrayView bytes, const QString &fileName, const Sink &sink, OldFormIds &old)
{
    if (!isUtf8(bytes))
        return QStringLiteral("« %1 » n'est pas écrit en UTF-8 : fichier ignoré.").arg(fileName);
    if (bytes.startsWith(QByteArrayView(Csv::ByteOrderMark)))
        bytes = bytes.sliced(3);

    const qsizetype firstEnd = bytes.indexOf('\n');
    QByteArrayView headerLine = firstEnd < 0 ? bytes : bytes.first(firstEnd);
    if (headerLine.endsWith('\r'))
        headerLine.chop(1);
    std::array<QByteArrayView, RecordFormat::ColumnCount> cells;
    const int headerCount = Csv::splitLine(headerLine, cells.data(), int(cells.size()));
    QStringList header;
    for (int i = 0; i < headerCount; ++i)
        header.append(Csv::readCell(cells[std::size_t(i)]));
    const bool newForm = header == RecordFormat::headers();
    if (!newForm && header != RecordFormat::oldHeaders())
        return QStringLiteral("« %1 » n'est pas un journal de Plumalin : fichier ignoré.").arg(fileName);
    const int columns = newForm ? RecordFormat::ColumnCount : RecordFormat::OldColumnCount;
    const QByteArray headerBytes = headerLine.toByteArray();

    Interned pupil, computer, run, sentenceFile;
    int damaged = 0;
    RecordLine line;
    qsizetype pos = firstEnd < 0 ? bytes.size() : firstEnd + 1;
    while (pos < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', pos);
        if (end < 0)
            end = bytes.size();
        QByteArrayView text = bytes.sliced(pos, end - pos);
        pos = end + 1;
        if (text.endsWith('\r'))
            text.chop(1);
        // A blank line (a file touched by hand), or the header of a second writer, is no news.
        if (text.isEmpty() || text == QByteArrayView(headerBytes))
            continue;
        const int count = Csv::splitLine(text, cells.data(), columns);
        qint64 when = 0;
        const QString date = count == columns ? Csv::readCell(cells[RecordFormat::DateColumn]) : QString();
        const QByteArrayView red = count == columns ? cells[RecordFormat::RedColumn] : QByteArrayView();
        if (count != columns || !RecordFormat::parseStamp(date, when) || (red != "oui" && red != "non")) {
            ++damaged;
            continue;
        }
        line.when = when;
        line.red = red == "oui";
        line.pupil = pupil.get(cells[RecordFormat::PupilColumn]);
        line.sentenceFile = sentenceFile.get(cells[RecordFormat::SentenceFileColumn]);
        if (newForm) {
            const auto kind = JournalEvent::kindOf(Csv::readCell(cells[RecordFormat::KindColumn]));
            qint64 exercise = 0, runMs = 0;
            if (!kind || !number(cells[RecordFormat::ExerciseColumn], exercise)
                || !number(cells[RecordFormat::RunMsColumn], runMs) || exercise > 1000000000) {
                ++damaged;
                continue;
            }
            line.kind = *kind;
            line.oldForm = false;
            line.runMs = runMs;
            line.exercise = int(exercise);
            line.value = Csv::readCell(cells[RecordFormat::ValueColumn]);
            line.word = Csv::readCell(cells[RecordFormat::WordColumn]);
            line.expected = Csv::readCell(cells[RecordFormat::ExpectedColumn]);
            line.run = run.get(cells[RecordFormat::RunColumn]);
            line.computer = computer.get(cells[RecordFormat::ComputerColumn]);
        } else {
            const JournalEvent event =
                JournalEvent::fromText(Csv::readCell(cells[RecordFormat::TextColumn]), line.red);
            line.kind = event.kind;
            line.oldForm = true;
            line.runMs = -1;
            line.value = event.value;
            line.word = event.word;
            line.expected.clear();
            if (event.kind == EventKind::ProgramStart) {
                ++old.run;
                old.exercise = 0;
            } else if (event.kind == EventKind::ExerciseStart) {
                ++old.exercise;
                old.answer.clear();
            } else if (event.kind == EventKind::RightDrop) {
                // The blank tile repeats the answer: anything not longer adds no word.
                if (event.value.size() <= old.answer.size())
                    line.word.clear();
                else
                    old.answer = event.value;
            } else if (event.kind == EventKind::SentenceEnd || event.kind == EventKind::SentenceTimeUp) {
                old.answer.clear();
            }
            line.run = QStringLiteral("ancien-%1").arg(old.run);
            line.exercise = old.exercise;
            line.computer.clear();
        }
        sink(line);
    }
    if (damaged == 1)
        return QStringLiteral("« %1 » : une ligne illisible ignorée.").arg(fileName);
    if (damaged > 1)
        return QStringLiteral("« %1 » : %2 lignes illisibles ignorées.").arg(fileName).arg(damaged);
    return {};
}

QString readBytes(QByteArrayView bytes, const QString &fileName, std::vector<RecordLine> &lines)
{
    OldFormIds old;
    return readBytes(bytes, fileName, [&lines](const RecordLine &l) { lines.push_back(l); }, old);
}

QStringList readFolder(const QString &folder, const Sink &sink)
{
    QStringList notes;
    if (folder.isEmpty())
        return notes;
    const QStringList files =
        QDir(folder).entryList({QStringLiteral("*.csv")}, QDir::Files | QDir::System, QDir::Name);
    OldFormIds old;
    for (const QString &name : files) {
        QString error;
        const std::optional<QByteArray> bytes =
            SafeFile::read(QDir(folder).filePath(name), MaxFileSize, &error);
        const QString note = bytes ? readBytes(*bytes, name, sink, old)
                                   : QStringLiteral("« %1 » : fichier ignoré. %2").arg(name, error);
        if (!note.isEmpty())
            notes.append(note);
    }
    return notes;
}

RecordSet readFolder(const QString &folder)
{
    RecordSet set;
    set.notes = readFolder(folder, [&set](const RecordLine &l) { set.lines.push_back(l); });
    return set;
}
}
