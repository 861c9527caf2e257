#pragma once
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>

// The exercise's scene drawn at one uniform scale that fits its window, centred in it. The
// rules and every stored place stay in twips of the designed 9705 x 6585 scene; only the
// drawing and the reading of the pointer go through this mapping.
class SceneScale
{
public:
    static constexpr int DesignWidth = 9705;  // twips
    static constexpr int DesignHeight = 6585; // twips
    // The designed scene in pixels at scale 1.
    static QSize designSize();

    SceneScale() = default;
    // The largest scale at which the whole scene fits a window of this size, centred.
    static SceneScale fitting(QSize window);

    double factor() const { return m_factor; }
    QPointF origin() const { return m_origin; }

    // A place in twips of the scene to the nearest pixel of the window.
    QPoint toWindow(QPointF twipsPos) const;
    // A control's rectangle in twips, each edge to the nearest pixel, so that neighbours share
    // their edges at every scale.
    QRect toWindow(const QRect &twipsRect) const;
    // A length in twips to pixels, unrounded.
    double pixels(double twipsLength) const { return twipsLength * m_factor / 15.0; }
    // A window position (pixels, fractions kept) to twips of the scene.
    QPointF toTwips(QPointF windowPos) const;
    // The designed scene's rectangle in the window.
    QRect sceneRect() const;
    // A font size in points, at 96 dots per inch like the designed layout, to whole pixels at
    // this scale (at least 1).
    int fontPixels(double points) const { return fontPixels(points, m_factor); }
    static int fontPixels(double points, double factor);

    bool operator==(const SceneScale &other) const = default;

private:
    double m_factor = 1.0;
    QPointF m_origin;
};
