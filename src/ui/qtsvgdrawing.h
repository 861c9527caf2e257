#pragma once
#include "ui/svgdrawing.h"

// Drawings by Qt Svg, linked in: the SVG module's factory, and the tests'.
SvgDrawing *makeQtSvgDrawing(const QString &fileName, const QByteArray &text);
