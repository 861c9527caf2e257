#pragma once
#include "platform/printdialog.h"

// Qt's print dialog on an A4 printer; it offers a PDF file among the printers.
class QtPrintDialog : public PrintDialog
{
public:
    Result print(QWidget *parent, const QString &title, const QString &documentName,
                 const std::function<bool(QPagedPaintDevice &)> &paint) override;
};
