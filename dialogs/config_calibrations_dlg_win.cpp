// The calibration table (dialog 2004) and the name editor it opens (2006).
#include "dialogs/dialogs_win.h"

#include "state/app_state.h"
#include "state/calibrations.h"
#include "state/language.h"
#include "base/dpi_win.h"
#include "capture/camera_graph.h"
#include "dialogs/calibration_ids.h"
#include "dialogs/calibration_table.h"
#include "dialogs/dialog_common_win.h"

#include <commctrl.h>

enum { BUTTON_APPLY = 6 };

static const DialogText kTableTexts[] = {
    {0, 1251}, {IDC_CALIBRATION_EDIT, 1252}, {IDC_CALIBRATION_DELETE, 1253},
    {IDC_CALIBRATION_CALIBRATE, 1254}, {BUTTON_APPLY, 1255}, {IDCANCEL, 1256},
};
static const DialogText kNameTexts[] = {
    {0, 1231}, {IDC_CALIBRATION_NAME_LABEL, 1232}, {IDOK, 1233}, {IDCANCEL, 1234},
};

static INT_PTR CALLBACK NameDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    static int editSlot;
    switch (message) {
    case WM_INITDIALOG:
        Dialog_ApplyTexts(dialog, kNameTexts, ARRAYSIZE(kNameTexts));
        Dialog_Place(dialog, PLACE_NEAR_TOP);
        editSlot = (int)lParam;
        SendDlgItemMessageW(dialog, IDC_CALIBRATION_NAME, EM_LIMITTEXT, CALIBRATION_NAME_CAPACITY - 2, 0);
        SetDlgItemTextW(dialog, IDC_CALIBRATION_NAME, gCalibrations[editSlot].name);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            wchar_t name[CALIBRATION_NAME_CAPACITY] = L"";
            GetDlgItemTextW(dialog, IDC_CALIBRATION_NAME, name, CALIBRATION_NAME_CAPACITY);
            Calibration_Rename(editSlot, name);
            EndDialog(dialog, IDOK);
        } else if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
        }
        return TRUE;
    }
    return FALSE;
}

static HWND Table(HWND dialog)
{
    return GetDlgItem(dialog, IDC_CALIBRATION_TABLE);
}

static int SelectedSlot(HWND dialog)
{
    return (int)SendMessageW(Table(dialog), LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
}

static void ShowRow(HWND table, int slot)
{
    for (int column = 0; column < CALIBRATION_COLUMNS; column++) {
        wchar_t cell[64];
        CalibrationTable_Cell(slot, gCalibrations[slot], column, cell, ARRAYSIZE(cell));
        LVITEMW item = {};
        item.iSubItem = column;
        item.pszText = cell;
        SendMessageW(table, LVM_SETITEMTEXTW, slot, (LPARAM)&item);
    }
}

static void InsertColumn(HWND table, int index, const wchar_t *title, int width, CellAlignment alignment)
{
    static const int kFormats[] = {LVCFMT_LEFT, LVCFMT_RIGHT, LVCFMT_CENTER};
    LVCOLUMNW column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    column.fmt = kFormats[alignment];
    column.cx = Dpi_Scale(width);
    column.pszText = const_cast<wchar_t *>(title);
    SendMessageW(table, LVM_INSERTCOLUMNW, index, (LPARAM)&column);
}

static void BuildTable(HWND table)
{
    SendMessageW(table, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    // A list view always aligns its first column left: a provisional first
    // column, deleted once the others exist, lets the ID column be centred.
    InsertColumn(table, 0, L"TMP", 48, CELL_CENTRED);
    for (int i = 0; i < CALIBRATION_COLUMNS; i++) {
        const CalibrationColumn &c = kCalibrationColumns[i];
        InsertColumn(table, i + 1, Language_Text(c.titleTextId), c.width, c.alignment);
    }
    SendMessageW(table, LVM_DELETECOLUMN, 0, 0);
    for (int slot = 0; slot < CALIBRATION_SLOTS; slot++) {
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = slot;
        item.pszText = const_cast<wchar_t *>(L"");
        SendMessageW(table, LVM_INSERTITEMW, 0, (LPARAM)&item);
        ShowRow(table, slot);
    }
}

static void InitTableDialog(HWND dialog)
{
    Dialog_ApplyTexts(dialog, kTableTexts, ARRAYSIZE(kTableTexts));
    if (gCalibrationDialogs.configDialogPos.x == -1 && gCalibrationDialogs.configDialogPos.y == -1)
        Dialog_Place(dialog, PLACE_BELOW_TOP);
    else
        Dialog_PlaceAt(dialog, gCalibrationDialogs.configDialogPos);
    HWND table = Table(dialog);
    BuildTable(table);
    int slot = gCalibrationDialogs.calibratingSlot;
    if (slot >= 0 && slot < CALIBRATION_SLOTS) {
        UINT state = LVIS_SELECTED | LVIS_FOCUSED;
        LVITEMW item = {};
        item.stateMask = state;
        item.state = state;
        SendMessageW(table, LVM_SETITEMSTATE, slot, (LPARAM)&item);
        SendMessageW(table, LVM_ENSUREVISIBLE, slot, FALSE);
    }
    SetFocus(table);
    if (!Camera_IsOpen()) {
        EnableWindow(GetDlgItem(dialog, BUTTON_APPLY), FALSE);
        EnableWindow(GetDlgItem(dialog, IDC_CALIBRATION_CALIBRATE), FALSE);
    }
}

static void DeleteSlot(HWND dialog, int slot)
{
    int answer = MessageBoxW(dialog, Language_Text(1265), Language_Text(1266),
                             MB_YESNO | MB_ICONINFORMATION | MB_DEFBUTTON2);
    if (answer != IDYES)
        return;
    Calibration_Delete(slot);
    ShowRow(Table(dialog), slot);
}

static void EndTableDialog(HWND dialog, int button)
{
    if (button != IDC_CALIBRATION_CALIBRATE)
        gCalibrationDialogs.configDialogPos = {-1, -1};
    EndDialog(dialog, button);
}

static void OnTableCommand(HWND dialog, int command)
{
    int slot = SelectedSlot(dialog);
    bool selected = slot >= 0 && slot < CALIBRATION_SLOTS;
    switch (command) {
    case IDC_CALIBRATION_EDIT:
        if (selected &&
            DialogBoxParamW((HINSTANCE)gApp.instance, MAKEINTRESOURCEW(IDD_CALIBRATION_NAME), dialog,
                            NameDialogProc, slot) == IDOK)
            ShowRow(Table(dialog), slot);
        break;
    case IDC_CALIBRATION_DELETE:
        if (selected)
            DeleteSlot(dialog, slot);
        break;
    case BUTTON_APPLY:
        if (selected)
            Calibration_Apply(slot);
        EndTableDialog(dialog, BUTTON_APPLY);
        break;
    case IDC_CALIBRATION_CALIBRATE:
        if (selected) {
            RECT r;
            GetWindowRect(dialog, &r);
            gCalibrationDialogs.configDialogPos = {r.left, r.top};
            gCalibrationDialogs.calibratingSlot = slot;
            EndTableDialog(dialog, IDC_CALIBRATION_CALIBRATE);
        }
        break;
    case IDCANCEL:
        EndTableDialog(dialog, IDCANCEL);
        break;
    }
}

static INT_PTR CALLBACK TableDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        InitTableDialog(dialog);
        return FALSE; // the focus is on the table
    case WM_NOTIFY: {
        const NMITEMACTIVATE *activate = (const NMITEMACTIVATE *)lParam;
        if (activate->hdr.idFrom == IDC_CALIBRATION_TABLE && activate->hdr.code == NM_DBLCLK &&
            activate->iItem >= 0 && activate->iItem < CALIBRATION_SLOTS)
            PostMessageW(dialog, WM_COMMAND, IDC_CALIBRATION_EDIT, 0);
        return FALSE;
    }
    case WM_COMMAND:
        OnTableCommand(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

int ConfigCalibrationsDlg_Show(HWND owner)
{
    INT_PTR result = DialogBoxParamW((HINSTANCE)gApp.instance, MAKEINTRESOURCEW(IDD_CONFIG_CALIBRATIONS), owner,
                                     TableDialogProc, 0);
    return result == -1 ? IDCANCEL : (int)result;
}
