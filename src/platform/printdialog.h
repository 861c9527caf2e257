#pragma once
#include <QString>

#include <functional>

class QPagedPaintDevice;
class QWidget;

// The platform's print dialog (a printer, or a PDF file); tests answer it with a PDF of their
// own or a cancel.
class PrintDialog
{
public:
    enum class Result { Printed, Cancelled, Failed };
    virtual ~PrintDialog() = default;
    // Asks, in a dialog called `title`, where and how to print an A4 document named
    // `documentName` (the name a PDF file is offered), then has `paint` draw every page on the
    // device chosen (nothing is painted on a cancel). Failed when `paint` returns false.
    virtual Result print(QWidget *parent, const QString &title, const QString &documentName,
                         const std::function<bool(QPagedPaintDevice &)> &paint) = 0;
};
