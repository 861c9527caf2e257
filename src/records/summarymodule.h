#pragma once

class Clock;
class FileChooser;
class MessageBoxes;
class PrintDialog;
class QWidget;
class RecordWriter;
class SettingsStore;

// The summary window's module (libplumalin_summary.so), opened at the first "Bilan des élèves":
// its one factory makes the window, owned by `parent`.
namespace SummaryModule {
inline constexpr char Name[] = "plumalin_summary";
inline constexpr char Factory[] = "plumalin_make_summary_window";
using MakeSummaryWindow = QWidget *(*)(RecordWriter &records, SettingsStore &settings,
                                       Clock &clock, FileChooser &files,
                                       MessageBoxes &messages, PrintDialog &printing,
                                       QWidget *parent);
}
