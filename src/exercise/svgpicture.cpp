#include "svgpicture.h"

#include "ui/rendersvg.h"

#include <QPaintEvent>
#include <QPainter>

namespace {
// Long enough to span the steps of a window being dragged larger, short enough that a word
// picked up just after finds the picture kept.
const int SettleMs = 300;
}

SvgPicture::SvgPicture(const QString &resource, QWidget *parent)
    : QWidget(parent)
    , m_renderer(resource)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(SettleMs);
    connect(&m_settle, &QTimer::timeout, this, &SvgPicture::keepPicture);
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

QSize SvgPicture::deviceSize() const
{
    return (QSizeF(drawnSize()) * devicePixelRatioF()).toSize();
}

void SvgPicture::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    if (m_background.isValid()) {
        const QRegion around = event->region() - QRect(QPoint(0, 0), drawnSize());
        for (const QRect &rect : around)
            painter.fillRect(rect, m_background);
    }
    if (hasKeptPicture() && m_cache.devicePixelRatio() == devicePixelRatioF()) {
        painter.drawPixmap(0, 0, m_cache);
        return;
    }
    // A picture of another size is of no more use.
    m_cache = QPixmap();
    painter.setClipRegion(event->region());
    m_renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(drawnSize())));
    m_settle.start();
}

void SvgPicture::keepPicture()
{
    if (!isVisible() || drawnSize().isEmpty())
        return;
    m_cache = renderSvg(m_renderer, drawnSize(), devicePixelRatioF());
}
