#include "qtmessageboxes.h"

#include "stayabove.h"

#include <QMessageBox>

#include <array>
#include <utility>

namespace {
constexpr std::array<std::pair<MessageBoxes::Button, QMessageBox::StandardButton>, 4> Buttons{{
    {MessageBoxes::Ok, QMessageBox::Ok},
    {MessageBoxes::Yes, QMessageBox::Yes},
    {MessageBoxes::No, QMessageBox::No},
    {MessageBoxes::Cancel, QMessageBox::Cancel},
}};

QMessageBox::StandardButton toQt(MessageBoxes::Button button)
{
    for (const auto &[ours, qt] : Buttons)
        if (ours == button)
            return qt;
    return QMessageBox::NoButton;
}

QMessageBox::Icon toQt(MessageBoxes::Icon icon)
{
    switch (icon) {
    case MessageBoxes::Information:
        return QMessageBox::Information;
    case MessageBoxes::Warning:
        return QMessageBox::Warning;
    case MessageBoxes::Critical:
        return QMessageBox::Critical;
    case MessageBoxes::Question:
        return QMessageBox::Question;
    case MessageBoxes::NoIcon:
        break;
    }
    return QMessageBox::NoIcon;
}

MessageBoxes::Button run(QWidget *parent, MessageBoxes::Icon icon, const QString &title,
                         const QString &text, MessageBoxes::Buttons buttons,
                         MessageBoxes::Button defaultButton)
{
    QMessageBox::StandardButtons qtButtons;
    for (const auto &[ours, qt] : Buttons)
        if (buttons.testFlag(ours))
            qtButtons |= qt;
    QMessageBox box(toQt(icon), title, text, qtButtons, parent);
    box.setDefaultButton(toQt(defaultButton));
    stayAboveOurTopWindows(box);
    const int chosen = box.exec();
    for (const auto &[ours, qt] : Buttons)
        if (qt == chosen)
            return ours;
    return defaultButton;
}
}

MessageBoxes::Button QtMessageBoxes::ask(QWidget *parent, Icon icon, const QString &title,
                                         const QString &text, Buttons buttons,
                                         Button defaultButton)
{
    return run(parent, icon, title, text, buttons, defaultButton);
}

void QtMessageBoxes::tell(QWidget *parent, Icon icon, const QString &title, const QString &text)
{
    run(parent, icon, title, text, Ok, Ok);
}
