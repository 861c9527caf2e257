#pragma once
#include <QByteArray>
#include <QIcon>
#include <QList>
#include <QSize>
#include <QString>

// An icon drawn from an SVG resource at each size asked, sharp at any size. Drawing it reads
// no picture file, so Qt loads none of its image-format plugins for it. `sizes` are the sizes
// it offers (a window icon gives each to the desktop); those up to `keptUpTo` pixels are kept
// once drawn, larger ones are drawn anew each time.
QIcon svgIcon(const QString &resource, const QList<QSize> &sizes, int keptUpTo = 64);

// The same from SVG text kept in the code; `on`, when given, is drawn for the icon's On state
// (an open folder).
QIcon svgIconFromText(const QByteArray &off, const QByteArray &on, const QList<QSize> &sizes,
                      int keptUpTo = 64);
