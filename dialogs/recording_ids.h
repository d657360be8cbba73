// Template and control ids of the Recording dialog, shared by
// res/dialogs_recording.rc and its procedure.
#pragma once

#define IDD_RECORDING 2002

#define IDC_RECORD_ELAPSED 3003
#define IDC_RECORD_LIMIT_LABEL 100
#define IDC_RECORD_SPLIT_LABEL 101
#define IDC_RECORD_LIMIT 1005
#define IDC_RECORD_SPLIT 1006
#define IDC_RECORD_SNAPSHOT 1007
// Button 1 (IDOK) starts and stops; command 4 splits, posted by the timer.
#define IDC_RECORD_SPLIT_NOW 4
