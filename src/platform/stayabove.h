#pragma once

class QWidget;

// A dialog of the program opens above every window of the program that is kept on top (the
// journal with "premier plan" ticked): otherwise it would open hidden under it, and the
// program would seem frozen. Call before showing the dialog.
void stayAboveOurTopWindows(QWidget &dialog);
