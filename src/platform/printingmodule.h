#pragma once
#include "platform/printdialog.h"

#include <memory>

// The print dialog's module (libplumalin_printing.so), which brings Qt Print Support along:
// its one factory makes the program's print dialog, which the caller owns.
namespace PrintingModule {
inline constexpr char Name[] = "plumalin_printing";
inline constexpr char Factory[] = "plumalin_make_print_dialog";
using MakePrintDialog = PrintDialog *(*)();
}

// The print dialog opened from the module at the first printing. Without its module nothing
// is printed and the caller is told it failed.
class ModulePrintDialog : public PrintDialog
{
public:
    Result print(QWidget *parent, const QString &title, const QString &documentName,
                 const std::function<bool(QPagedPaintDevice &)> &paint) override;

private:
    std::unique_ptr<PrintDialog> m_dialog;
};
