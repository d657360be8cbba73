// Template and control ids of the input-text, report-title, about and how-to
// dialogs, shared by res/dialogs_small.rc and the dialog procedures.
#pragma once

#define IDD_TEXT_INPUT 2003
#define IDD_HOW_TO 2007
#define IDD_ABOUT 2008
#define IDD_REPORT_TITLE 2010

#define IDC_TEXT_INPUT_EDIT 3027
#define IDC_REPORT_TITLE_EDIT 1030
#define IDC_ABOUT_PRODUCT 1101
#define IDC_ABOUT_VERSION 1102
#define IDC_ABOUT_LICENCES 1103
#define IDC_HOW_TO_PICTURE 1104

// The third-party licence notices the About dialog shows (res/licences.txt).
#define IDR_LICENCES 2020
