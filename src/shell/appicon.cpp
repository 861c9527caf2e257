#include "appicon.h"

#include "ui/rendersvg.h"

#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QSvgRenderer>

#include <memory>

namespace {
const QList<QSize> Sizes{{16, 16}, {24, 24}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}};
// Sizes drawn in the program's windows, kept once drawn; the larger ones, which only a desktop
// asks for when a window is shown, are drawn anew rather than kept (a quarter of a megabyte).
const int KeptUpTo = 64;

class AppIconEngine : public QIconEngine
{
public:
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State) override
    {
        const QSize drawn = size.boundedTo(Sizes.constLast());
        if (drawn.isEmpty())
            return {};
        const quint64 key = (quint64(drawn.width()) << 32) | quint64(drawn.height());
        QPixmap picture = m_kept.value(key);
        if (picture.isNull()) {
            picture = renderSvg(renderer(), drawn, 1.0);
            if (drawn.width() <= KeptUpTo && drawn.height() <= KeptUpTo)
                m_kept.insert(key, picture);
        }
        if (mode == QIcon::Disabled || mode == QIcon::Selected)
            return generatedIconPixmap(mode, picture);
        return picture;
    }
    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap picture = pixmap((QSizeF(rect.size()) * ratio).toSize(), mode, state);
        picture.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect, picture);
    }
    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        return size.boundedTo(Sizes.constLast());
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return Sizes; }
    QIconEngine *clone() const override { return new AppIconEngine; }
    QString key() const override { return QStringLiteral("AppIconEngine"); }

private:
    static QPixmap generatedIconPixmap(QIcon::Mode mode, const QPixmap &picture);

    QSvgRenderer &renderer()
    {
        if (!m_renderer)
            m_renderer = std::make_unique<QSvgRenderer>(QStringLiteral(":/pictures/icon.svg"));
        return *m_renderer;
    }

    std::unique_ptr<QSvgRenderer> m_renderer;
    QHash<quint64, QPixmap> m_kept;
};

QPixmap AppIconEngine::generatedIconPixmap(QIcon::Mode mode, const QPixmap &picture)
{
    // Greyed or highlighted as the style draws any icon in that state.
    QIcon plain(picture);
    return plain.pixmap(picture.size(), mode);
}
} // namespace

QIcon appIcon()
{
    return QIcon(new AppIconEngine);
}
