#include "records/frmbilan.h"
#include "records/summarymodule.h"

// Named as SummaryModule::Factory says.
extern "C" Q_DECL_EXPORT QWidget *plumalin_make_summary_window(RecordWriter &records,
                                                               SettingsStore &settings, Clock &clock,
                                                               FileChooser &files,
                                                               MessageBoxes &messages,
                                                               PrintDialog &printing,
                                                               QWidget *parent)
{
    return new frmBilan(records, settings, clock, files, messages, printing, parent);
}
