#include "appicon.h"

#include "ui/svgicon.h"

QIcon appIcon()
{
    // The larger sizes, which only a desktop asks for when a window is shown, are drawn anew
    // rather than kept (a quarter of a megabyte).
    return svgIcon(QStringLiteral(":/pictures/icon.svg"),
                   {{16, 16}, {24, 24}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}});
}
