#pragma once
#include "platform/messageboxes.h"

// Modal QMessageBox dialogs, kept above any window of the program that stays on top.
class QtMessageBoxes : public MessageBoxes
{
public:
    Button ask(QWidget *parent, Icon icon, const QString &title, const QString &text,
               Buttons buttons, Button defaultButton) override;
    void tell(QWidget *parent, Icon icon, const QString &title, const QString &text) override;
};
