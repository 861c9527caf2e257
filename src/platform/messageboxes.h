#pragma once
#include <QObject>
#include <QString>

class QWidget;

// The program's message boxes; tests answer them without a modal loop. Icons and buttons are
// the program's own names, so that the logic asking a question needs no widget library.
class MessageBoxes
{
    Q_GADGET
public:
    enum Icon { NoIcon, Information, Warning, Critical, Question };
    Q_ENUM(Icon)
    enum Button { NoButton = 0x0, Ok = 0x1, Yes = 0x2, No = 0x4, Cancel = 0x8 };
    Q_DECLARE_FLAGS(Buttons, Button)
    Q_FLAG(Buttons)

    virtual ~MessageBoxes() = default;
    // The button the person chose; the default button when the box is closed otherwise.
    virtual Button ask(QWidget *parent, Icon icon, const QString &title, const QString &text,
                       Buttons buttons, Button defaultButton) = 0;
    virtual void tell(QWidget *parent, Icon icon, const QString &title, const QString &text) = 0;
};
Q_DECLARE_OPERATORS_FOR_FLAGS(MessageBoxes::Buttons)
