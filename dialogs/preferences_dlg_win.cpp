// The Preferences dialog: drawing style of the measurement items, and where
// and how snapshots and videos are saved.
#include "state/app_state.h"
#include "state/language.h"
#include "state/settings.h"
#include "base/commands.h"
#include "base/text.h"
#include "dialogs/dialog_common_win.h"
#include "dialogs/dialogs_win.h"
#include "dialogs/preferences.h"
#include "dialogs/preferences_ids.h"

enum { BROWSE_TITLE_TEXT = 1155 };

static const int kColorLists[] = {IDC_PREF_RULER_COLOR, IDC_PREF_LINE_COLOR, IDC_PREF_TEXT_COLOR};

static const DialogText kTexts[] = {
    {0, 1141},    {101, 1142}, {102, 1143}, {103, 1144}, {104, 1145}, {105, 1146}, {106, 1147},
    {107, 1148},  {108, 1149}, {109, 1150}, {110, 1151}, {IDOK, 1152}, {IDCANCEL, 1153},
    {IDC_PREF_SNAPSHOT_AS_SHOWN, 1156}, {IDC_PREF_ITEM_NUMBERS, 1157},
};

static int Selection(HWND dialog, int list)
{
    return (int)SendDlgItemMessageW(dialog, list, CB_GETCURSEL, 0, 0);
}

static void FillList(HWND dialog, int list, const wchar_t *const *items, int count, int selection)
{
    for (int i = 0; i < count; i++)
        SendDlgItemMessageW(dialog, list, CB_ADDSTRING, 0, (LPARAM)items[i]);
    SendDlgItemMessageW(dialog, list, CB_SETCURSEL, selection, 0);
}

static void FillColorList(HWND dialog, int list, uint32_t color)
{
    // The items carry no text that is ever shown: WM_DRAWITEM paints them.
    const wchar_t *items[PALETTE_SIZE];
    for (const wchar_t *&item : items)
        item = L"";
    FillList(dialog, list, items, PALETTE_SIZE, Preferences_ColorIndex(color));
}

static void OnInit(HWND dialog)
{
    Dialog_ApplyTexts(dialog, kTexts, (int)(sizeof kTexts / sizeof kTexts[0]));
    Dialog_Place(dialog, PLACE_BELOW_TOP);
    FillColorList(dialog, IDC_PREF_RULER_COLOR, gSettings.gridColor);
    FillColorList(dialog, IDC_PREF_LINE_COLOR, gSettings.lineColor);
    FillColorList(dialog, IDC_PREF_TEXT_COLOR, gSettings.textColor);

    CheckDlgButton(dialog, IDC_PREF_ITEM_NUMBERS, gSettings.itemNumbers ? BST_CHECKED : BST_UNCHECKED);

    static const wchar_t *const widths[] = {L" 1", L" 2"};
    FillList(dialog, IDC_PREF_LINE_WIDTH, widths, 2, gSettings.lineWidth - 1);
    for (int size = 8; size <= 24; size++) {
        wchar_t item[8];
        Text_Format(item, 8, L" %d", size);
        SendDlgItemMessageW(dialog, IDC_PREF_TEXT_SIZE, CB_ADDSTRING, 0, (LPARAM)item);
    }
    SendDlgItemMessageW(dialog, IDC_PREF_TEXT_SIZE, CB_SETCURSEL, gSettings.textSize - 8, 0);
    static const wchar_t *const images[] = {L" JPG", L" PNG", L" TIFF"};
    FillList(dialog, IDC_PREF_IMAGE_FORMAT, images, 3, gSettings.imageFormat);
    CheckDlgButton(dialog, IDC_PREF_SNAPSHOT_AS_SHOWN, gSettings.snapshotAsShown ? BST_CHECKED : BST_UNCHECKED);
    static const wchar_t *const videos[] = {L" WMV", L" MP4"};
    FillList(dialog, IDC_PREF_VIDEO_FORMAT, videos, 2, gSettings.videoFormat);

    SendDlgItemMessageW(dialog, IDC_PREF_FOLDER, EM_LIMITTEXT, IMAGE_FOLDER_CAPACITY - 1, 0);
    SetDlgItemTextW(dialog, IDC_PREF_FOLDER, gSettings.imageFolder);
}

static void DrawColorItem(const DRAWITEMSTRUCT *item)
{
    int index = (int)item->itemID;
    if (index < 0 || index >= PALETTE_SIZE)
        return;
    HBRUSH brush = CreateSolidBrush(Preferences_ColorAt(index));
    if (brush) {
        FillRect(item->hDC, &item->rcItem, brush);
        DeleteObject(brush);
    }
    FrameRect(item->hDC, &item->rcItem, (HBRUSH)GetStockObject(LTGRAY_BRUSH));
    if (item->itemState & ODS_FOCUS)
        DrawFocusRect(item->hDC, &item->rcItem);
}

static void Accept(HWND dialog)
{
    gSettings.gridColor = Preferences_ColorAt(Selection(dialog, IDC_PREF_RULER_COLOR));
    gSettings.lineColor = Preferences_ColorAt(Selection(dialog, IDC_PREF_LINE_COLOR));
    gSettings.textColor = Preferences_ColorAt(Selection(dialog, IDC_PREF_TEXT_COLOR));
    gSettings.lineWidth = Selection(dialog, IDC_PREF_LINE_WIDTH) + 1;
    gSettings.textSize = Selection(dialog, IDC_PREF_TEXT_SIZE) + 8;
    gSettings.imageFormat = Selection(dialog, IDC_PREF_IMAGE_FORMAT);
    gSettings.snapshotAsShown = IsDlgButtonChecked(dialog, IDC_PREF_SNAPSHOT_AS_SHOWN) == BST_CHECKED;
    gSettings.itemNumbers = IsDlgButtonChecked(dialog, IDC_PREF_ITEM_NUMBERS) == BST_CHECKED;
    gSettings.videoFormat = Selection(dialog, IDC_PREF_VIDEO_FORMAT);
    GetDlgItemTextW(dialog, IDC_PREF_FOLDER, gSettings.imageFolder, IMAGE_FOLDER_CAPACITY);
    Settings_Save();
    PostMessageW(gApp.mainWindow, WM_COMMAND, CMD_PREFERENCES_CHANGED, 0);
    EndDialog(dialog, IDOK);
}

static INT_PTR CALLBACK PreferencesDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInit(dialog);
        return TRUE;
    case WM_DRAWITEM:
        for (int list : kColorLists)
            if ((int)wParam == list) {
                DrawColorItem((const DRAWITEMSTRUCT *)lParam);
                return TRUE;
            }
        return FALSE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_PREF_BROWSE:
            Dialog_BrowseFolder(dialog, IDC_PREF_FOLDER, BROWSE_TITLE_TEXT);
            return TRUE;
        case IDOK:
            Accept(dialog);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

void PreferencesDlg_Show(HWND owner)
{
    DialogBoxParamW((HINSTANCE)gApp.instance, MAKEINTRESOURCEW(IDD_PREFERENCES), owner, PreferencesDlgProc, 0);
}
