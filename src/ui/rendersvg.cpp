#include "rendersvg.h"

#include "svgdrawing.h"

#include <QPainter>

QPixmap renderSvg(SvgDrawing &drawing, const QSize &size, qreal ratio, const QColor &background)
{
    QPixmap pixmap((QSizeF(size) * ratio).toSize());
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(background);
    QPainter painter(&pixmap);
    drawing.render(painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return pixmap;
}
