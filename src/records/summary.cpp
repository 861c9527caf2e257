#include "summary.h"

#include "recordformat.h"

#include <QCollator>
#include <QHash>

#include <algorithm>
#include <set>

namespace {
// What an exercise being read needs beside its summary: the answer rebuilt so far and the
// wrong drops of a record of the first form still waiting for the word that was wanted.
struct Reading {
    ExerciseSummary summary;
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
};

int markOf(const QString &value)
{
    bool ok = false;
    const double mark = value.toDouble(&ok);
    if (!ok)
        return -1;
    return mark <= 0 ? 0 : int(mark);
}
}

struct SummaryBuilder::State {
    QHash<QString, std::size_t> index; // computer, run and exercise
    std::vector<Reading> readings;
    std::set<QString> pupils;
    QString lastPupil;
    QString key;
};

SummaryBuilder::SummaryBuilder()
    : d(std::make_unique<State>())
{
}

SummaryBuilder::~SummaryBuilder() = default;

void SummaryBuilder::add(const RecordLine &l)
{
    // Consecutive lines nearly always carry the same name.
    if (!l.pupil.isEmpty() && l.pupil != d->lastPupil) {
        d->lastPupil = l.pupil;
        d->pupils.insert(l.pupil);
    }
    if (l.exercise <= 0)
        return;
    d->key.clear();
    d->key += l.computer;
    d->key += QChar(0);
    d->key += l.run;
    d->key += QChar(0);
    d->key += QString::number(l.exercise);
    if (l.kind == EventKind::ExerciseStart) {
        if (d->index.contains(d->key))
            return;
        d->index.insert(d->key, d->readings.size());
        Reading r;
        r.summary.start = r.summary.end = l.when;
        r.summary.pupil = l.pupil;
        r.summary.sentenceFile = l.sentenceFile;
        r.summary.computer = l.computer;
        r.startMs = r.lastMs = l.runMs;
        d->readings.push_back(std::move(r));
        return;
    }
    const auto found = d->index.constFind(d->key);
    if (found == d->index.cend())
        return;
    Reading &r = d->readings[*found];
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
        if (l.oldForm)
            r.pending.push_back(e.drops.size());
        e.drops.push_back({l.word, l.expected});
        break;
    case EventKind::HintTimeUp:
        ++e.hints;
        break;
    case EventKind::HintWord:
        r.hintWord = l.word;
        break;
    case EventKind::SentenceTimeUp:
        ++e.timedOut;
        ++e.sentencesPlayed;
        r.endSentence();
        break;
    case EventKind::SentenceEnd:
        ++e.sentencesPlayed;
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
    case EventKind::ExerciseQuit:
        r.over = true;
        r.endSentence();
        break;
    default:
        // The teacher's commands, a tile moved on the background: no answer.
        return;
    }
    e.end = l.when;
    r.lastMs = l.runMs;
}

std::vector<ExerciseSummary> SummaryBuilder::exercises()
{
    std::vector<ExerciseSummary> out;
    out.reserve(d->readings.size());
    for (Reading &r : d->readings) {
        r.endSentence();
        ExerciseSummary &e = r.summary;
        e.spent = r.startMs >= 0 && r.lastMs >= r.startMs ? (r.lastMs - r.startMs) / 1000
                                                          : std::max<qint64>(0, e.end - e.start);
        out.push_back(std::move(e));
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const ExerciseSummary &a, const ExerciseSummary &b) { return a.start < b.start; });
    d = std::make_unique<State>();
    return out;
}

QStringList SummaryBuilder::pupils() const
{
    QStringList names;
    for (const QString &name : d->pupils)
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
