#pragma once
#include <QRectF>

class QPainter;

// The program's own pictures of the main window, drawn by code rather than read from SVG: the
// main window then shows without parsing a picture, and a program that only shows its main
// window leaves Qt's SVG code untouched.

// The welcome picture (alphabet letters over the program's name, with a feather), designed at
// 480 x 360 and stretched to `rect`.
void drawWelcomeLogo(QPainter &painter, const QRectF &rect);

// The program's icon (a letter A with a feather), designed at 64 x 64 and stretched to `rect`;
// the same drawing as resources/pictures/icon.svg, which the desktop shows.
void drawProgramIcon(QPainter &painter, const QRectF &rect);
