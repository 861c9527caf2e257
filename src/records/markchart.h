#pragma once
#include "summary.h"

#include <QDate>
#include <QFont>
#include <QRectF>
#include <QString>

#include <optional>
#include <vector>

class QFontMetricsF;
class QPainter;

// The marks of a period drawn alike on the screen and on paper: the class average (by day, or
// by week over more than two months) as a dashed line, and one pupil's marks over it, a dot for
// each mark and a line through the pupil's average of each day (or week). Marks 0 to 20 upwards,
// time left to right with as many dates as the width holds, a legend naming both. Without a
// mark, only "Aucune note sur cette période", no axes. Qt Gui only: a printer, a PDF file or a
// widget paints it.
class MarkChart
{
public:
    struct Point {
        qint64 when = 0; // local seconds (RecordFormat::localSeconds)
        double mark = 0;
    };
    struct Series {
        enum Kind { ClassAverage, Pupil };
        Kind kind = ClassAverage;
        QString name;
        std::vector<Point> line; // joined in order
        std::vector<Point> dots; // each drawn as a dot
    };
    struct Tick {
        qint64 when = 0;
        QString label;
    };

    MarkChart() = default;
    // The marks of `exercises` (every pupil's) from `from` to `to` (either may be invalid: no
    // bound); `pupil`: whose marks go over the class average (none: the class alone), named
    // `pupilLabel` in the legend.
    MarkChart(const std::vector<ExerciseSummary> &exercises, const QDate &from, const QDate &to,
              const std::optional<QString> &pupil = std::nullopt, const QString &pupilLabel = QString());

    bool isEmpty() const { return m_series.empty(); }
    // "Notes sur 20", or "Aucune note sur cette période".
    QString title() const;
    bool weekly() const { return m_weekly; }
    const std::vector<Series> &series() const { return m_series; }
    // The time drawn from left to right, in local seconds.
    qint64 first() const { return m_first; }
    qint64 last() const { return m_last; }
    // The dates under a plot `width` wide, their labels apart with the given font.
    std::vector<Tick> ticks(qreal width, const QFontMetricsF &metrics) const;
    // What the chart shows, in words, for those who cannot see it.
    QString description() const;

    // Draws the chart in `area`: `font` for its texts, `mm` the device's units in a millimetre.
    void paint(QPainter &painter, const QRectF &area, const QFont &font, qreal mm) const;

    // Empty when there is nothing to draw; the window may show it while the records are read.
    void setEmptyText(const QString &text) { m_emptyText = text; }

private:
    std::vector<Series> m_series;
    qint64 m_first = 0;
    qint64 m_last = 0;
    bool m_weekly = false;
    bool m_hours = false; // a day or two: ticks in hours
    QDate m_from;
    QDate m_to;
    QString m_emptyText = QStringLiteral("Aucune note sur cette période");
};
