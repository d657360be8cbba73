#include "dialogs/dialog_common_win.h"

#include "state/language.h"
#include "state/settings.h"

#include <shlobj.h>

static Rect ScreenRect(HWND window)
{
    RECT r = {};
    GetWindowRect(window, &r);
    return {r.left, r.top, r.right, r.bottom};
}

void Dialog_PlaceAt(HWND dialog, Point origin)
{
    SetWindowPos(dialog, nullptr, origin.x, origin.y, 0, 0, SWP_NOZORDER | SWP_NOSIZE);
}

void Dialog_Place(HWND dialog, DialogPlace place, HWND reference)
{
    if (!reference)
        reference = GetParent(dialog);
    if (!reference)
        return;
    Rect self = ScreenRect(dialog);
    Dialog_PlaceAt(dialog, Placement_Origin(place, ScreenRect(reference), self.right - self.left,
                                            self.bottom - self.top));
}

void Dialog_SetTexts(HWND dialog, const DialogText *texts, int count)
{
    for (int i = 0; i < count; i++) {
        HWND target = texts[i].control ? GetDlgItem(dialog, texts[i].control) : dialog;
        if (target)
            SetWindowTextW(target, Language_Text(texts[i].textId));
    }
}

void Dialog_ApplyTexts(HWND dialog, const DialogText *texts, int count)
{
    if (gSettings.language != 0)
        Dialog_SetTexts(dialog, texts, count);
}

void Dialog_BrowseFolder(HWND dialog, int edit, int titleText)
{
    wchar_t displayName[MAX_PATH] = L"";
    BROWSEINFOW info = {};
    info.hwndOwner = dialog;
    info.pszDisplayName = displayName;
    info.lpszTitle = Language_Text(titleText);
    // Not BIF_BROWSEFORCOMPUTER: with it only computers could be chosen, never a folder.
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    LPITEMIDLIST chosen = SHBrowseForFolderW(&info);
    if (!chosen)
        return;
    wchar_t path[MAX_PATH] = L"";
    if (SHGetPathFromIDListW(chosen, path))
        SetDlgItemTextW(dialog, edit, path);
    CoTaskMemFree(chosen);
}
