// "Title of report": edits the title printed on the reports.
#include "state/app_state.h"
#include "state/settings.h"
#include "dialogs/dialog_common_win.h"
#include "dialogs/dialogs_win.h"
#include "dialogs/small_dialog_ids.h"

// The reports have room for 39 characters of title (and the terminator).
enum { TITLE_READ_CAPACITY = 40 };

static const DialogText kReportTitleTexts[] = {{0, 1291}, {IDOK, 1292}, {IDCANCEL, 1293}};

static INT_PTR CALLBACK ReportTitleDlg_Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        Dialog_ApplyTexts(dialog, kReportTitleTexts, ARRAYSIZE(kReportTitleTexts));
        Dialog_Place(dialog, PLACE_CENTRED);
        SetDlgItemTextW(dialog, IDC_REPORT_TITLE_EDIT, gSettings.reportTitle);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            GetDlgItemTextW(dialog, IDC_REPORT_TITLE_EDIT, gSettings.reportTitle, TITLE_READ_CAPACITY);
            Settings_Save();
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

void ReportTitleDlg_Show(HWND owner)
{
    DialogBoxParamW((HINSTANCE)gApp.instance, MAKEINTRESOURCEW(IDD_REPORT_TITLE), owner, ReportTitleDlg_Proc, 0);
}
