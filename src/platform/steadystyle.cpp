#include "platform/steadystyle.h"

#include "platform/standardicons.h"

#include <QApplication>
#include <qdrawutil.h>
#include <QGroupBox>
#include <QStyleOption>
#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QWidget>

#include <algorithm>
#include <functional>
#include <memory>

namespace {
// A standard icon made the first time it is drawn. Qt's styles make their icons from picture
// files, and reading the first one makes Qt load every image-format plugin to find out its
// format: the menu bar asks for its overflow button's icon when it is built, though it shows
// that button only when the menus do not fit.
class DeferredIconEngine : public QIconEngine
{
public:
    explicit DeferredIconEngine(std::function<QIcon()> make)
        : m_state(std::make_shared<State>(State{std::move(make), {}, false}))
    {
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, mode, state);
    }
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return icon().availableSizes(mode, state);
    }
    QString iconName() override { return icon().name(); }
    QIconEngine *clone() const override { return new DeferredIconEngine(m_state); }
    QString key() const override { return QStringLiteral("DeferredIconEngine"); }

private:
    struct State
    {
        std::function<QIcon()> make;
        QIcon icon;
        bool made;
    };
    explicit DeferredIconEngine(std::shared_ptr<State> state) : m_state(std::move(state)) {}

    const QIcon &icon()
    {
        if (!m_state->made) {
            m_state->made = true;
            m_state->icon = m_state->make();
            m_state->make = nullptr;
        }
        return m_state->icon;
    }

    std::shared_ptr<State> m_state;
};

// Fusion draws a group box's frame from a picture of its resources, and reading any picture
// file makes Qt load every image-format plugin (1.3 MiB) to learn its format. The same frame is
// drawn here from the same pixels, kept in the code: the picture's corners, six pixels square,
// and one pixel of its edges and middle, stretched as Fusion stretches the picture.
constexpr int FrameCorner = 6;
constexpr int FrameSide = 2 * FrameCorner + 1;
constexpr QRgb FramePixels[FrameSide * FrameSide] = {
    0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000,
        0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000,
    0x00000000, 0x0d272727, 0x345d5d5d, 0x346c6c6c, 0x32757575, 0x32757575, 0x32757575,
        0x32757575, 0x32757575, 0x32757575, 0x346c6c6c, 0x37666666, 0x0c151515,
    0x00000000, 0x39626262, 0x1f5a5a5a, 0x0a000000, 0x08000000, 0x07000000, 0x07000000,
        0x07000000, 0x07000000, 0x08000000, 0x0a000000, 0x1e5e5e5e, 0x355b5b5b,
    0x00000000, 0x346c6c6c, 0x09000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000,
        0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x09000000, 0x346c6c6c,
    0x00000000, 0x32757575, 0x08000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000,
        0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x08000000, 0x32757575,
    0x00000000, 0x32757575, 0x07000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000,
        0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x07000000, 0x32757575,
    0x00000000, 0x32757575, 0x07000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000,
        0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x07000000, 0x32757575,
    0x00000000, 0x32757575, 0x07000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000,
        0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x07000000, 0x32757575,
    0x00000000, 0x32757575, 0x07000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000,
        0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x07000000, 0x32757575,
    0x00000000, 0x32757575, 0x08000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000,
        0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x08000000, 0x32757575,
    0x00000000, 0x346c6c6c, 0x09000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000,
        0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x09000000, 0x346c6c6c,
    0x00000000, 0x355b5b5b, 0x1e5e5e5e, 0x0a000000, 0x08000000, 0x07000000, 0x07000000,
        0x07000000, 0x07000000, 0x08000000, 0x0a000000, 0x1f5a5a5a, 0x39626262,
    0x00000000, 0x0c151515, 0x37666666, 0x346c6c6c, 0x32757575, 0x32757575, 0x32757575,
        0x32757575, 0x32757575, 0x32757575, 0x346c6c6c, 0x345d5d5d, 0x0d272727,
};

void drawFusionGroupBoxFrame(const QStyle &style, const QStyleOption &option, QPainter &painter,
                             const QWidget *widget)
{
    static const QPixmap frame = QPixmap::fromImage(
        QImage(reinterpret_cast<const uchar *>(FramePixels), FrameSide, FrameSide,
               QImage::Format_ARGB32)
            .copy());
    // Fusion's margin above the frame: none but its own for a box without a title.
    constexpr int TopMargin = 3;
    int top = TopMargin;
    const auto *box = qobject_cast<const QGroupBox *>(widget);
    if (!box || box->isCheckable() || !box->title().isEmpty()) {
        top += std::max(style.pixelMetric(QStyle::PM_ExclusiveIndicatorHeight, &option, widget),
                        option.fontMetrics.height());
    }
    qDrawBorderPixmap(&painter, option.rect.adjusted(0, top, 0, 0),
                      QMargins(FrameCorner, FrameCorner, FrameCorner, FrameCorner), frame);
}
Qt::LayoutDirection directionOf(const QStyleOption *option, const QWidget *widget)
{
    return option ? option->direction
           : widget ? widget->layoutDirection()
                    : QGuiApplication::layoutDirection();
}
} // namespace

void SteadyStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option,
                                QPainter *painter, const QWidget *widget) const
{
    if (element == PE_FrameGroupBox && option && painter
        && baseStyle()->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) == 0) {
        drawFusionGroupBoxFrame(*this, *option, *painter, widget);
        return;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

QIcon SteadyStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption *option,
                                const QWidget *widget) const
{
    const Qt::LayoutDirection direction = directionOf(option, widget);
    const quint64 key = (quint64(standardIcon) << 1) | (direction == Qt::RightToLeft ? 1 : 0);
    QMutexLocker locked(&m_iconsLock);
    auto icon = m_icons.constFind(key);
    if (icon != m_icons.constEnd())
        return *icon;
    // The program's own drawings, whatever the option's state: none depends on it.
    QIcon drawn = drawnStandardIcon(standardIcon, direction);
    if (!drawn.isNull())
        return *m_icons.insert(key, drawn);

    // An option may carry a state the icon is drawn for: such icons are left to the style.
    if (option) {
        locked.unlock();
        return QProxyStyle::standardIcon(standardIcon, option, widget);
    }
    // The style is asked again when the icon is first drawn, by then without the widget,
    // which may be gone: the widget's direction is what mattered of it, and it is
    // the application's in a left-to-right program.
    if (direction != QGuiApplication::layoutDirection())
        return *m_icons.insert(key, QProxyStyle::standardIcon(standardIcon, nullptr, widget));
    // The program may change its style before then (tests do).
    auto make = [self = QPointer<SteadyStyle>(const_cast<SteadyStyle *>(this)), standardIcon] {
        return self ? self->QProxyStyle::standardIcon(standardIcon, nullptr, nullptr)
                    : QApplication::style()->standardIcon(standardIcon);
    };
    return *m_icons.insert(key, QIcon(new DeferredIconEngine(make)));
}

QPixmap SteadyStyle::standardPixmap(StandardPixmap standardPixmap, const QStyleOption *option,
                                    const QWidget *widget) const
{
    // The program's drawings come from the icons kept, rather than read anew at each call.
    static const QList<StandardPixmap> drawn = drawnStandardIcons();
    if (!drawn.contains(standardPixmap))
        return QProxyStyle::standardPixmap(standardPixmap, option, widget);
    const bool messageBox = standardPixmap >= SP_MessageBoxInformation
                            && standardPixmap <= SP_MessageBoxQuestion;
    const int side = pixelMetric(messageBox ? PM_MessageBoxIconSize : PM_SmallIconSize, option,
                                 widget);
    return standardIcon(standardPixmap, option, widget).pixmap(QSize(side, side));
}

void useSteadyStyle()
{
    QApplication::setStyle(new SteadyStyle(QApplication::style()->name()));
}
