#include "svgpicture.h"

#include "common/rendersvg.h"

#include <QPainter>

SvgPicture::SvgPicture(const QString &resource, QWidget *parent)
    : QWidget(parent)
    , m_renderer(resource)
{
}

void SvgPicture::paintEvent(QPaintEvent *)
{
    const qreal ratio = devicePixelRatioF();
    if (m_cache.isNull() || m_cache.size() != (QSizeF(size()) * ratio).toSize())
        m_cache = renderSvg(m_renderer, size(), ratio);
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_cache);
}
