#include "svgpicture.h"

#include <QImage>
#include <QPainter>

SvgPicture::SvgPicture(const QString &resource, QWidget *parent)
    : QWidget(parent)
    , m_renderer(resource)
{
}

void SvgPicture::paintEvent(QPaintEvent *)
{
    const qreal ratio = devicePixelRatioF();
    const QSize device = (QSizeF(size()) * ratio).toSize();
    if (m_cache.isNull() || m_cache.size() != device) {
        QImage image(device, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        image.setDevicePixelRatio(ratio);
        QPainter imagePainter(&image);
        imagePainter.setRenderHint(QPainter::Antialiasing);
        m_renderer.render(&imagePainter, QRectF(QPointF(0, 0), QSizeF(size())));
        imagePainter.end();
        m_cache = QPixmap::fromImage(image);
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_cache);
}
