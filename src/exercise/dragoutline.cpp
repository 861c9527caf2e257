#include "dragoutline.h"

#include <QPainter>

DragOutline::DragOutline(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void DragOutline::follow(const QWidget &tile, const QString &text)
{
    m_text = text;
    setFont(tile.font());
    resize(tile.size());
    update();
}

void DragOutline::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(QColor(128, 0, 0), 1.5, Qt::DashLine);
    painter.setPen(pen);
    painter.setBrush(QColor(255, 255, 255, 110));
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.75, 0.75, -0.75, -0.75), 4, 4);
    painter.setPen(QColor(128, 0, 0, 140));
    painter.drawText(rect(), Qt::AlignCenter, m_text);
}
