#pragma once
#include <QColor>
#include <QPixmap>
#include <QSize>

class QSvgRenderer;

// A picture drawn at `size` (device-independent pixels) for a screen of this pixel ratio, so
// that it stays sharp on high-density screens, over the given background.
QPixmap renderSvg(QSvgRenderer &renderer, const QSize &size, qreal ratio,
                  const QColor &background = Qt::transparent);
