#include "logoarea.h"

#include "welcomepictures.h"

#include <QPaintEvent>
#include <QPainter>

LogoArea::LogoArea(QWidget *parent)
    : QMdiArea(parent)
{
    setBackground(QColor(255, 255, 255));
    // An inner window larger than the area (the exercise on a 640 x 480 main window) stays
    // reachable.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

QRect LogoArea::logoRect() const
{
    QRect rect(QPoint(0, 0), LogoSize);
    rect.moveCenter(viewport()->rect().center());
    return rect;
}

void LogoArea::paintEvent(QPaintEvent *event)
{
    QMdiArea::paintEvent(event);
    const QRect logo = logoRect();
    if (!event->rect().intersects(logo))
        return;
    QPainter painter(viewport());
    painter.setClipRect(event->rect());
    drawWelcomeLogo(painter, logo);
}
