#include "ui/qtsvgdrawing.h"

#include <QtGlobal>

// Named as SvgModule::Factory says.
extern "C" Q_DECL_EXPORT SvgDrawing *plumalin_make_svg_drawing(const QString &fileName,
                                                               const QByteArray &text)
{
    return makeQtSvgDrawing(fileName, text);
}
