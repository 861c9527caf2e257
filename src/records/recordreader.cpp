#include "recordreader.h"

#include "recordformat.h"

#include "common/csv.h"

#include <QDir>
#include <QFileInfo>

#include <array>
#include <cstring>
#include <string_view>
#include <unordered_map>

namespace RecordReader {
namespace {

// Whether the bytes are UTF-8 (overlong forms and surrogates refused).
bool isUtf8(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        // Most of a record is ASCII: eight bytes at a time.
        while (i + 8 <= n) {
            quint64 word;
            std::memcpy(&word, p + i, 8);
            if (word & 0x8080808080808080ULL)
                break;
            i += 8;
        }
        if (i >= n)
            break;
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
    // Gives the text to a line's field, without touching its count when the field has it.
    void assign(QString &field, QByteArrayView bytes)
    {
        const QString &text = get(bytes);
        if (!field.isSharedWith(text))
            field = text;
    }

private:
    QByteArray m_bytes;
    QString m_text;
    bool m_valid = false;
};

// The words of a file's drops: a few words recur on thousands of lines, and each is made once
// and shared by the exercises that keep it. The keys are the file's own bytes.
class Words
{
public:
    QString get(QByteArrayView cell)
    {
        const std::string_view key(cell.data(), size_t(cell.size()));
        const auto found = m_known.find(key);
        if (found != m_known.end())
            return found->second;
        QString text = Csv::readCell(cell);
        // Whatever a damaged file holds, the table stays small.
        if (m_known.size() < 4096)
            m_known.emplace(key, text);
        return text;
    }

private:
    std::unordered_map<std::string_view, QString> m_known;
};

// The kind of a code, the last one remembered: most lines are of the kind of the line before.
class KindCache
{
public:
    std::optional<EventKind> get(QByteArrayView code)
    {
        if (!m_valid || code != QByteArrayView(m_code)) {
            m_code = code.toByteArray();
            m_kind = JournalEvent::kindOf(QString::fromUtf8(code));
            m_valid = true;
        }
        return m_kind;
    }

private:
    QByteArray m_code;
    std::optional<EventKind> m_kind;
    bool m_valid = false;
};

// "2026-12-10 14:03:22" read back, the day worked out once for the lines of a day.
class StampReader
{
public:
    bool read(QByteArrayView text, qint64 &localSecs)
    {
        if (text.size() != 19)
            return false;
        if (m_dayValid && text.first(11) == QByteArrayView(m_day)) {
            const auto digit = [&text](int i) { return text[i] >= '0' && text[i] <= '9'; };
            if (text[13] != ':' || text[16] != ':' || !digit(11) || !digit(12) || !digit(14)
                || !digit(15) || !digit(17) || !digit(18))
                return false;
            const int h = (text[11] - '0') * 10 + (text[12] - '0');
            const int mi = (text[14] - '0') * 10 + (text[15] - '0');
            const int s = (text[17] - '0') * 10 + (text[18] - '0');
            if (h > 23 || mi > 59 || s > 59)
                return false;
            localSecs = m_daySecs + h * 3600 + mi * 60 + s;
            return true;
        }
        if (!RecordFormat::parseStamp(text, localSecs))
            return false;
        m_day = text.first(11).toByteArray();
        m_daySecs = localSecs - localSecs % 86400;
        m_dayValid = true;
        return true;
    }

private:
    QByteArray m_day;
    qint64 m_daySecs = 0;
    bool m_dayValid = false;
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

QString readBytes(QByteArrayView bytes, const QString &fileName, const Sink &sink, OldFormIds &old,
                  bool summaryOnly)
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
    // More cells than the format has: not a header of ours (the count then says so).
    for (int i = 0; i < headerCount && i < int(cells.size()); ++i)
        header.append(Csv::readCell(cells[std::size_t(i)]));
    const bool newForm = header == RecordFormat::headers();
    if (!newForm && header != RecordFormat::oldHeaders())
        return QStringLiteral("« %1 » n'est pas un journal de Plumalin : fichier ignoré.").arg(fileName);
    const int columns = newForm ? RecordFormat::ColumnCount : RecordFormat::OldColumnCount;
    const QByteArray headerBytes = headerLine.toByteArray();

    Interned pupil, computer, run, sentenceFile, sentence;
    Words words;
    KindCache kinds;
    StampReader stamps;
    int damaged = 0;
    RecordLine line;
    qsizetype pos = firstEnd < 0 ? bytes.size() : firstEnd + 1;
    while (pos < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', pos);
        if (end < 0) {
            // Every line of ours is written with its line end: one without is a line still being
            // written (another copy, another computer), or the one a copy was writing when it
            // was cut off. It is read once whole, and never taken half-written.
            if (newForm)
                break;
            end = bytes.size();
        }
        QByteArrayView text = bytes.sliced(pos, end - pos);
        pos = end + 1;
        if (text.endsWith('\r'))
            text.chop(1);
        // A blank line (a file touched by hand), or the header of a second writer, is no news.
        if (text.isEmpty() || text == QByteArrayView(headerBytes))
            continue;
        const int count = Csv::splitLine(text, cells.data(), columns);
        qint64 when = 0;
        const QByteArrayView red = count == columns ? cells[RecordFormat::RedColumn] : QByteArrayView();
        if (count != columns || !stamps.read(cells[RecordFormat::DateColumn], when)
            || (red != "oui" && red != "non")) {
            ++damaged;
            continue;
        }
        line.when = when;
        line.red = red == "oui";
        pupil.assign(line.pupil, cells[RecordFormat::PupilColumn]);
        sentenceFile.assign(line.sentenceFile, cells[RecordFormat::SentenceFileColumn]);
        line.duration = summaryOnly ? QString() : Csv::readCell(cells[RecordFormat::DurationColumn]);
        if (newForm) {
            const auto kind = kinds.get(cells[RecordFormat::KindColumn]);
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
            // Only the values the summary reads: most lines are right drops, read by kind alone.
            const bool valued = !summaryOnly || line.kind == EventKind::Mark
                                || line.kind == EventKind::SentenceEnd;
            const bool worded = !summaryOnly || line.kind == EventKind::WrongDrop
                                || line.kind == EventKind::HintWord;
            line.value = valued ? Csv::readCell(cells[RecordFormat::ValueColumn]) : QString();
            line.word = worded ? words.get(cells[RecordFormat::WordColumn]) : QString();
            line.expected = worded ? words.get(cells[RecordFormat::ExpectedColumn]) : QString();
            run.assign(line.run, cells[RecordFormat::RunColumn]);
            computer.assign(line.computer, cells[RecordFormat::ComputerColumn]);
            // The same sentence on most lines: shared, without touching its count each time.
            sentence.assign(line.sentence, cells[RecordFormat::SentenceColumn]);
            line.text = summaryOnly ? QString() : Csv::readCell(cells[RecordFormat::TextColumn]);
        } else {
            line.text = Csv::readCell(cells[RecordFormat::TextColumn]);
            const JournalEvent event = JournalEvent::fromText(line.text, line.red);
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
            line.run = QStringLiteral("ancien-%1-%2").arg(old.prefix).arg(old.run);
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

QStringList readFolder(const QString &folder, const Sink &sink, bool summaryOnly)
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
        const QString note = bytes ? readBytes(*bytes, name, sink, old, summaryOnly)
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
