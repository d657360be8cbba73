// The Calibration dialog (2005): modeless beside the camera view, which shows
// the calibration line while it is open; stores the measured slot.
#include "dialogs/dialogs_win.h"

#include "state/app_state.h"
#include "state/calibrations.h"
#include "state/language.h"
#include "base/commands.h"
#include "base/text.h"
#include "capture/camera_state.h"
#include "dialogs/calibration_ids.h"
#include "dialogs/calibration_table.h"
#include "dialogs/dialog_common_win.h"
#include "view/view_state.h"

static const DialogText kTexts[] = {
    {0, 1241}, {IDC_CALIBRATION_HINT1, 1242}, {IDC_CALIBRATION_HINT2, 1243},
    {IDC_CALIBRATION_UNIT_LABEL, 1244}, {IDOK, 1247}, {IDCANCEL, 1248}, {IDC_CALIBRATION_HELP, 1249},
};

static int ChosenUnit(HWND dialog)
{
    return SendDlgItemMessageW(dialog, IDC_CALIBRATION_UNIT, CB_GETCURSEL, 0, 0) > 0 ? 1 : 0;
}

static void ShowUnit(HWND dialog)
{
    SetDlgItemTextW(dialog, IDC_CALIBRATION_UNIT_SHOWN, Unit_Name(ChosenUnit(dialog)));
}

static void Init(HWND dialog)
{
    Dialog_ApplyTexts(dialog, kTexts, ARRAYSIZE(kTexts));
    Dialog_Place(dialog, PLACE_BELOW_TOP);
    int slot = gCalibrationDialogs.calibratingSlot;
    const Calibration &c = gCalibrations[slot];
    wchar_t caption[96];
    Text_Format(caption, ARRAYSIZE(caption), L"Calibrate - ID:%d Name:%ls", slot + 1, c.name);
    SetWindowTextW(dialog, caption);
    HWND units = GetDlgItem(dialog, IDC_CALIBRATION_UNIT);
    SendMessageW(units, CB_ADDSTRING, 0, (LPARAM)Language_Text(2000));
    SendMessageW(units, CB_ADDSTRING, 0, (LPARAM)Language_Text(2001));
    SendMessageW(units, CB_SETCURSEL, c.unit == 0 ? 0 : 1, 0);
    ShowUnit(dialog);
    SendDlgItemMessageW(dialog, IDC_CALIBRATION_LENGTH, EM_LIMITTEXT, LENGTH_TEXT_CAPACITY - 1, 0);
}

// Cancel, the close box and a stored calibration: the view leaves calibration
// mode and the table opens again with the measured row selected. (When the
// camera goes away the main window destroys the dialog without this.)
static void Close(HWND dialog)
{
    DestroyWindow(dialog);
    gApp.calibrationDialog = nullptr;
    gView.calibLength = 0;
    SendMessageW(gApp.mainWindow, WM_STATUS_REFRESH, 0, 0);
    MainWnd_PostCommand(CMD_CONFIG_CALIBRATIONS);
}

// Says in the line under the field why the typed length is refused; text
// 0 empties the line.
static void ShowRefusal(HWND dialog, int textId)
{
    SetDlgItemTextW(dialog, IDC_CALIBRATION_REFUSAL, textId ? Language_Text(textId) : L"");
}

// A length that cannot be stored is refused with its reason, and the field
// takes the focus with its text selected (WM_NEXTDLGCTL selects an edit's
// text), to be typed over.
static void Store(HWND dialog)
{
    wchar_t text[LENGTH_TEXT_CAPACITY] = L"";
    GetDlgItemTextW(dialog, IDC_CALIBRATION_LENGTH, text, LENGTH_TEXT_CAPACITY);
    float length = 0;
    LengthVerdict verdict = CalibrationLength_Read(text, gView.calibLength, &length);
    if (verdict != LENGTH_READ) {
        ShowRefusal(dialog, CalibrationLength_RefusalText(verdict));
        SendMessageW(dialog, WM_NEXTDLGCTL, (WPARAM)GetDlgItem(dialog, IDC_CALIBRATION_LENGTH), TRUE);
        return;
    }
    if (!Calibration_Store(gCalibrationDialogs.calibratingSlot, ChosenUnit(dialog), gView.calibLength, length,
                           gCamera.currentFormat.width, gCamera.currentFormat.height))
        return;
    Close(dialog);
}

// The refusal in a colour that stands out from the dialog's texts.
static INT_PTR RefusalColours(HWND control, HDC dc)
{
    if (GetDlgCtrlID(control) != IDC_CALIBRATION_REFUSAL)
        return FALSE;
    SetTextColor(dc, RGB(192, 0, 0));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return (INT_PTR)GetSysColorBrush(COLOR_BTNFACE);
}

static INT_PTR CALLBACK CalibrationDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        Init(dialog);
        return TRUE;
    }
    if (message == WM_CTLCOLORSTATIC)
        return RefusalColours((HWND)lParam, (HDC)wParam);
    if (message != WM_COMMAND)
        return FALSE;
    switch (LOWORD(wParam)) {
    case IDC_CALIBRATION_UNIT:
        if (HIWORD(wParam) == CBN_SELCHANGE)
            ShowUnit(dialog);
        break;
    case IDC_CALIBRATION_LENGTH:
        if (HIWORD(wParam) == EN_CHANGE)
            ShowRefusal(dialog, 0); // told once; typing again takes it away
        break;
    case IDOK:
        Store(dialog);
        break;
    case IDCANCEL:
        Close(dialog);
        break;
    case IDC_CALIBRATION_HELP:
        HowToDlg_Show(gApp.mainWindow);
        break;
    }
    return TRUE;
}

HWND CalibrationDlg_Create(HWND owner)
{
    int slot = gCalibrationDialogs.calibratingSlot;
    if (slot < 0 || slot >= CALIBRATION_SLOTS)
        return nullptr;
    return CreateDialogParamW((HINSTANCE)gApp.instance, MAKEINTRESOURCEW(IDD_CALIBRATION), owner,
                              CalibrationDialogProc, 0);
}
