#include "platform/printingmodule.h"
#include "platform/qtprintdialog.h"

#include <QtGlobal>

// Named as PrintingModule::Factory says.
extern "C" Q_DECL_EXPORT PrintDialog *plumalin_make_print_dialog()
{
    return new QtPrintDialog;
}
