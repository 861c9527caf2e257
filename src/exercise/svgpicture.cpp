#include "svgpicture.h"

#include "ui/rendersvg.h"

#include <QPainter>

SvgPicture::SvgPicture(const QString &resource, QWidget *parent)
    : QWidget(parent)
    , m_renderer(resource)
{
}

void SvgPicture::setPictureSize(QSize size)
{
    if (size == m_pictureSize)
        return;
    m_pictureSize = size;
    update();
}

void SvgPicture::paintEvent(QPaintEvent *)
{
    const qreal ratio = devicePixelRatioF();
    const QSize drawn = m_pictureSize.isEmpty() ? size() : m_pictureSize;
    if (m_cache.isNull() || m_cache.size() != (QSizeF(drawn) * ratio).toSize()
        || m_cache.devicePixelRatio() != ratio)
        m_cache = renderSvg(m_renderer, drawn, ratio);
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_cache);
}
