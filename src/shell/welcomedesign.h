#pragma once
#include <QList>
#include <QPainterPath>
#include <QString>

// The outlines of the main window's pictures that come from a font or from Qt's stroker: the
// welcome picture's letters and name in Liberation Sans Bold, and every line drawn with round
// ends or corners, as the areas they cover. The program draws them from the copy that
// tools/welcome_outlines.cpp writes into welcomeoutlines.inc: showing the main window then
// opens no font file of its own, strokes nothing, and needs no trigonometry, whose tables
// alone would be a quarter of a megabyte in memory. Only that tool and the tests use this.
struct WelcomeOutline {
    QString name;   // a C++ name, unique
    QPainterPath path;
};

QList<WelcomeOutline> welcomeOutlines();
