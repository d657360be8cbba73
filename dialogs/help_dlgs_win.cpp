// The Help dialogs: "About" (product, version and the third-party notices)
// and "How to measure with microscope" (shown once at the first start, and
// from the calibration's Help button; a picture of the calibration between
// its steps). Both end with the id of the button that closed them: 1 for
// OK, 2 for the close box or Escape.
#include "state/app_state.h"
#include "state/settings.h"
#include "dialogs/dialog_common_win.h"
#include "dialogs/dialogs_win.h"
#include "dialogs/how_to_picture_win.h"
#include "dialogs/small_dialog_ids.h"

#include <string>

// A string of the program's version resource, the one place that holds the
// product's name and version; empty when it cannot be read.
static std::wstring VersionString(const wchar_t *name)
{
    wchar_t path[MAX_PATH];
    if (!GetModuleFileNameW((HMODULE)gApp.instance, path, MAX_PATH))
        return L"";
    DWORD size = GetFileVersionInfoSizeW(path, nullptr);
    if (size == 0)
        return L"";
    std::wstring block(size / sizeof(wchar_t) + 1, L'\0');
    if (!GetFileVersionInfoW(path, 0, size, block.data()))
        return L"";
    std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    wchar_t *value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), query.c_str(), (void **)&value, &length) || !value)
        return L"";
    return value;
}

// The notices (res/licences.txt, plain ASCII with LF line ends) as the
// multi-line edit shows them: CR LF line ends.
static std::wstring LicenceText()
{
    HINSTANCE instance = (HINSTANCE)gApp.instance;
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(IDR_LICENCES), RT_RCDATA);
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    const char *bytes = loaded ? (const char *)LockResource(loaded) : nullptr;
    if (!bytes)
        return L"";
    DWORD size = SizeofResource(instance, found);
    std::wstring text;
    text.reserve(size + size / 32);
    for (DWORD i = 0; i < size; i++) {
        if (bytes[i] == '\n')
            text += L'\r';
        text += (wchar_t)(unsigned char)bytes[i];
    }
    return text;
}

static void AboutDlg_Init(HWND dialog)
{
    SetDlgItemTextW(dialog, IDC_ABOUT_PRODUCT, VersionString(L"ProductName").c_str());
    SetDlgItemTextW(dialog, IDC_ABOUT_VERSION, (L"Version " + VersionString(L"ProductVersion")).c_str());
    SetDlgItemTextW(dialog, IDC_ABOUT_LICENCES, LicenceText().c_str());
}

// Showing the instructions once is enough: a first start shows them no more.
static void HowToDlg_Init(HWND)
{
    gSettings.firstUse = 0;
    Settings_Save();
}

static INT_PTR CALLBACK HelpDlg_Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        Dialog_Place(dialog, PLACE_BELOW_TOP);
        ((void (*)(HWND))lParam)(dialog);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        break;
    case WM_DRAWITEM:
        if (wParam == IDC_HOW_TO_PICTURE) {
            HowToPicture_Draw((const DRAWITEMSTRUCT *)lParam);
            return TRUE;
        }
        break;
    case WM_DESTROY:
        HowToPicture_Free();
        break;
    }
    return FALSE;
}

static void HelpDlg_Show(HWND owner, int id, void (*init)(HWND))
{
    DialogBoxParamW((HINSTANCE)gApp.instance, MAKEINTRESOURCEW(id), owner, HelpDlg_Proc,
                    (LPARAM)init);
}

void AboutDlg_Show(HWND owner)
{
    HelpDlg_Show(owner, IDD_ABOUT, AboutDlg_Init);
}

void HowToDlg_Show(HWND owner)
{
    HelpDlg_Show(owner, IDD_HOW_TO, HowToDlg_Init);
}
