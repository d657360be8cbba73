#include "app/menus_win.h"

#include "state/app_state.h"
#include "state/calibrations.h"
#include "base/commands.h"
#include "state/language.h"
#include "app/mainwnd_logic.h"
#include "app/mainwnd_win.h"
#include "state/settings.h"
#include "base/text.h"
#include "app/toolbar_table.h"
#include "capture/camera_graph.h"
#include "state/view_api.h"
#include "view/view_source.h"
#include "view/view_state.h"

// Shows a menu and returns the chosen id (0 for none); the menu is destroyed.
static int TrackAt(HWND owner, HMENU menu, int x, int y)
{
    int chosen = (int)TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN, x, y, 0, owner, nullptr);
    DestroyMenu(menu);
    return chosen;
}

static int TrackAtCursor(HWND owner, HMENU menu)
{
    POINT cursor;
    GetCursorPos(&cursor);
    return TrackAt(owner, menu, cursor.x, cursor.y);
}

HMENU Menu_MakeLanguage()
{
    HMENU menu = CreatePopupMenu();
    for (int k = 0; k < SHIPPED_LANGUAGES; k++)
        AppendMenuW(menu, MF_STRING | (gSettings.language == k ? MF_CHECKED : 0), MENU_LANGUAGE_FIRST + k,
                    Language_Name(k));
    return menu;
}

void Menu_Language(HWND owner)
{
    int chosen = TrackAtCursor(owner, Menu_MakeLanguage());
    if (chosen >= MENU_LANGUAGE_FIRST && chosen < MENU_LANGUAGE_FIRST + SHIPPED_LANGUAGES)
        Language_Select(chosen - MENU_LANGUAGE_FIRST);
}

HMENU Menu_MakeHelp()
{
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, CMD_ABOUT, Language_Text(1301));
    AppendMenuW(menu, MF_STRING, CMD_MANUAL, Language_Text(1302));
    return menu;
}

void Menu_Help(HWND owner)
{
    int chosen = TrackAtCursor(owner, Menu_MakeHelp());
    if (chosen)
        PostMessageW(owner, WM_COMMAND, (WPARAM)chosen, 0);
}

HMENU Menu_MakeResolution()
{
    HMENU menu = CreatePopupMenu();
    int id = CMD_RESOLUTION_FIRST;
    for (const auto &entry : Camera_CurrentFormatMap()) {
        const VideoFormat &f = entry.second;
        wchar_t text[32];
        Text_Format(text, 32, L"%dx%d", f.width, f.height);
        bool current = f.width == gCamera.currentFormat.width && f.height == gCamera.currentFormat.height;
        AppendMenuW(menu, MF_STRING | (current ? MF_CHECKED : 0), (UINT_PTR)id++, text);
    }
    // The picture's other sources and ways of taking pictures.
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING | (gView.source == VIEW_HELD ? MF_CHECKED : 0), CMD_FREEZE, Language_Text(1370));
    AppendMenuW(menu, MF_STRING, CMD_OPEN_PICTURE, Language_Text(1371));
    AppendMenuW(menu, MF_STRING, CMD_TIME_LAPSE, Language_Text(1400));
    AppendMenuW(menu, MF_STRING, CMD_FOCUS_STACK, Language_Text(1457));
    return menu;
}

void Menu_Resolution(HWND owner)
{
    int chosen = TrackAtCursor(owner, Menu_MakeResolution());
    if (chosen >= CMD_RESOLUTION_FIRST && chosen <= CMD_RESOLUTION_LAST) {
        MainWnd_SetResolution(chosen - CMD_RESOLUTION_FIRST);
        Panel_PostRefresh(false);
    } else if (chosen) {
        MainWnd_PostCommand(chosen); // the picture commands below the sizes
    }
}

HMENU Menu_MakeCalibration()
{
    std::vector<MenuItem> slots = CalibrationMenu_Slots();
    if (slots.empty())
        return nullptr;
    HMENU menu = CreatePopupMenu();
    for (const MenuItem &item : slots)
        AppendMenuW(menu, MF_STRING | (item.checked ? MF_CHECKED : 0), (UINT_PTR)item.id, item.text);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, MENU_REMOVE_CALIBRATION, Language_Text(1250));
    AppendMenuW(menu, MF_STRING, MENU_CONFIGURE_CALIBRATIONS, Language_Text(1251));
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    UINT scaleBar = (gSettings.showScaleBar && gView.scale > 0 ? MF_CHECKED : 0) | (gView.scale > 0 ? 0 : MF_GRAYED);
    AppendMenuW(menu, MF_STRING | scaleBar, CMD_SCALE_BAR, Language_Text(1030));
    return menu;
}

void Menu_Calibration(HWND owner)
{
    if (gApp.textInputDialog) {
        DestroyWindow(gApp.textInputDialog);
        gApp.textInputDialog = nullptr;
        View_SetTool(TOOL_POINTER);
    }
    HMENU menu = Menu_MakeCalibration();
    if (!menu) {
        MainWnd_StartCalibration();
        return;
    }
    POINT cursor;
    GetCursorPos(&cursor);
    RECT toolbar;
    GetWindowRect(gApp.toolbar, &toolbar);
    int chosen = TrackAt(owner, menu, cursor.x, toolbar.top + gApp.toolbarHeight - 4);
    if (chosen == MENU_REMOVE_CALIBRATION)
        Calibration_Remove();
    else if (chosen >= MENU_CALIBRATION_SLOT_FIRST && chosen < (int)MENU_CALIBRATION_SLOT_FIRST + (int)CALIBRATION_SLOTS)
        Calibration_Apply(chosen - MENU_CALIBRATION_SLOT_FIRST);
    else if (chosen == MENU_CONFIGURE_CALIBRATIONS)
        MainWnd_StartCalibration();
    else if (chosen == CMD_SCALE_BAR)
        SendMessageW(owner, WM_COMMAND, CMD_SCALE_BAR, 0);
}
