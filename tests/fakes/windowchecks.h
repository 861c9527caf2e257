#pragma once
// Finding a window's controls by object name, and the properties a person sees of a layout:
// every control inside its window, no two controls on top of each other, each text whole with
// this machine's fonts. Each check returns the names of the controls at fault.
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionButton>
#include <QWidget>
#include <QtGlobal>

#include <memory>
#include <utility>

// The control of that name in the window (any pointer to it); the test stops if there is none.
template <typename T = QWidget, typename Window>
T *control(const Window &window, const char *name)
{
    const QObject *object = &*window;
    T *found = object->template findChild<T *>(QString::fromLatin1(name));
    if (!found)
        qFatal("No control named %s in %s", name, object->metaObject()->className());
    return found;
}

namespace WindowChecks {

inline QList<QWidget *> controls(const QWidget *window, const QStringList &names)
{
    QList<QWidget *> list;
    for (const QString &name : names)
        list << control<QWidget>(window, qPrintable(name));
    return list;
}

// Controls that stick out of the control or window that holds them.
inline QStringList outside(const QWidget *window, const QStringList &names)
{
    QStringList faults;
    for (const QWidget *c : controls(window, names)) {
        if (!c->parentWidget()->rect().contains(c->geometry()))
            faults << c->objectName();
    }
    return faults;
}

// Pairs of controls that cover each other, one holding the other aside (a frame and its
// labels), and the pairs the layout draws so on purpose.
inline QStringList overlaps(const QWidget *window, const QStringList &names,
                            const QList<std::pair<QString, QString>> &allowed = {})
{
    QStringList faults;
    const QList<QWidget *> list = controls(window, names);
    for (qsizetype i = 0; i < list.size(); ++i) {
        for (qsizetype j = i + 1; j < list.size(); ++j) {
            const QWidget *a = list[i];
            const QWidget *b = list[j];
            if (a->isAncestorOf(b) || b->isAncestorOf(a))
                continue;
            const std::pair<QString, QString> pair{a->objectName(), b->objectName()};
            if (allowed.contains(pair) || allowed.contains(std::pair{pair.second, pair.first}))
                continue;
            const QRect ra(a->mapTo(window, QPoint(0, 0)), a->size());
            const QRect rb(b->mapTo(window, QPoint(0, 0)), b->size());
            if (ra.intersects(rb))
                faults << pair.first + QLatin1Char('/') + pair.second;
        }
    }
    return faults;
}

// Controls whose text does not fit them whole with the font they use.
inline QStringList textsCut(const QWidget *window, const QStringList &names)
{
    QStringList faults;
    for (const QWidget *c : controls(window, names)) {
        const QFontMetrics metrics = c->fontMetrics();
        bool fits = true;
        if (const auto *label = qobject_cast<const QLabel *>(c)) {
            if (label->pixmap().isNull()) {
                const QRect room = label->contentsRect();
                const int flags
                    = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
                const QRect needed = metrics.boundingRect(room, flags, label->text());
                fits = needed.width() <= room.width() && needed.height() <= room.height();
            }
        } else if (const auto *box = qobject_cast<const QCheckBox *>(c)) {
            fits = box->sizeHint().width() <= box->width();
        } else if (const auto *button = qobject_cast<const QAbstractButton *>(c)) {
            QString text = button->text();
            text.remove(QLatin1Char('&'));
            // Inside the button's frame, where the style draws its text.
            QStyleOptionButton option;
            option.initFrom(button);
            const QRect room =
                button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            fits = metrics.horizontalAdvance(text) <= room.width()
                   && metrics.height() <= room.height();
        } else if (const auto *list = qobject_cast<const QComboBox *>(c)) {
            // Room for the text beside the arrow of the list.
            const int room = list->width() - list->iconSize().width() - 16;
            for (int i = 0; i < list->count(); ++i)
                fits = fits && metrics.horizontalAdvance(list->itemText(i)) <= room;
        } else if (const auto *frame = qobject_cast<const QGroupBox *>(c)) {
            fits = metrics.horizontalAdvance(frame->title()) + 8 <= frame->width();
        }
        if (!fits)
            faults << c->objectName();
    }
    return faults;
}

// The controls that Tab reaches from the first one, in order, back to it.
inline QList<QWidget *> tabChain(QWidget *first)
{
    QList<QWidget *> chain{first};
    for (QWidget *w = first->nextInFocusChain(); w && w != first; w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(first->window())
            && w->window() == first->window() && w != first->window())
            chain << w;
    }
    return chain;
}

inline QStringList objectNames(const QList<QWidget *> &widgets)
{
    QStringList names;
    for (const QWidget *w : widgets)
        names << w->objectName();
    return names;
}
}
