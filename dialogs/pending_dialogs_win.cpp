// Dialogs and reports that are not built yet. The main window routes its
// commands here already; each does nothing until its dialog exists.
#include "dialogs/dialogs_win.h"
#include "reports/reports_win.h"

void Report_SaveXlsx() {}
void Report_SaveRtf() {}
