#pragma once
#include <QtGlobal>
#include <QString>

// The program's modules: the parts that bring large libraries along or are seldom used (the
// summary window, the sound output's media libraries, printing), built as shared modules in a folder of the
// program's own and opened by absolute path when first needed, so that starting the program
// maps only what its main window uses. Each module exports one extern "C" factory.
//
// The folder is fixed relative to the program's own folder, built or installed
// (bin/ and lib/<triplet>/plumalin/ below the same prefix): never the current folder.
QString programModuleFolder();

// The function `symbol` of module `module` (the file lib<module>.so in the modules' folder),
// the module opened on first call and kept open; nullptr when it cannot be, with the reason in
// `why` (in French, for the teacher). Later calls give the same answer without trying again.
QFunctionPointer programModuleFunction(const QString &module, const char *symbol,
                                       QString *why = nullptr);
