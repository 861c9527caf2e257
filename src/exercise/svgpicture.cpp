#include "svgpicture.h"

#include <QPaintEvent>
#include <QPainter>

SvgPicture::SvgPicture(const QString &resource, QWidget *parent)
    : QWidget(parent)
    , m_drawing(loadSvgFile(resource))
{
}

void SvgPicture::setPictureSize(QSize size)
{
    if (size == m_pictureSize)
        return;
    m_pictureSize = size;
    update();
}

void SvgPicture::setOpaqueBackground(const QColor &color)
{
    m_background = color;
    setAttribute(Qt::WA_OpaquePaintEvent, color.isValid());
    update();
}

QSize SvgPicture::drawnSize() const
{
    return m_pictureSize.isEmpty() ? size() : m_pictureSize;
}

void SvgPicture::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    if (m_background.isValid()) {
        // A picture that could not be read covers nothing: the background goes everywhere.
        const QRegion around = m_drawing->isValid()
                                   ? event->region() - QRect(QPoint(0, 0), drawnSize())
                                   : event->region();
        for (const QRect &rect : around)
            painter.fillRect(rect, m_background);
    }
    painter.setClipRegion(event->region());
    m_drawing->render(painter, QRectF(QPointF(0, 0), QSizeF(drawnSize())));
}
