#pragma once
#include <QMessageBox>
#include <QString>

class QWidget;

// The program's message boxes; tests answer them without a modal loop.
class MessageBoxes
{
public:
    virtual ~MessageBoxes() = default;
    virtual QMessageBox::StandardButton ask(QWidget *parent, QMessageBox::Icon icon,
                                            const QString &title, const QString &text,
                                            QMessageBox::StandardButtons buttons,
                                            QMessageBox::StandardButton defaultButton) = 0;
    virtual void tell(QWidget *parent, QMessageBox::Icon icon, const QString &title,
                      const QString &text) = 0;
};

// Modal QMessageBox dialogs.
class QtMessageBoxes : public MessageBoxes
{
public:
    QMessageBox::StandardButton ask(QWidget *parent, QMessageBox::Icon icon, const QString &title,
                                    const QString &text, QMessageBox::StandardButtons buttons,
                                    QMessageBox::StandardButton defaultButton) override;
    void tell(QWidget *parent, QMessageBox::Icon icon, const QString &title,
              const QString &text) override;
};
