#include "summary.h"

#include "recordformat.h"
#include "recordtexts.h"

#include <QCollator>
#include <QHash>

#include <algorithm>
#include <set>

namespace {
using namespace RecordTexts;

// Reads one exercise line by line. The journal never says when a sentence starts; a sentence
// ends with its error count or its time limit, and the next one starts empty.
class ExerciseReader
{
public:
    explicit ExerciseReader(std::vector<ExerciseSummary> &out)
        : m_out(out)
    {
    }

    void line(const RecordLine &l)
    {
        const QString &t = l.text;
        if (t == ExerciseStart && !l.red) {
            close();
            m_current = ExerciseSummary();
            m_current->start = m_current->end = l.when;
            m_current->pupil = l.pupil;
            m_current->sentenceFile = l.sentenceFile;
            return;
        }
        if (t == ProgramStart && !l.red) {
            close();
            return;
        }
        if (!m_current)
            return;
        ExerciseSummary &e = *m_current;
        if (l.red) {
            e.end = l.when;
            if (t.startsWith(HintStart)) {
                ++e.hints;
            } else if (t.startsWith(HintWordStart) && t.endsWith(HintWordEnd)) {
                m_hintWord = t.mid(HintWordStart.size(), t.size() - HintWordStart.size() - HintWordEnd.size())
                                 .trimmed();
            } else if (t.startsWith(TimeUpStart)) {
                ++e.timedOut;
                ++e.sentencesPlayed;
                endSentence();
            } else {
                wrongDrop(t);
            }
            return;
        }
        if (t == ExerciseQuit) {
            e.end = l.when;
            close();
        } else if (t == NoError || t == OneError
                   || (t.startsWith(ErrorsStart) && t.endsWith(ErrorsEnd))) {
            e.end = l.when;
            ++e.sentencesPlayed;
            endSentence();
        } else if (t == MarkZero) {
            e.end = l.when;
            e.mark = 0;
            close();
        } else if (t.startsWith(MarkStart) && t.endsWith(MarkEnd)) {
            bool ok = false;
            const int mark = QStringView(t).mid(MarkStart.size(), t.size() - MarkStart.size() - MarkEnd.size()).toInt(&ok);
            e.end = l.when;
            if (ok)
                e.mark = mark;
            close();
        } else if (t.startsWith(Move) || t.startsWith(Consultation) || t.startsWith(Edit)) {
            // A tile moved on the background, or a teacher's command: no answer.
        } else {
            e.end = l.when;
            rightDrop(t);
        }
    }

    void close()
    {
        if (!m_current)
            return;
        endSentence();
        m_out.push_back(std::move(*m_current));
        m_current.reset();
    }

private:
    // The dropped word is the last of the candidate: a tile's word has no space in it.
    static QString lastWord(const QString &candidate)
    {
        const qsizetype space = candidate.lastIndexOf(u' ');
        return candidate.mid(space + 1);
    }

    void wrongDrop(const QString &candidate)
    {
        ++m_current->wrongDrops;
        m_pending.push_back(m_current->drops.size());
        m_current->drops.push_back({lastWord(candidate), QString()});
    }

    void rightDrop(const QString &candidate)
    {
        // The blank tile repeats the answer; anything not longer adds no word.
        if (candidate.size() <= m_answer.size())
            return;
        const QString word = lastWord(candidate);
        for (std::size_t i : m_pending)
            m_current->drops[i].expected = word;
        m_pending.clear();
        m_answer = candidate;
    }

    void endSentence()
    {
        // A wrong drop never followed by the right word: the blue word, if one was shown, is
        // the one the sentence wanted.
        for (std::size_t i : m_pending)
            m_current->drops[i].expected = m_hintWord;
        m_pending.clear();
        m_answer.clear();
        m_hintWord.clear();
    }

    std::vector<ExerciseSummary> &m_out;
    std::optional<ExerciseSummary> m_current;
    QString m_answer;
    QString m_hintWord;
    std::vector<std::size_t> m_pending;
};
}

bool SummaryFilter::accepts(const ExerciseSummary &exercise) const
{
    if (pupil && *pupil != exercise.pupil)
        return false;
    const qint64 day = exercise.start / 86400;
    if (from.isValid() && day < from.toJulianDay())
        return false;
    if (to.isValid() && day > to.toJulianDay())
        return false;
    return true;
}

namespace Summary {

std::vector<ExerciseSummary> exercises(const std::vector<RecordLine> &lines)
{
    std::vector<ExerciseSummary> out;
    ExerciseReader reader(out);
    for (const RecordLine &line : lines)
        reader.line(line);
    reader.close();
    return out;
}

std::vector<ExerciseSummary> filtered(const std::vector<ExerciseSummary> &all, const SummaryFilter &filter)
{
    std::vector<ExerciseSummary> out;
    std::copy_if(all.begin(), all.end(), std::back_inserter(out),
                 [&filter](const ExerciseSummary &e) { return filter.accepts(e); });
    return out;
}

std::vector<WrongWordCount> wrongWords(const std::vector<ExerciseSummary> &exercises)
{
    QHash<QString, std::size_t> index;
    std::vector<WrongWordCount> counts;
    for (const ExerciseSummary &e : exercises) {
        for (const WrongDrop &d : e.drops) {
            const QString key = d.dropped + QChar(0) + d.expected;
            auto it = index.find(key);
            if (it == index.end()) {
                it = index.insert(key, counts.size());
                counts.push_back({d.dropped, d.expected, 0});
            }
            ++counts[*it].count;
        }
    }
    QCollator collator(QLocale(QLocale::French, QLocale::France));
    std::sort(counts.begin(), counts.end(), [&collator](const WrongWordCount &a, const WrongWordCount &b) {
        if (a.count != b.count)
            return a.count > b.count;
        const int byWord = collator.compare(a.dropped, b.dropped);
        if (byWord != 0)
            return byWord < 0;
        return collator.compare(a.expected, b.expected) < 0;
    });
    return counts;
}

QStringList pupils(const std::vector<RecordLine> &lines)
{
    QStringList names;
    QString last;
    std::set<QString> seen;
    for (const RecordLine &line : lines) {
        // Consecutive lines nearly always carry the same name.
        if (line.pupil.isEmpty() || line.pupil == last)
            continue;
        last = line.pupil;
        if (seen.insert(line.pupil).second)
            names.append(line.pupil);
    }
    QCollator collator(QLocale(QLocale::French, QLocale::France));
    std::sort(names.begin(), names.end(),
              [&collator](const QString &a, const QString &b) { return collator.compare(a, b) < 0; });
    return names;
}

QString duration(qint64 seconds)
{
    if (seconds < 0)
        seconds = 0;
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg((seconds / 60) % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}
}
