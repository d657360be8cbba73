// "Input text": the modeless dialog in which the text of a text item is
// typed while the camera view shows it live.
#include "state/app_state.h"
#include "base/commands.h"
#include "dialogs/dialog_common_win.h"
#include "dialogs/dialogs_win.h"
#include "dialogs/small_dialog_ids.h"
#include "view/view_state.h"

static const DialogText kTextInputTexts[] = {{0, 1221}, {IDOK, 1223}, {IDCANCEL, 1224}};

static void TellView(const char *what)
{
    SendMessageW(gApp.cameraView, WM_COMMAND, CMD_VIEW_TEXT_ITEM, (LPARAM)what);
}

// The view draws newItem's text from its own record, so each change of the
// edit goes straight there (255 characters and the terminator at most).
static void CopyTextToView(HWND dialog)
{
    GetDlgItemTextW(dialog, IDC_TEXT_INPUT_EDIT, gView.newItem.text, ITEM_TEXT_CAPACITY);
    InvalidateRect(gApp.cameraView, nullptr, FALSE);
}

static void Finish(HWND dialog, const char *what)
{
    TellView(what);
    PostMessageW(gApp.mainWindow, WM_COMMAND, CMD_TEXT_TOOL_ENDED, 0);
    DestroyWindow(dialog);
}

static INT_PTR CALLBACK TextInputDlg_Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        Dialog_ApplyTexts(dialog, kTextInputTexts, ARRAYSIZE(kTextInputTexts));
        Dialog_Place(dialog, PLACE_BELOW_TOP, gApp.mainWindow);
        SendDlgItemMessageW(dialog, IDC_TEXT_INPUT_EDIT, EM_SETLIMITTEXT, ITEM_TEXT_CAPACITY, 0);
        TellView("Init");
        // A text item being changed brings its text.
        SetDlgItemTextW(dialog, IDC_TEXT_INPUT_EDIT, gView.newItem.text);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_TEXT_INPUT_EDIT:
            if (HIWORD(wParam) == EN_CHANGE)
                CopyTextToView(dialog);
            return TRUE;
        case IDOK:
            Finish(dialog, "OK");
            return TRUE;
        case IDCANCEL: // also the close box and Escape
            Finish(dialog, "Cancel");
            return TRUE;
        }
        break;
    case WM_DESTROY:
        // However the dialog ends (its buttons, a lost camera, the main
        // window closing), the main loop stops routing messages to it.
        if (gApp.textInputDialog == dialog)
            gApp.textInputDialog = nullptr;
        return TRUE;
    }
    return FALSE;
}

HWND TextInputDlg_Create(HWND owner)
{
    return CreateDialogParamW((HINSTANCE)gApp.instance, MAKEINTRESOURCEW(IDD_TEXT_INPUT), owner,
                              TextInputDlg_Proc, 0);
}
