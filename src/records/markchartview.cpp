#include "markchartview.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

MarkChartView::MarkChartView(QWidget *parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setChart(MarkChart());
}

void MarkChartView::setChart(MarkChart chart)
{
    m_chart = std::move(chart);
    setAccessibleName(QStringLiteral("Courbe des notes : ") + m_chart.title());
    setAccessibleDescription(m_chart.description());
    update();
}

QSize MarkChartView::sizeHint() const
{
    return QSize(480, 260);
}

QSize MarkChartView::minimumSizeHint() const
{
    return QSize(200, 150);
}

void MarkChartView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // Paper white whatever the theme: the chart's colours are chosen against it.
    painter.fillRect(rect(), Qt::white);
    const qreal mm = logicalDpiX() / 25.4;
    m_chart.paint(painter, QRectF(rect()).adjusted(8, 6, -8, -6), font(), mm);
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(1, 1, -1, -1);
        option.backgroundColor = Qt::white;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}
