#pragma once
#include "markchart.h"
#include "summary.h"

#include <QDate>
#include <QRectF>
#include <QString>

#include <vector>

class QPagedPaintDevice;
class QPainter;

// One pupil's report over a period, for the parents or the pupil's file: the name and the
// period, the pupil's figures, the marks over the period drawn over the class average, the
// words most often put in the wrong place, and the table of the exercises, continued over as
// many pages as it needs, the name and the period on each. Paints on any paged device: a
// printer, or a PDF file.
class PupilReport
{
public:
    // `all`: the exercises of every pupil (the class average comes from those of the period).
    PupilReport(const std::vector<ExerciseSummary> &all, const QString &pupil, const QDate &from,
                const QDate &to);

    // "du 01/09/2026 au 10/12/2026"
    static QString periodText(const QDate &from, const QDate &to);
    // The name offered for a PDF file: "Bilan Léa 2026-09-01 au 2026-12-10".
    QString documentName() const;

    // Paints every page; false when the device cannot be painted on.
    bool paint(QPagedPaintDevice &device);

    int exerciseCount() const { return int(m_exercises.size()); }
    // What the last paint drew: its pages, and the smallest rectangle holding all it drew on
    // any page (in the device's coordinates: its printable area starts at 0, 0).
    int pageCount() const { return m_pages; }
    QRectF paintedBounds() const { return m_bounds; }

private:
    QString m_pupil;
    QDate m_from;
    QDate m_to;
    std::vector<ExerciseSummary> m_exercises; // the pupil's, in the order played
    MarkChart m_chart;
    std::vector<WrongWordCount> m_words;
    int m_pages = 0;
    QRectF m_bounds;
};
