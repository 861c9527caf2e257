#include "classfigures.h"

#include "recordformat.h"

#include <QCollator>
#include <QHash>
#include <QLocale>

#include <algorithm>
#include <map>

namespace ClassFigures {

// The slope of the least-squares line through the marks, one step per exercise (the days
// between them do not count: a holiday is no progress), times the steps of the period: how many
// points the line rises or falls from the first exercise to the last. Within two points either
// way (a mark's ordinary swing) the pupil is steady. Under three marks there is no trend.
Trend trend(const std::vector<int> &marks)
{
    const std::size_t n = marks.size();
    if (n < 3)
        return Trend::Unknown;
    const double meanX = double(n - 1) / 2;
    double meanY = 0;
    for (int m : marks)
        meanY += m;
    meanY /= double(n);
    double sxy = 0, sxx = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double dx = double(i) - meanX;
        sxy += dx * (marks[i] - meanY);
        sxx += dx * dx;
    }
    const double change = sxy / sxx * double(n - 1);
    constexpr double DeadBand = 2.0;
    if (change >= DeadBand)
        return Trend::Up;
    if (change <= -DeadBand)
        return Trend::Down;
    return Trend::Steady;
}

std::vector<PupilFigures> pupils(const std::vector<ExerciseSummary> &exercises)
{
    QHash<QString, std::size_t> index;
    std::vector<PupilFigures> out;
    std::vector<std::vector<int>> marks;
    for (const ExerciseSummary &e : exercises) {
        auto it = index.constFind(e.pupil);
        if (it == index.cend()) {
            it = index.insert(e.pupil, out.size());
            out.push_back({});
            out.back().pupil = e.pupil;
            marks.emplace_back();
        }
        PupilFigures &p = out[*it];
        ++p.exercises;
        p.sentences += e.sentencesPlayed;
        p.timeSpent += e.timeSpent();
        const QDate day = QDate::fromJulianDay(e.start / 86400);
        if (!p.lastDay.isValid() || day > p.lastDay)
            p.lastDay = day;
        if (e.mark) {
            marks[*it].push_back(*e.mark);
            p.lastMark = *e.mark;
        }
    }
    for (std::size_t i = 0; i < out.size(); ++i) {
        PupilFigures &p = out[i];
        const std::vector<int> &m = marks[i];
        p.marks = int(m.size());
        if (!m.empty()) {
            double sum = 0;
            for (int v : m)
                sum += v;
            p.average = sum / double(m.size());
        }
        p.trend = trend(m);
    }
    QCollator collator(QLocale(QLocale::French, QLocale::France));
    std::sort(out.begin(), out.end(), [&collator](const PupilFigures &a, const PupilFigures &b) {
        if (a.pupil.isEmpty() != b.pupil.isEmpty())
            return b.pupil.isEmpty();
        return collator.compare(a.pupil, b.pupil) < 0;
    });
    return out;
}

// The hardest sentence makes the most wrong drops for each time it is played; between equals,
// the one that runs out of time more often, then the one that needs more blue words, then more
// listens. Rates, not totals: a sentence played often is not harder for it. Then the one played
// most (surer figures), then by name.
bool harder(const PlayFigures &a, const PlayFigures &b)
{
    const auto rate = [](int count, const PlayFigures &f) { return double(count) / std::max(f.played, 1); };
    const double pairs[4][2] = {{a.averageWrongDrops(), b.averageWrongDrops()},
                                {rate(a.timedOut, a), rate(b.timedOut, b)},
                                {rate(a.hints, a), rate(b.hints, b)},
                                {rate(a.listens, a), rate(b.listens, b)}};
    for (const auto &pair : pairs) {
        if (pair[0] != pair[1])
            return pair[0] > pair[1];
    }
    if (a.played != b.played)
        return a.played > b.played;
    return a.name < b.name;
}

namespace {
void add(PlayFigures &f, const SentencePlay &p)
{
    ++f.played;
    f.wrongDrops += p.wrongDrops;
    f.timedOut += p.timedOut ? 1 : 0;
    f.hints += p.hints;
    f.listens += p.listens;
}

// Only plays that ended count: a sentence left by "Quitter" halfway says little of it.
bool counts(const SentencePlay &p)
{
    return p.done && !p.sentence.isEmpty();
}
}

std::vector<PlayFigures> hardSentences(const std::vector<ExerciseSummary> &exercises)
{
    QHash<QString, std::size_t> index;
    std::vector<PlayFigures> out;
    for (const ExerciseSummary &e : exercises) {
        for (const SentencePlay &p : e.plays) {
            if (!counts(p))
                continue;
            auto it = index.constFind(p.sentence);
            if (it == index.cend()) {
                it = index.insert(p.sentence, out.size());
                out.push_back({p.sentence});
            }
            add(out[*it], p);
        }
    }
    std::sort(out.begin(), out.end(), harder);
    return out;
}

std::vector<PlayFigures> struggled(const std::vector<ExerciseSummary> &exercises, const QString &sentence)
{
    QHash<QString, std::size_t> index;
    std::vector<PlayFigures> out;
    for (const ExerciseSummary &e : exercises) {
        for (const SentencePlay &p : e.plays) {
            if (!counts(p) || p.sentence != sentence)
                continue;
            auto it = index.constFind(e.pupil);
            if (it == index.cend()) {
                it = index.insert(e.pupil, out.size());
                out.push_back({e.pupil});
            }
            add(out[*it], p);
        }
    }
    std::sort(out.begin(), out.end(), harder);
    return out;
}

std::vector<AveragePoint> classAverage(const std::vector<ExerciseSummary> &exercises, bool weekly)
{
    std::map<qint64, std::pair<double, int>> sums;
    for (const ExerciseSummary &e : exercises) {
        if (!e.mark)
            continue;
        qint64 day = e.end / 86400;
        // Julian day 0 was a Monday.
        if (weekly)
            day -= day % 7;
        auto &[sum, count] = sums[day];
        sum += *e.mark;
        ++count;
    }
    std::vector<AveragePoint> out;
    out.reserve(sums.size());
    for (const auto &[day, sum] : sums)
        out.push_back({QDate::fromJulianDay(day), sum.first / sum.second, sum.second});
    return out;
}

QString mark(double value)
{
    static const QLocale french(QLocale::French, QLocale::France);
    return french.toString(value, 'f', 1);
}
}
