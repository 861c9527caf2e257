#include "platform/printingmodule.h"

#include "platform/programmodule.h"

#include <QString>

PrintDialog::Result ModulePrintDialog::print(QWidget *parent, const QString &title,
                                             const QString &documentName,
                                             const std::function<bool(QPagedPaintDevice &)> &paint)
{
    if (!m_dialog) {
        const auto make = reinterpret_cast<PrintingModule::MakePrintDialog>(
            programModuleFunction(QLatin1String(PrintingModule::Name), PrintingModule::Factory));
        if (!make)
            return Result::Failed;
        m_dialog.reset(make());
    }
    return m_dialog->print(parent, title, documentName, paint);
}
