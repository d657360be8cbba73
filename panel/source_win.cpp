// The Source section: the camera, resolution and compression boxes and the
// snapshot, record, gallery, time-lapse and focus stack buttons.
#include "view/view_source.h"
#include "panel/panel_win.h"
#include "panel/section_layouts.h"
#include "panel/section_win.h"
#include "panel/source.h"

#include "state/app_state.h"
#include "base/commands.h"
#include "base/text.h"
#include "capture/camera_graph.h"
#include "dialogs/dialogs_win.h"
#include "res/resource.h"

enum {
    SOURCE_CAMERA_LABEL = 101,
    SOURCE_CAMERA,
    SOURCE_RESOLUTION_LABEL,
    SOURCE_RESOLUTION,
    SOURCE_STILL_LABEL,
    SOURCE_STILL_SIZE, // follows the resolution, never operable
    SOURCE_COMPRESSION_LABEL,
    SOURCE_COMPRESSION,
    SOURCE_SNAPSHOT,
    SOURCE_RECORD,
    SOURCE_GALLERY,
    SOURCE_TIME_LAPSE,
    SOURCE_FOCUS_STACK,
};

static const DWORD kList = CBS_DROPDOWNLIST | WS_VSCROLL;
static const SectionControl kControls[SOURCE_CONTROLS] = {
    {SOURCE_CAMERA_LABEL, L"STATIC", SS_RIGHT, 1042},
    {SOURCE_CAMERA, L"COMBOBOX", kList, 0},
    {SOURCE_RESOLUTION_LABEL, L"STATIC", SS_RIGHT, 1043},
    {SOURCE_RESOLUTION, L"COMBOBOX", kList, 0},
    {SOURCE_STILL_LABEL, L"STATIC", SS_RIGHT, 1044},
    {SOURCE_STILL_SIZE, L"COMBOBOX", kList, 0},
    {SOURCE_COMPRESSION_LABEL, L"STATIC", SS_RIGHT, 1045},
    {SOURCE_COMPRESSION, L"COMBOBOX", kList, 0},
    {SOURCE_SNAPSHOT, L"BUTTON", BS_PUSHBUTTON, 1046},
    {SOURCE_RECORD, L"BUTTON", BS_PUSHBUTTON, 1047},
    {SOURCE_GALLERY, L"BUTTON", BS_PUSHBUTTON, 1048},
    {SOURCE_TIME_LAPSE, L"BUTTON", BS_PUSHBUTTON, 1400},
    {SOURCE_FOCUS_STACK, L"BUTTON", BS_PUSHBUTTON, 1457},
};

static bool CurrentIsMjpg()
{
    return ClassId_Equal(gCamera.currentFormat.subtype, kSubtypeMjpg);
}

static void Clear(HWND section, int id)
{
    SendDlgItemMessageW(section, id, CB_RESETCONTENT, 0, 0);
}

static void Add(HWND section, int id, const wchar_t *text)
{
    SendDlgItemMessageW(section, id, CB_ADDSTRING, 0, (LPARAM)text);
}

static void Select(HWND section, int id, int index)
{
    SendDlgItemMessageW(section, id, CB_SETCURSEL, index, 0);
}

static void FillSizes(HWND section, const FormatMap &map)
{
    for (int id : {SOURCE_RESOLUTION, SOURCE_STILL_SIZE}) {
        Clear(section, id);
        for (const auto &entry : map) {
            wchar_t text[32];
            Text_Format(text, 32, L"%dx%d", entry.second.width, entry.second.height);
            Add(section, id, text);
        }
    }
}

static void FillDevicesAndCompression(HWND section)
{
    Clear(section, SOURCE_CAMERA);
    for (const DeviceEntry &device : gDevices)
        Add(section, SOURCE_CAMERA, device.friendlyName.c_str());
    Select(section, SOURCE_CAMERA, gDeviceIndex);
    Clear(section, SOURCE_COMPRESSION);
    const wchar_t *items[2];
    int count = Source_CompressionItems(gCamera.mjpgFormats, gCamera.yuy2Formats, items);
    for (int i = 0; i < count; i++)
        Add(section, SOURCE_COMPRESSION, items[i]);
    Select(section, SOURCE_COMPRESSION, Source_CompressionSelection(CurrentIsMjpg(), gCamera.mjpgFormats));
}

static void Refresh(HWND section, bool full)
{
    static const int operable[] = {SOURCE_CAMERA, SOURCE_RESOLUTION, SOURCE_COMPRESSION, SOURCE_SNAPSHOT,
                                   SOURCE_RECORD, SOURCE_FOCUS_STACK};
    Section_Enable(section, SOURCE_STILL_SIZE, false);
    bool open = Camera_IsOpen();
    for (int id : operable)
        Section_Enable(section, id, open);
    Section_Enable(section, SOURCE_SNAPSHOT, View_HasPicture()); // a still picture's too
    if (!open) {
        for (int id : {SOURCE_CAMERA, SOURCE_RESOLUTION, SOURCE_STILL_SIZE, SOURCE_COMPRESSION})
            Clear(section, id);
        return;
    }
    Camera_EnsureFormats();
    const FormatMap &current = Camera_CurrentFormatMap();
    if (full) {
        FillDevicesAndCompression(section);
        FillSizes(section, current);
    }
    int index = Source_SizeIndex(current, gCamera.currentFormat.width, gCamera.currentFormat.height);
    Select(section, SOURCE_RESOLUTION, index);
    Select(section, SOURCE_STILL_SIZE, index);
}

static const SectionKind kSection = {0, 1041, kControls, SOURCE_CONTROLS, Source_Layout, Refresh};

static void SetIcon(HWND section, int id, int icon)
{
    HANDLE image = LoadImageW((HINSTANCE)gApp.instance, MAKEINTRESOURCEW(icon), IMAGE_ICON, 0, 0, LR_SHARED);
    if (image)
        SendDlgItemMessageW(section, id, BM_SETIMAGE, IMAGE_ICON, (LPARAM)image);
}

static int Selection(HWND section, int id)
{
    return (int)SendDlgItemMessageW(section, id, CB_GETCURSEL, 0, 0);
}

static void OnSelection(HWND section, int id)
{
    int selection = Selection(section, id);
    if (id == SOURCE_CAMERA) {
        if (selection != CB_ERR && selection != gDeviceIndex) {
            OpenDlg_Show(selection, gCamera.currentFormat);
            Panel_PostRefresh(true);
        }
    } else if (id == SOURCE_RESOLUTION) {
        int choice = Source_ResolutionChoice(Camera_CurrentFormatMap(), selection, gCamera.currentFormat.width,
                                             gCamera.currentFormat.height);
        if (choice >= 0 && gApp.mainWindow)
            PostMessageW(gApp.mainWindow, WM_COMMAND, CMD_CHOOSE_RESOLUTION, choice);
    } else if (id == SOURCE_COMPRESSION) {
        int choice = Source_CompressionChoice(CurrentIsMjpg(), gCamera.mjpgFormats, selection);
        if (choice >= 0 && gApp.mainWindow)
            PostMessageW(gApp.mainWindow, WM_COMMAND, CMD_CHOOSE_COMPRESSION, choice);
    }
}

LRESULT CALLBACK SourceSection_Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE) {
        LRESULT result = Section_DefProc(kSection, window, message, wParam, lParam);
        SetIcon(window, SOURCE_SNAPSHOT, IDI_SRC_SNAPSHOT);
        SetIcon(window, SOURCE_RECORD, IDI_TB_RECORD);
        return result;
    }
    if (message == WM_COMMAND && lParam) {
        int id = LOWORD(wParam), code = HIWORD(wParam);
        static const int buttons[] = {CMD_SNAPSHOT, CMD_RECORD, CMD_GALLERY, CMD_TIME_LAPSE, CMD_FOCUS_STACK};
        if (id >= SOURCE_SNAPSHOT && id <= SOURCE_FOCUS_STACK && code == BN_CLICKED)
            MainWnd_PostCommand(buttons[id - SOURCE_SNAPSHOT]);
        else if (code == CBN_SELCHANGE)
            OnSelection(window, id);
        return 0;
    }
    return Section_DefProc(kSection, window, message, wParam, lParam);
}
