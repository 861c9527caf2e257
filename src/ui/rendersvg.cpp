#include "rendersvg.h"

#include <QPainter>
#include <QSvgRenderer>

QPixmap renderSvg(QSvgRenderer &renderer, const QSize &size, qreal ratio, const QColor &background)
{
    QPixmap pixmap((QSizeF(size) * ratio).toSize());
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(background);
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return pixmap;
}
