#include "app/toolbar_win.h"

#include "state/app_state.h"
#include "state/language.h"
#include "view/view_state.h"
#include "base/text.h"
#include "app/mainwnd_logic.h"
#include "app/mainwnd_win.h"
#include "app/toolbar_table.h"
#include "base/commands.h"
#include "base/dpi_win.h"
#include "view/view_source.h"

#include <commctrl.h>

enum { TOOLBAR_ID = 100, ICON_SIZE_AT_96_DPI = 24 };

// The icons at the screen's DPI: each icon holds images for the usual scales,
// and LoadImageW picks the nearest one to the size asked for.
static HIMAGELIST BuildImageList(HINSTANCE instance, int iconSize)
{
    HIMAGELIST images = ImageList_Create(iconSize, iconSize, ILC_COLOR32 | ILC_MASK, TOOLBAR_IMAGES, 0);
    for (int image = 0; image < TOOLBAR_IMAGES; image++) {
        for (const ToolbarEntry &entry : kToolbar) {
            if (entry.kind == TB_SEPARATOR || entry.image != image)
                continue;
            auto icon = (HICON)LoadImageW(instance, MAKEINTRESOURCEW(entry.icon), IMAGE_ICON, iconSize,
                                            iconSize, 0);
            ImageList_AddIcon(images, icon);
            if (icon)
                DestroyIcon(icon);
        }
    }
    return images;
}

static BYTE ButtonStyle(ToolbarKind kind)
{
    switch (kind) {
    case TB_SEPARATOR: return BTNS_SEP;
    case TB_CHECK: return BTNS_CHECK | BTNS_AUTOSIZE;
    case TB_GROUP: return BTNS_CHECKGROUP | BTNS_AUTOSIZE;
    case TB_BUTTON: break;
    }
    return BTNS_BUTTON | BTNS_AUTOSIZE;
}

HWND Toolbar_Create(HWND parent, HINSTANCE instance)
{
    HWND toolbar = CreateWindowExW(WS_EX_TOOLWINDOW, TOOLBARCLASSNAMEW, nullptr,
                                   WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_TOOLTIPS |
                                       TBSTYLE_FLAT | TBSTYLE_LIST | TBSTYLE_WRAPABLE,
                                   0, 0, 0, 0, parent, (HMENU)(INT_PTR)TOOLBAR_ID, instance, nullptr);
    if (!toolbar)
        return nullptr;
    SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    int iconSize = Dpi_Scale(ICON_SIZE_AT_96_DPI);
    SendMessageW(toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(iconSize, iconSize));
    SendMessageW(toolbar, TB_SETIMAGELIST, 0, (LPARAM)BuildImageList(instance, iconSize));

    TBBUTTON buttons[TOOLBAR_POSITIONS] = {};
    for (int i = 0; i < TOOLBAR_POSITIONS; i++) {
        const ToolbarEntry &entry = kToolbar[i];
        buttons[i].iBitmap = entry.kind == TB_SEPARATOR ? 0 : entry.image;
        buttons[i].idCommand = entry.command;
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = ButtonStyle(entry.kind);
        buttons[i].iString = -1;
    }
    SendMessageW(toolbar, TB_ADDBUTTONS, TOOLBAR_POSITIONS, (LPARAM)buttons);
    SendMessageW(toolbar, TB_AUTOSIZE, 0, 0);
    ShowWindow(toolbar, SW_SHOW);
    return toolbar;
}

void Toolbar_FreeImages(HWND toolbar)
{
    // The toolbar does not own the image list it was given.
    auto images = (HIMAGELIST)SendMessageW(toolbar, TB_SETIMAGELIST, 0, 0);
    if (images)
        ImageList_Destroy(images);
}

void Toolbar_SetText(int command, const wchar_t *text)
{
    wchar_t buffer[64];
    Text_Copy(buffer, 64, text);
    TBBUTTONINFOW info = {};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_TEXT;
    info.pszText = buffer;
    SendMessageW(gApp.toolbar, TB_SETBUTTONINFOW, command, (LPARAM)&info);
    SendMessageW(gApp.toolbar, TB_AUTOSIZE, 0, 0);
    // A wider text can push buttons onto another row of a narrow window.
    if (gApp.statusBar && Toolbar_Height() != gApp.toolbarHeight)
        MainWnd_Layout();
}

int Toolbar_Height()
{
    RECT r = {};
    GetWindowRect(gApp.toolbar, &r);
    return r.bottom - r.top - 1;
}

bool Toolbar_IsChecked(int command)
{
    LRESULT state = SendMessageW(gApp.toolbar, TB_GETSTATE, command, 0);
    return state != -1 && (state & TBSTATE_CHECKED);
}

void Toolbar_SetChecked(int command, bool checked)
{
    SendMessageW(gApp.toolbar, TB_SETSTATE, command,
                 MAKELPARAM(TBSTATE_ENABLED | (checked ? TBSTATE_CHECKED : 0), 0));
}

// The calibration button tells why the calibration the user applied is not
// applied, in a text longer than the reply's own buffer.
void Toolbar_FillTooltip(NMTTDISPINFOW *info)
{
    static wchar_t reason[CALIBRATION_REASON_CAPACITY];
    info->hinst = (HINSTANCE)gApp.instance;
    if (info->hdr.idFrom == CMD_CALIBRATION_MENU &&
        Calibration_NotAppliedReason(reason, CALIBRATION_REASON_CAPACITY, View_HasPicture())) {
        info->lpszText = reason;
        return;
    }
    int32_t textId = Toolbar_TooltipId((int32_t)info->hdr.idFrom);
    if (info->hdr.idFrom == CMD_SCALE_BAR && !(gView.scale > 0))
        textId = 1031; // why it is greyed
    if (info->hdr.idFrom == CMD_OPEN_PICTURE && gView.source == VIEW_PICTURE)
        textId = 1372; // the same button goes back to the camera
    Text_Copy(info->szText, 80, textId ? Language_Text(textId) : L"~~~");
    info->lpszText = info->szText;
}
