#include "paintedicon.h"

#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>

namespace {
class PaintedIconEngine : public QIconEngine
{
public:
    PaintedIconEngine(IconDrawing draw, IconDrawing on, QList<QSize> sizes, int keptUpTo,
                      std::function<bool()> valid)
        : m_draw(std::move(draw))
        , m_drawOn(std::move(on))
        , m_sizes(std::move(sizes))
        , m_keptUpTo(keptUpTo)
        , m_valid(std::move(valid))
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
        if (drawn.isEmpty() || isNull())
            return {};
        const bool on = state == QIcon::On && m_drawOn;
        const quint64 key = (quint64(on) << 63) | (quint64(drawn.width()) << 32)
                            | quint64(drawn.height());
        QPixmap picture = m_kept.value(key);
        if (picture.isNull()) {
            picture = QPixmap(drawn);
            picture.fill(Qt::transparent);
            QPainter painter(&picture);
            painter.setRenderHint(QPainter::Antialiasing);
            (on ? m_drawOn : m_draw)(painter, drawn);
            painter.end();
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
        return new PaintedIconEngine(m_draw, m_drawOn, m_sizes, m_keptUpTo, m_valid);
    }
    QString key() const override { return QStringLiteral("PaintedIconEngine"); }
    bool isNull() override { return m_valid && !m_valid(); }

private:
    IconDrawing m_draw;
    IconDrawing m_drawOn;
    QList<QSize> m_sizes;
    int m_keptUpTo;
    std::function<bool()> m_valid;
    QHash<quint64, QPixmap> m_kept;
};
} // namespace

QIcon paintedIcon(IconDrawing draw, const QList<QSize> &sizes, int keptUpTo, IconDrawing on,
                  std::function<bool()> valid)
{
    return QIcon(new PaintedIconEngine(std::move(draw), std::move(on), sizes, keptUpTo,
                                       std::move(valid)));
}
