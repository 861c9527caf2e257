#include "qtprintdialog.h"

#include "stayabove.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>

PrintDialog::Result QtPrintDialog::print(QWidget *parent, const QString &title,
                                         const QString &documentName,
                                         const std::function<bool(QPagedPaintDevice &)> &paint)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
    printer.setDocName(documentName);
    printer.setCreator(QStringLiteral("Plumalin"));
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(title);
    stayAboveOurTopWindows(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return Result::Cancelled;
    return paint(printer) ? Result::Printed : Result::Failed;
}
