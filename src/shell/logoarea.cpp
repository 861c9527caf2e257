#include "logoarea.h"

#include "ui/rendersvg.h"

#include <QPainter>
#include <QSvgRenderer>

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
    const qreal ratio = viewport()->devicePixelRatioF();
    if (m_logo.isNull() || m_logo.devicePixelRatio() != ratio) {
        QSvgRenderer renderer(QStringLiteral(":/pictures/main_logo.svg"));
        m_logo = renderSvg(renderer, LogoSize, ratio, Qt::white);
    }
    QPainter painter(viewport());
    painter.drawPixmap(logoRect().topLeft(), m_logo);
}
