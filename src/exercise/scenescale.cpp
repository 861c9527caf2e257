#include "scenescale.h"

#include <algorithm>
#include <cmath>

QSize SceneScale::designSize()
{
    return QSize(DesignWidth / 15, DesignHeight / 15);
}

SceneScale SceneScale::fitting(QSize window)
{
    const QSize design = designSize();
    SceneScale scale;
    if (window.width() <= 0 || window.height() <= 0)
        return scale;
    scale.m_factor = std::min(double(window.width()) / design.width(),
                              double(window.height()) / design.height());
    scale.m_origin = QPointF((window.width() - design.width() * scale.m_factor) / 2.0,
                             (window.height() - design.height() * scale.m_factor) / 2.0);
    return scale;
}

QPoint SceneScale::toWindow(QPointF twipsPos) const
{
    return QPoint(int(std::lround(m_origin.x() + pixels(twipsPos.x()))),
                  int(std::lround(m_origin.y() + pixels(twipsPos.y()))));
}

QRect SceneScale::toWindow(const QRect &twipsRect) const
{
    // The designed layout takes whole pixels of its twips (15 to the pixel): at scale 1 this
    // gives exactly the designed rectangles.
    const auto edge = [this](int twipsValue, double origin) {
        return int(std::lround(origin + (twipsValue / 15) * m_factor));
    };
    const int left = edge(twipsRect.left(), m_origin.x());
    const int top = edge(twipsRect.top(), m_origin.y());
    const int right = edge(twipsRect.left() + twipsRect.width(), m_origin.x());
    const int bottom = edge(twipsRect.top() + twipsRect.height(), m_origin.y());
    return QRect(left, top, right - left, bottom - top);
}

QPointF SceneScale::toTwips(QPointF windowPos) const
{
    return (windowPos - m_origin) * 15.0 / m_factor;
}

QRect SceneScale::sceneRect() const
{
    return toWindow(QRect(0, 0, DesignWidth, DesignHeight));
}

int SceneScale::fontPixels(double points, double factor)
{
    return std::max(1, int(std::lround(points * 96.0 / 72.0 * factor)));
}
