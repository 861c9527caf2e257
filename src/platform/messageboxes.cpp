#include "messageboxes.h"

QMessageBox::StandardButton QtMessageBoxes::ask(QWidget *parent, QMessageBox::Icon icon,
                                                const QString &title, const QString &text,
                                                QMessageBox::StandardButtons buttons,
                                                QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, title, text, buttons, parent);
    box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void QtMessageBoxes::tell(QWidget *parent, QMessageBox::Icon icon, const QString &title,
                          const QString &text)
{
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.exec();
}
