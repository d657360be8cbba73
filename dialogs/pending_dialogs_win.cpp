// Dialogs that are not built yet. The main window routes its
// commands here already; each does nothing until its dialog exists.
#include "dialogs/dialogs_win.h"

void RecordingDlg_Show(HWND) {}
