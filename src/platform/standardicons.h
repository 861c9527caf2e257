#pragma once

#include <QIcon>
#include <QList>
#include <QStyle>

// The style's standard icons that the program draws itself: the file dialog's, the message
// boxes', the dialog buttons' and an inner window's buttons. Qt's styles make them from picture
// files, and reading the first one makes Qt load every image-format plugin it has (a megabyte
// and more) only to learn that the file is a PNG.
// A null icon for a standard icon the program does not draw.
QIcon drawnStandardIcon(QStyle::StandardPixmap which, Qt::LayoutDirection direction);

// Every standard icon drawnStandardIcon() draws.
QList<QStyle::StandardPixmap> drawnStandardIcons();
