// The tests and benchmarks link Qt Svg: their SVG drawings are made in the process, not by the
// program's module (which is found from the program's folder only).
#include "ui/qtsvgdrawing.h"

namespace {
const bool svgLinkedIn = (useSvgDrawingMaker(&makeQtSvgDrawing), true);
}
