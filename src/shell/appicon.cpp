#include "appicon.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

QIcon appIcon()
{
    QSvgRenderer renderer(QStringLiteral(":/pictures/icon.svg"));
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter, QRectF(0, 0, size, size));
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}
