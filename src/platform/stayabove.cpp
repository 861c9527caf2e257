#include "stayabove.h"

#include <QApplication>
#include <QWidget>

void stayAboveOurTopWindows(QWidget &dialog)
{
    const auto windows = QApplication::topLevelWidgets();
    for (const QWidget *window : windows) {
        if (window != &dialog && window->isVisible()
            && window->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
            dialog.setWindowFlag(Qt::WindowStaysOnTopHint, true);
            return;
        }
    }
}
