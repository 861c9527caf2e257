#include "appicon.h"

#include "ui/paintedicon.h"
#include "welcomepictures.h"

#include <QPainter>

QIcon appIcon()
{
    // The larger sizes, which only a desktop asks for when a window is shown, are drawn anew
    // rather than kept (a quarter of a megabyte).
    return paintedIcon(
        [](QPainter &painter, const QSize &size) {
            drawProgramIcon(painter, QRectF(QPointF(0, 0), QSizeF(size)));
        },
        {{16, 16}, {24, 24}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}});
}
