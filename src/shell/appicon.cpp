#include "appicon.h"

#include "ui/rendersvg.h"

#include <QSvgRenderer>

QIcon appIcon()
{
    QSvgRenderer renderer(QStringLiteral(":/pictures/icon.svg"));
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(renderSvg(renderer, QSize(size, size), 1.0));
    return icon;
}
