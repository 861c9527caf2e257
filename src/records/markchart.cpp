#include "markchart.h"

#include "classfigures.h"
#include "recordformat.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <map>

namespace {
constexpr qint64 Day = 86400;
// Over more than two months a point a day is noise: the averages go by weeks.
constexpr qint64 WeeklyAfterDays = 62;
// The class average's own dots only while they stay apart.
constexpr std::size_t MaxAverageDots = 40;
// Marks 0 and 20 a little inside the plot, so that their dots show whole.
constexpr double MarkMargin = 0.8;

const QColor ClassColour(40, 90, 170);
const QColor PupilColour(205, 95, 0);
const QColor RuleColour(205, 205, 205);
const QColor TextColour(20, 20, 20);

// Julian day, or the Monday of its week (Julian day 0 was a Monday).
qint64 bucketOf(qint64 when, bool weekly)
{
    qint64 day = when / Day;
    if (weekly)
        day -= day % 7;
    return day;
}

struct Bucket {
    double marks = 0;
    double when = 0;
    int count = 0;
};

// A point per day (or week) at the mean time of its marks, so that it stays among them
// whatever the span drawn.
std::vector<MarkChart::Point> averages(const std::map<qint64, Bucket> &buckets)
{
    std::vector<MarkChart::Point> out;
    out.reserve(buckets.size());
    for (const auto &[day, b] : buckets)
        out.push_back({qint64(std::llround(b.when / b.count)), b.marks / b.count});
    return out;
}

QString dateText(qint64 when)
{
    return RecordFormat::toDateTime(when).date().toString(QStringLiteral("dd/MM/yyyy"));
}

QString markText(double mark)
{
    return mark == std::floor(mark) ? QString::number(int(mark)) : ClassFigures::mark(mark);
}
}

MarkChart::MarkChart(const std::vector<ExerciseSummary> &exercises, const QDate &from, const QDate &to,
                     const std::optional<QString> &pupil, const QString &pupilLabel)
    : m_from(from)
    , m_to(to)
{
    SummaryFilter within;
    within.from = from;
    within.to = to;
    const auto counts = [&within](const ExerciseSummary &e) { return e.mark && within.accepts(e); };
    qint64 lo = 0, hi = 0;
    bool any = false;
    for (const ExerciseSummary &e : exercises) {
        if (!counts(e))
            continue;
        lo = any ? std::min(lo, e.end) : e.end;
        hi = any ? std::max(hi, e.end) : e.end;
        any = true;
    }
    if (!any)
        return;

    const bool bounded = from.isValid() && to.isValid() && from <= to;
    const qint64 spanDays = bounded ? from.daysTo(to) : hi / Day - lo / Day;
    m_weekly = spanDays > WeeklyAfterDays;
    if (bounded && spanDays >= 2) {
        m_first = RecordFormat::localSeconds(from, 0);
        m_last = RecordFormat::localSeconds(to, int(Day));
    } else if (hi - lo > 2 * Day) {
        m_first = lo / Day * Day;
        m_last = (hi / Day + 1) * Day;
    } else {
        // Hours within a day or two; a single exercise still gets a readable span around it.
        const qint64 margin = std::max<qint64>((hi - lo) / 40, 3600);
        m_first = lo - margin;
        m_last = hi + margin;
        m_hours = true;
    }

    std::map<qint64, Bucket> everyone, theirs;
    Series marks;
    marks.kind = Series::Pupil;
    for (const ExerciseSummary &e : exercises) {
        if (!counts(e))
            continue;
        const qint64 bucket = bucketOf(e.end, m_weekly);
        Bucket &b = everyone[bucket];
        b.marks += *e.mark;
        b.when += double(e.end);
        ++b.count;
        if (pupil && e.pupil == *pupil) {
            Bucket &p = theirs[bucket];
            p.marks += *e.mark;
            p.when += double(e.end);
            ++p.count;
            marks.dots.push_back({e.end, double(*e.mark)});
        }
    }
    Series average;
    average.kind = Series::ClassAverage;
    average.name = m_weekly ? QStringLiteral("Moyenne de la classe (par semaine)")
                            : QStringLiteral("Moyenne de la classe (par jour)");
    average.line = averages(everyone);
    if (average.line.size() <= MaxAverageDots)
        average.dots = average.line;
    m_series.push_back(std::move(average));
    if (pupil) {
        marks.name = pupilLabel.isEmpty() ? *pupil : pupilLabel;
        std::stable_sort(marks.dots.begin(), marks.dots.end(),
                         [](const Point &a, const Point &b) { return a.when < b.when; });
        marks.line = averages(theirs);
        m_series.push_back(std::move(marks));
    }
}

QString MarkChart::title() const
{
    return isEmpty() ? m_emptyText : QStringLiteral("Notes sur 20");
}

std::vector<MarkChart::Tick> MarkChart::ticks(qreal width, const QFontMetricsF &metrics) const
{
    std::vector<Tick> out;
    if (isEmpty() || width <= 0 || m_last <= m_first)
        return out;
    const double span = double(m_last - m_first);
    const qreal gap = metrics.height() * 1.5;
    const auto label = [](qint64 when, const QString &format) {
        return RecordFormat::toDateTime(when).toString(format);
    };
    // A step fits when the labels it puts side by side keep a gap between them.
    const auto fits = [&](qint64 stepSeconds, const QString &sample) {
        return width * double(stepSeconds) / span >= metrics.horizontalAdvance(sample) + gap;
    };

    if (m_hours) {
        const QString format = QStringLiteral("dd/MM HH:mm");
        const QString sample = label(m_first, format);
        const qint64 steps[] = {15, 30, 60, 120, 180, 240, 360, 720, 1440};
        qint64 step = steps[std::size(steps) - 1] * 60;
        for (const qint64 minutes : steps) {
            if (fits(minutes * 60, sample)) {
                step = minutes * 60;
                break;
            }
        }
        for (qint64 t = (m_first + step - 1) / step * step; t <= m_last; t += step)
            out.push_back({t, label(t, format)});
        return out;
    }

    // Days: ticks at midnight, each labelled with its day; none at the end, the next day's.
    const QString format = span > 400.0 * Day ? QStringLiteral("dd/MM/yy") : QStringLiteral("dd/MM");
    const QString sample = label(m_first, format);
    const qint64 firstDay = m_first / Day + (m_first % Day != 0 ? 1 : 0);
    const qint64 endDay = (m_last - 1) / Day; // the last day a tick may fall on
    for (const int days : {1, 2, 3, 7, 14}) {
        if (!fits(days * Day, sample))
            continue;
        // Weeks start on Mondays (Julian day 0 was one).
        qint64 day = firstDay;
        if (days % 7 == 0)
            day += (days - day % days) % days;
        for (; day <= endDay; day += days)
            out.push_back({day * Day, label(day * Day, format)});
        return out;
    }
    // Months: their first day, every month or every few, counted from January.
    const QDate start = QDate::fromJulianDay(firstDay);
    for (const int months : {1, 2, 3, 6, 12}) {
        if (!fits(months * 28 * Day, sample) && months != 12)
            continue;
        QDate d(start.year(), start.month(), 1);
        if (d.toJulianDay() < firstDay)
            d = d.addMonths(1);
        while ((d.month() - 1) % months != 0)
            d = d.addMonths(1);
        for (; d.toJulianDay() <= endDay; d = d.addMonths(months))
            out.push_back({d.toJulianDay() * Day, label(d.toJulianDay() * Day, format)});
        return out;
    }
    return out;
}

QString MarkChart::description() const
{
    if (isEmpty())
        return m_emptyText + QLatin1Char('.');
    QString from, to;
    if (m_from.isValid() && m_to.isValid() && !m_hours) {
        from = m_from.toString(QStringLiteral("dd/MM/yyyy"));
        to = m_to.toString(QStringLiteral("dd/MM/yyyy"));
    } else {
        from = dateText(m_first);
        to = dateText(m_last);
    }
    QStringList parts;
    parts.append(from == to ? QStringLiteral("Notes sur 20, le %1.").arg(from)
                            : QStringLiteral("Notes sur 20, du %1 au %2.").arg(from, to));
    for (const Series &s : m_series) {
        const std::vector<Point> &points = s.kind == Series::Pupil ? s.dots : s.line;
        if (points.empty()) {
            parts.append(QStringLiteral("%1 : aucune note sur cette période.").arg(s.name));
            continue;
        }
        const auto [low, high] = std::minmax_element(points.begin(), points.end(),
                                                     [](const Point &a, const Point &b) { return a.mark < b.mark; });
        const Point &lastPoint = points.back();
        if (s.kind == Series::Pupil) {
            double sum = 0;
            for (const Point &p : points)
                sum += p.mark;
            parts.append(QStringLiteral("%1 : %2 note%3, moyenne %4, de %5 à %6 ; dernière note %7 le %8.")
                             .arg(s.name)
                             .arg(points.size())
                             .arg(points.size() > 1 ? QStringLiteral("s") : QString())
                             .arg(ClassFigures::mark(sum / double(points.size())), markText(low->mark),
                                  markText(high->mark), markText(lastPoint.mark), dateText(lastPoint.when)));
        } else {
            const QString unit = m_weekly ? QStringLiteral("semaine") : QStringLiteral("jour");
            parts.append(QStringLiteral("%1 : %2 %3%4, de %5 à %6 ; %7 le %8.")
                             .arg(s.name)
                             .arg(points.size())
                             .arg(unit)
                             .arg(points.size() > 1 ? QStringLiteral("s") : QString())
                             .arg(ClassFigures::mark(low->mark), ClassFigures::mark(high->mark),
                                  ClassFigures::mark(lastPoint.mark), dateText(lastPoint.when)));
        }
    }
    return parts.join(QLatin1Char(' '));
}

void MarkChart::paint(QPainter &painter, const QRectF &area, const QFont &font, qreal mm) const
{
    painter.save();
    painter.setClipRect(area);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont bold = font;
    bold.setBold(true);
    const QFontMetricsF metrics(font, painter.device());
    const QFontMetricsF boldMetrics(bold, painter.device());
    const qreal textHeight = metrics.height();

    if (isEmpty()) {
        painter.setFont(bold);
        painter.setPen(TextColour);
        painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, m_emptyText);
        painter.restore();
        return;
    }

    // The title, then the legend, on as many rows as the width needs.
    const QString heading = title();
    painter.setFont(bold);
    painter.setPen(TextColour);
    const qreal headingWidth = boldMetrics.horizontalAdvance(heading);
    painter.drawText(QRectF(area.left(), area.top(), headingWidth + mm, textHeight),
                     Qt::AlignLeft | Qt::AlignVCenter, heading);
    painter.setFont(font);
    const qreal sample = 8 * mm;
    qreal x = area.left() + headingWidth + 6 * mm;
    qreal rowTop = area.top();
    const auto seriesPen = [mm](const Series &s) {
        return s.kind == Series::ClassAverage ? QPen(ClassColour, 0.5 * mm, Qt::DashLine)
                                              : QPen(PupilColour, 0.45 * mm);
    };
    const qreal dotRadius = 0.8 * mm;
    for (const Series &s : m_series) {
        const qreal nameWidth = std::min(metrics.horizontalAdvance(s.name), area.width() / 2);
        const qreal entryWidth = sample + 2 * mm + nameWidth;
        if (x + entryWidth > area.right() && x > area.left()) {
            x = area.left();
            rowTop += textHeight * 1.2;
        }
        const qreal middle = rowTop + textHeight / 2;
        painter.setPen(seriesPen(s));
        painter.drawLine(QPointF(x, middle), QPointF(x + sample, middle));
        painter.setPen(Qt::NoPen);
        painter.setBrush(s.kind == Series::ClassAverage ? ClassColour : PupilColour);
        painter.drawEllipse(QPointF(x + sample / 2, middle), dotRadius, dotRadius);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(TextColour);
        painter.drawText(QRectF(x + sample + 2 * mm, rowTop, nameWidth + mm, textHeight),
                         Qt::AlignLeft | Qt::AlignVCenter,
                         metrics.elidedText(s.name, Qt::ElideRight, nameWidth));
        x += entryWidth + 6 * mm;
    }

    // Marks 0 to 20 upwards, time left to right.
    const qreal axisWidth = metrics.horizontalAdvance(QStringLiteral("20")) + 2 * mm;
    const qreal top = rowTop + textHeight * 1.2 + 2 * mm;
    const QRectF plot(area.left() + axisWidth, top, area.width() - axisWidth - 2 * mm,
                      area.bottom() - top - textHeight - 2.5 * mm);
    if (plot.width() <= 0 || plot.height() <= 0) {
        painter.restore();
        return;
    }
    const double span = double(m_last - m_first);
    const auto px = [&](qint64 when) { return plot.left() + plot.width() * double(when - m_first) / span; };
    const auto py = [&](double mark) {
        return plot.bottom() - plot.height() * (mark + MarkMargin) / (20 + 2 * MarkMargin);
    };

    for (int mark = 0; mark <= 20; mark += 5) {
        painter.setPen(QPen(RuleColour, 0.2 * mm));
        painter.drawLine(QPointF(plot.left(), py(mark)), QPointF(plot.right(), py(mark)));
        painter.setPen(TextColour);
        painter.drawText(QRectF(area.left(), py(mark) - textHeight / 2, axisWidth - mm, textHeight),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(mark));
    }
    for (const Tick &tick : ticks(plot.width(), metrics)) {
        const qreal tx = px(tick.when);
        painter.setPen(QPen(RuleColour, 0.2 * mm));
        painter.drawLine(QPointF(tx, plot.top()), QPointF(tx, plot.bottom() + mm));
        const qreal w = metrics.horizontalAdvance(tick.label) + mm;
        const qreal cx = std::clamp(tx, area.left() + w / 2, area.right() - w / 2);
        painter.setPen(TextColour);
        painter.drawText(QRectF(cx - w / 2, plot.bottom() + 1.5 * mm, w, textHeight), Qt::AlignCenter, tick.label);
    }

    // The class first, so that the pupil's marks are drawn over it.
    painter.save();
    painter.setClipRect(plot.adjusted(-dotRadius, -dotRadius, dotRadius, dotRadius), Qt::IntersectClip);
    for (const Series &s : m_series) {
        if (s.line.size() > 1) {
            QPainterPath path(QPointF(px(s.line.front().when), py(s.line.front().mark)));
            for (const Point &p : s.line)
                path.lineTo(px(p.when), py(p.mark));
            painter.setPen(seriesPen(s));
            painter.setBrush(Qt::NoBrush);
            painter.drawPath(path);
        }
        const qreal radius = s.kind == Series::ClassAverage ? 0.6 * mm : s.dots.size() > 120 ? 0.5 * mm : dotRadius;
        painter.setPen(Qt::NoPen);
        painter.setBrush(s.kind == Series::ClassAverage ? ClassColour : PupilColour);
        for (const Point &p : s.dots)
            painter.drawEllipse(QPointF(px(p.when), py(p.mark)), radius, radius);
    }
    painter.restore();

    painter.setPen(QPen(TextColour, 0.25 * mm));
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
    painter.restore();
}
