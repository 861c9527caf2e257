#pragma once
#include <QColor>
#include <QPixmap>
#include <QSize>

class SvgDrawing;

// A picture drawn at `size` (device-independent pixels) for a screen of this pixel ratio, so
// that it stays sharp on high-density screens, over the given background.
QPixmap renderSvg(SvgDrawing &drawing, const QSize &size, qreal ratio,
                  const QColor &background = Qt::transparent);
