#include "appicon.h"

#include "ui/paintedicon.h"
#include "welcomepictures.h"

#include <QPainter>

QIcon appIcon()
{
    // Every window shown hands the desktop each offered size, drawn anew above 64 pixels and
    // copied twice on the way: a 256-pixel size would cost three quarters of a megabyte at
    // each window opened. Launchers and docks take the installed icon, which has every size;
    // a window's own icon serves its title bar and the window switcher.
    return paintedIcon(
        [](QPainter &painter, const QSize &size) {
            drawProgramIcon(painter, QRectF(QPointF(0, 0), QSizeF(size)));
        },
        {{16, 16}, {24, 24}, {32, 32}, {48, 48}, {64, 64}, {128, 128}});
}
