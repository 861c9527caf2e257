#pragma once
// The print dialog answered with a PDF file, or cancelled.
#include "platform/printdialog.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QStringList>

class FakePrintDialog : public PrintDialog
{
public:
    QString pdfPath;      // where the "printer" writes; empty: the person cancels
    QStringList titles;   // the title of each dialog shown
    QStringList documentNames;
    Result print(QWidget *, const QString &title, const QString &documentName,
                 const std::function<bool(QPagedPaintDevice &)> &paint) override
    {
        titles.append(title);
        documentNames.append(documentName);
        if (pdfPath.isEmpty())
            return Result::Cancelled;
        QPdfWriter pdf(pdfPath);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
        pdf.setResolution(300);
        return paint(pdf) ? Result::Printed : Result::Failed;
    }
};
