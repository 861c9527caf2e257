#include "platform/steadystyle.h"

#include <QApplication>
#include <QWidget>

QIcon SteadyStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption *option,
                                const QWidget *widget) const
{
    // An option may carry a state the icon is drawn for: such icons are left to the style.
    if (option)
        return QProxyStyle::standardIcon(standardIcon, option, widget);
    const Qt::LayoutDirection direction =
        widget ? widget->layoutDirection() : QGuiApplication::layoutDirection();
    const quint64 key = (quint64(standardIcon) << 1) | (direction == Qt::RightToLeft ? 1 : 0);
    auto icon = m_icons.constFind(key);
    if (icon == m_icons.constEnd())
        icon = m_icons.insert(key, QProxyStyle::standardIcon(standardIcon, nullptr, widget));
    return *icon;
}

void useSteadyStyle()
{
    QApplication::setStyle(new SteadyStyle(QApplication::style()->name()));
}
