#pragma once

#include <QHash>
#include <QIcon>
#include <QMutex>
#include <QProxyStyle>

// The desktop's style, giving the same icon each time one of its standard icons is asked for,
// and drawing without picture files what Qt's styles draw from one (standard icons, Fusion's
// group box frame).
// Qt's picture cache files every drawing of an icon under the icon's own identity and never
// forgets a name it was given, even once the picture is gone: a style that makes a new icon at
// each call (the window buttons of a maximised inner window, at every repaint of the menu bar)
// would make the program grow with every exercise opened.
class SteadyStyle : public QProxyStyle
{
public:
    // key: the name of the style to steady, as QStyleFactory knows it.
    explicit SteadyStyle(const QString &key) : QProxyStyle(key) {}

    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption *option = nullptr,
                       const QWidget *widget = nullptr) const override;
    QPixmap standardPixmap(StandardPixmap standardPixmap, const QStyleOption *option = nullptr,
                           const QWidget *widget = nullptr) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;

private:
    // A file dialog's list asks for its icons from the thread that reads the folder; the base
    // style may ask its proxy again while making one.
    mutable QRecursiveMutex m_iconsLock;
    mutable QHash<quint64, QIcon> m_icons;
};

// Steadies the program's style (the desktop's, or the one asked for with -style); call once
// the application exists.
void useSteadyStyle();
