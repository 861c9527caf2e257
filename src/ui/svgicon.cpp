#include "svgicon.h"

#include "rendersvg.h"

#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QSvgRenderer>

#include <memory>

namespace {
class SvgIconEngine : public QIconEngine
{
public:
    SvgIconEngine(QString resource, QList<QSize> sizes, int keptUpTo)
        : m_resource(std::move(resource))
        , m_sizes(std::move(sizes))
        , m_keptUpTo(keptUpTo)
    {
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State, qreal scale) override
    {
        const QSize drawn = (QSizeF(size) * scale).toSize();
        if (drawn.isEmpty() || !renderer().isValid())
            return {};
        const quint64 key = (quint64(drawn.width()) << 32) | quint64(drawn.height());
        QPixmap picture = m_kept.value(key);
        if (picture.isNull()) {
            picture = renderSvg(renderer(), drawn, 1.0);
            if (drawn.width() <= m_keptUpTo && drawn.height() <= m_keptUpTo)
                m_kept.insert(key, picture);
        }
        if (mode == QIcon::Disabled || mode == QIcon::Selected) {
            // Greyed or highlighted as the style draws any icon in that state.
            picture = QIcon(picture).pixmap(drawn, mode);
        }
        picture.setDevicePixelRatio(scale);
        return picture;
    }
    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        painter->drawPixmap(rect, scaledPixmap(rect.size(), mode, state, ratio));
    }
    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override { return size; }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return m_sizes; }
    QIconEngine *clone() const override
    {
        return new SvgIconEngine(m_resource, m_sizes, m_keptUpTo);
    }
    QString key() const override { return QStringLiteral("SvgIconEngine"); }
    bool isNull() override { return !renderer().isValid(); }

private:
    QSvgRenderer &renderer()
    {
        if (!m_renderer)
            m_renderer = std::make_unique<QSvgRenderer>(m_resource);
        return *m_renderer;
    }

    QString m_resource;
    QList<QSize> m_sizes;
    int m_keptUpTo;
    std::unique_ptr<QSvgRenderer> m_renderer;
    QHash<quint64, QPixmap> m_kept;
};
} // namespace

QIcon svgIcon(const QString &resource, const QList<QSize> &sizes, int keptUpTo)
{
    return QIcon(new SvgIconEngine(resource, sizes, keptUpTo));
}
