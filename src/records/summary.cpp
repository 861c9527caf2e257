#include "summary.h"

#include "recordformat.h"

#include <QCollator>
#include <QHash>

#include <algorithm>
#include <set>

namespace {
int markOf(const QString &value)
{
    bool ok = false;
    const double mark = value.toDouble(&ok);
    if (!ok)
        return -1;
    return mark <= 0 ? 0 : int(mark);
}

// The sentence a line belongs to. A listen after the sentence's end (the pupil hearing it
// again before the next one) still counts for it; a sentence drawn twice in one exercise is
// two plays.
SentencePlay &playOf(ExerciseSummary &e, const RecordLine &l)
{
    if (e.plays.empty() || e.plays.back().sentence != l.sentence
        || (e.plays.back().done && l.kind != EventKind::Listened))
        e.plays.push_back({l.sentence});
    return e.plays.back();
}
}

// What an exercise being read needs beside its summary: the steady times of its first and last
// lines, and the wrong drops of a record of the first form still waiting for the word that was
// wanted. A file read alone may hold the rest of an exercise begun in another file (the day
// changed, a new part began): that part waits, without a start, to be merged.
struct SummaryBuilder::Reading {
    ExerciseSummary summary;
    bool hasStart = false;
    bool hasLines = false;
    qint64 startMs = -1;
    qint64 lastMs = -1;
    bool over = false;
    QString hintWord;
    std::vector<std::size_t> pending;

    void endSentence()
    {
        // A wrong drop never followed by the right word: the blue word, if one was shown, is
        // the one the sentence wanted.
        for (std::size_t i : pending)
            summary.drops[i].expected = hintWord;
        pending.clear();
        hintWord.clear();
    }

    // The lines of a later file added to this exercise.
    void append(const Reading &later)
    {
        if (over || !later.hasLines)
            return;
        ExerciseSummary &e = summary;
        const ExerciseSummary &l = later.summary;
        e.sentencesPlayed += l.sentencesPlayed;
        e.wrongDrops += l.wrongDrops;
        e.hints += l.hints;
        e.timedOut += l.timedOut;
        e.listens += l.listens;
        auto plays = l.plays.begin();
        // A sentence cut by the change of file is one play.
        if (plays != l.plays.end() && !e.plays.empty() && !e.plays.back().done
            && e.plays.back().sentence == plays->sentence) {
            SentencePlay &p = e.plays.back();
            p.wrongDrops += plays->wrongDrops;
            p.hints += plays->hints;
            p.listens += plays->listens;
            p.timedOut = plays->timedOut;
            p.done = plays->done;
            ++plays;
        }
        e.plays.insert(e.plays.end(), plays, l.plays.end());
        if (l.mark)
            e.mark = l.mark;
        e.drops.insert(e.drops.end(), l.drops.begin(), l.drops.end());
        e.end = l.end;
        lastMs = later.lastMs;
        hasLines = true;
        over = later.over;
    }
};

SummaryBuilder::SummaryBuilder() = default;
SummaryBuilder::~SummaryBuilder() = default;
SummaryBuilder::SummaryBuilder(SummaryBuilder &&) noexcept = default;
SummaryBuilder &SummaryBuilder::operator=(SummaryBuilder &&) noexcept = default;

void SummaryBuilder::add(const RecordLine &l)
{
    // Consecutive lines nearly always carry the same name.
    if (!l.pupil.isEmpty() && l.pupil != m_lastPupil) {
        m_lastPupil = l.pupil;
        m_pupils.insert(l.pupil);
    }
    if (l.exercise <= 0)
        return;
    // Lines of one exercise come together: its key is made once.
    if (l.exercise != m_lastExercise || l.run != m_lastRun || l.computer != m_lastComputer) {
        m_lastExercise = l.exercise;
        m_lastRun = l.run;
        m_lastComputer = l.computer;
        m_key.clear();
        m_key += l.computer;
        m_key += QChar(0);
        m_key += l.run;
        m_key += QChar(0);
        m_key += QString::number(l.exercise);
    }
    auto found = m_index.find(m_key);
    if (l.kind == EventKind::ExerciseStart) {
        if (found != m_index.end() && m_readings[*found].hasStart)
            return;
        Reading r;
        r.hasStart = true;
        r.summary.start = r.summary.end = l.when;
        r.summary.pupil = l.pupil;
        r.summary.sentenceFile = l.sentenceFile;
        r.summary.computer = l.computer;
        r.summary.run = l.run;
        r.summary.number = l.exercise;
        r.startMs = r.lastMs = l.runMs;
        if (found != m_index.end()) {
            // Its later lines came first (a clock set back across files): they follow it.
            r.append(m_readings[*found]);
            m_readings[*found] = std::move(r);
        } else {
            m_index.insert(m_key, m_readings.size());
            m_readings.push_back(std::move(r));
        }
        return;
    }
    switch (l.kind) {
    case EventKind::RightDrop:
    case EventKind::WrongDrop:
    case EventKind::HintTimeUp:
    case EventKind::HintWord:
    case EventKind::SentenceTimeUp:
    case EventKind::SentenceEnd:
    case EventKind::Mark:
    case EventKind::ExerciseQuit:
    case EventKind::Listened:
        break;
    default:
        // The teacher's commands, a tile moved on the background: no answer.
        return;
    }
    if (found == m_index.end()) {
        found = m_index.insert(m_key, m_readings.size());
        m_readings.push_back(Reading());
    }
    Reading &r = m_readings[*found];
    if (r.over)
        return;
    ExerciseSummary &e = r.summary;
    switch (l.kind) {
    case EventKind::RightDrop:
        if (!l.word.isEmpty()) {
            for (std::size_t i : r.pending)
                e.drops[i].expected = l.word;
            r.pending.clear();
        }
        break;
    case EventKind::WrongDrop:
        ++e.wrongDrops;
        ++playOf(e, l).wrongDrops;
        if (l.oldForm)
            r.pending.push_back(e.drops.size());
        e.drops.push_back({l.word, l.expected});
        break;
    case EventKind::HintTimeUp:
        ++e.hints;
        ++playOf(e, l).hints;
        break;
    case EventKind::Listened:
        ++e.listens;
        ++playOf(e, l).listens;
        break;
    case EventKind::HintWord:
        r.hintWord = l.word;
        break;
    case EventKind::SentenceTimeUp: {
        ++e.timedOut;
        ++e.sentencesPlayed;
        SentencePlay &p = playOf(e, l);
        p.timedOut = true;
        p.done = true;
        r.endSentence();
        break;
    }
        break;
    case EventKind::SentenceEnd:
        ++e.sentencesPlayed;
        playOf(e, l).done = true;
        r.endSentence();
        break;
    case EventKind::Mark: {
        const int mark = markOf(l.value);
        if (mark >= 0)
            e.mark = mark;
        r.over = true;
        r.endSentence();
        break;
    }
    default:
        r.over = true;
        r.endSentence();
        break;
    }
    e.end = l.when;
    r.lastMs = l.runMs;
    r.hasLines = true;
}

void SummaryBuilder::finishFile()
{
    for (Reading &r : m_readings)
        r.endSentence();
}

void SummaryBuilder::merge(const SummaryBuilder &later)
{
    m_pupils.insert(later.m_pupils.begin(), later.m_pupils.end());
    for (auto it = later.m_index.cbegin(); it != later.m_index.cend(); ++it) {
        const Reading &r = later.m_readings[*it];
        const auto found = m_index.constFind(it.key());
        if (found == m_index.cend()) {
            m_index.insert(it.key(), m_readings.size());
            m_readings.push_back(r);
        } else if (r.hasStart && !m_readings[*found].hasStart) {
            Reading start = r;
            start.append(m_readings[*found]);
            m_readings[*found] = std::move(start);
        } else {
            m_readings[*found].append(r);
        }
    }
}

std::vector<ExerciseSummary> SummaryBuilder::exercises() const
{
    std::vector<ExerciseSummary> out;
    out.reserve(m_readings.size());
    for (const Reading &r : m_readings) {
        // The rest of an exercise whose start was never read is no exercise of its own.
        if (!r.hasStart)
            continue;
        out.push_back(r.summary);
        ExerciseSummary &e = out.back();
        for (std::size_t i : r.pending)
            e.drops[i].expected = r.hintWord;
        e.spent = r.startMs >= 0 && r.lastMs >= r.startMs ? (r.lastMs - r.startMs) / 1000
                                                          : std::max<qint64>(0, e.end - e.start);
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const ExerciseSummary &a, const ExerciseSummary &b) { return a.start < b.start; });
    return out;
}

QStringList SummaryBuilder::pupils() const
{
    QStringList names;
    for (const QString &name : m_pupils)
        names.append(name);
    QCollator collator(QLocale(QLocale::French, QLocale::France));
    std::sort(names.begin(), names.end(),
              [&collator](const QString &a, const QString &b) { return collator.compare(a, b) < 0; });
    return names;
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
    SummaryBuilder builder;
    for (const RecordLine &line : lines)
        builder.add(line);
    return builder.exercises();
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
    SummaryBuilder builder;
    for (const RecordLine &line : lines) {
        RecordLine named;
        named.pupil = line.pupil;
        builder.add(named);
    }
    return builder.pupils();
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
