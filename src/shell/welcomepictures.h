#pragma once
#include <QPainterPath>
#include <QRectF>

class QPainter;

// The program's own pictures of the main window, drawn by code rather than read from SVG: the
// main window then shows without parsing a picture, and a program that only shows its main
// window leaves Qt's SVG code untouched. What comes from a font or a stroke is drawn from
// outlines written beforehand (welcomedesign.h).

// The welcome picture (alphabet letters over the program's name, with a feather), designed at
// 480 x 360 and stretched to `rect`.
void drawWelcomeLogo(QPainter &painter, const QRectF &rect);

// The program's icon (a letter A with a feather), designed at 64 x 64 and stretched to `rect`;
// the same drawing as resources/pictures/icon.svg, which the desktop shows.
void drawProgramIcon(QPainter &painter, const QRectF &rect);

// The icon's feather, about its own origin.
inline QPainterPath iconFeatherVane()
{
    QPainterPath vane(QPointF(0, -22));
    vane.cubicTo(8, -16, 9, -4, 0, 12);
    vane.cubicTo(-9, -4, -8, -16, 0, -22);
    vane.closeSubpath();
    return vane;
}

// The written outline of that name (welcomedesign.h), empty if there is none.
QPainterPath bakedWelcomeOutline(const QString &name);
