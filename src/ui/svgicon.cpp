#include "svgicon.h"

#include "rendersvg.h"

#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QSvgRenderer>

#include <array>
#include <memory>

namespace {
// Where a drawing comes from: a resource's name, or its SVG text.
struct SvgSource
{
    QString resource;
    QByteArray text;

    bool isEmpty() const { return resource.isEmpty() && text.isEmpty(); }
};

class SvgIconEngine : public QIconEngine
{
public:
    // off: the drawing; on: the one for the On state, or empty to use `off` for both.
    SvgIconEngine(SvgSource off, SvgSource on, QList<QSize> sizes, int keptUpTo)
        : m_sources{std::move(off), std::move(on)}
        , m_sizes(std::move(sizes))
        , m_keptUpTo(keptUpTo)
    {
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override
    {
        const QSize drawn = (QSizeF(size) * scale).toSize();
        const int which = drawingFor(state);
        if (drawn.isEmpty() || !renderer(which).isValid())
            return {};
        const quint64 key =
            (quint64(which) << 63) | (quint64(drawn.width()) << 32) | quint64(drawn.height());
        QPixmap picture = m_kept.value(key);
        if (picture.isNull()) {
            picture = renderSvg(renderer(which), drawn, 1.0);
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
        return new SvgIconEngine(m_sources[0], m_sources[1], m_sizes, m_keptUpTo);
    }
    QString key() const override { return QStringLiteral("SvgIconEngine"); }
    bool isNull() override { return !renderer(0).isValid(); }

private:
    int drawingFor(QIcon::State state) const
    {
        return state == QIcon::On && !m_sources[1].isEmpty() ? 1 : 0;
    }

    QSvgRenderer &renderer(int which)
    {
        auto &renderer = m_renderers[which];
        if (!renderer) {
            const SvgSource &source = m_sources[which];
            renderer = source.text.isEmpty() ? std::make_unique<QSvgRenderer>(source.resource)
                                             : std::make_unique<QSvgRenderer>(source.text);
        }
        return *renderer;
    }

    std::array<SvgSource, 2> m_sources;
    QList<QSize> m_sizes;
    int m_keptUpTo;
    std::array<std::unique_ptr<QSvgRenderer>, 2> m_renderers;
    QHash<quint64, QPixmap> m_kept;
};
} // namespace

QIcon svgIcon(const QString &resource, const QList<QSize> &sizes, int keptUpTo)
{
    return QIcon(new SvgIconEngine({resource, {}}, {}, sizes, keptUpTo));
}

QIcon svgIconFromText(const QByteArray &off, const QByteArray &on, const QList<QSize> &sizes,
                      int keptUpTo)
{
    return QIcon(new SvgIconEngine({{}, off}, {{}, on}, sizes, keptUpTo));
}
