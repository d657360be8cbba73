// Template and control ids of the Time-lapse dialog, shared by
// res/dialogs_recording.rc and its procedure.
#pragma once

#define IDD_TIME_LAPSE 2020

#define IDC_TL_EVERY_LABEL 100
#define IDC_TL_COUNT_LABEL 101
#define IDC_TL_FOLDER_LABEL 102
#define IDC_TL_FORMAT_LABEL 103
#define IDC_TL_RATE_LABEL 104
#define IDC_TL_NUMBER 1001
#define IDC_TL_UNIT 1002
#define IDC_TL_COUNT 1003
#define IDC_TL_UNTIL_STOPPED 1004
#define IDC_TL_FOLDER 1005
#define IDC_TL_BROWSE 1006
#define IDC_TL_FORMAT 1007
#define IDC_TL_VIDEO 1008
#define IDC_TL_RATE 1009
#define IDC_TL_TAKEN 1010
#define IDC_TL_NEXT 1011
// Button 1 (IDOK) starts and stops the series; 2 (IDCANCEL) closes the
// dialog, and the series goes on.
