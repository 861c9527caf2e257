#pragma once
#include <QIcon>
#include <QList>
#include <QSize>

#include <functional>

class QPainter;

// Draws a picture filling `size` on a transparent, antialiased painter.
using IconDrawing = std::function<void(QPainter &painter, const QSize &size)>;

// An icon drawn by the program at each size asked, sharp at any size. Drawing it reads no
// picture file, so Qt loads none of its image-format plugins for it. `sizes` are the sizes it
// offers (a window icon gives each to the desktop); those up to `keptUpTo` pixels are kept once
// drawn, larger ones are drawn anew each time. `on`, when given, is drawn for the icon's On
// state (an open folder). `valid`, when given, says whether there is anything to draw.
QIcon paintedIcon(IconDrawing draw, const QList<QSize> &sizes, int keptUpTo = 64,
                  IconDrawing on = {}, std::function<bool()> valid = {});
