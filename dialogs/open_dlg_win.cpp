// The Open-microscope dialog: a camera from the device list, its compression
// and resolution; opens that camera with the format, or restarts the open
// camera's preview with it.
#include "state/app_state.h"
#include "base/platform.h"
#include "base/text.h"
#include "capture/camera_graph.h"
#include "capture/dshow_win.h"
#include "dialogs/dialog_common_win.h"
#include "dialogs/dialogs_win.h"
#include "dialogs/open_formats.h"
#include "dialogs/preferences_ids.h"
#include "view/view_device_win.h"

// The choices, kept for the whole run.
static struct {
    int deviceIndex;  // set by the caller; out of range means the first device
    int compression;
    int resolution;   // -1 when none
    VideoFormat preferred; // 0 x 0: no preferred size; the subtype picks the compression
} gOpenDialog = {-1, 0, -1, {}};

static const DialogText kTexts[] = {
    {0, 1161}, {100, 1162}, {101, 1163}, {102, 1164}, {IDOK, 1165}, {IDCANCEL, 1166},
};

static LRESULT Send(HWND dialog, int control, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return SendDlgItemMessageW(dialog, control, message, wParam, lParam);
}

static DeviceEntry *ChosenDevice()
{
    int index = gOpenDialog.deviceIndex;
    return index >= 0 && index < (int)gDevices.size() ? &gDevices[(size_t)index] : nullptr;
}

static void FillResolutions(HWND dialog)
{
    Send(dialog, IDC_OPEN_RESOLUTION, CB_RESETCONTENT);
    gOpenDialog.resolution = -1;
    DeviceEntry *device = ChosenDevice();
    if (!device)
        return;
    bool isMjpg;
    const FormatMap &map = OpenFormats_Map(device->mjpgFormats, device->yuy2Formats, gOpenDialog.compression, &isMjpg);
    for (const auto &entry : map) {
        wchar_t item[32];
        Text_Format(item, 32, L"%dx%d", entry.second.width, entry.second.height);
        Send(dialog, IDC_OPEN_RESOLUTION, CB_ADDSTRING, 0, (LPARAM)item);
    }
    gOpenDialog.resolution = OpenFormats_Preselect(map, gOpenDialog.preferred.width, gOpenDialog.preferred.height);
    Send(dialog, IDC_OPEN_RESOLUTION, CB_SETCURSEL, (WPARAM)gOpenDialog.resolution);
}

static void FillCompressions(HWND dialog)
{
    Send(dialog, IDC_OPEN_COMPRESSION, CB_RESETCONTENT);
    gOpenDialog.compression = 0;
    if (DeviceEntry *device = ChosenDevice()) {
        if (!device->mjpgFormats.empty())
            Send(dialog, IDC_OPEN_COMPRESSION, CB_ADDSTRING, 0, (LPARAM)L"MJPG");
        if (!device->yuy2Formats.empty())
            Send(dialog, IDC_OPEN_COMPRESSION, CB_ADDSTRING, 0, (LPARAM)L"YUY2");
        gOpenDialog.compression =
            OpenFormats_CompressionItem(device->mjpgFormats, device->yuy2Formats, gOpenDialog.preferred.subtype);
    }
    Send(dialog, IDC_OPEN_COMPRESSION, CB_SETCURSEL, (WPARAM)gOpenDialog.compression);
    FillResolutions(dialog);
}

static void FillDevices(HWND dialog)
{
    Send(dialog, IDC_OPEN_DEVICES, LB_RESETCONTENT);
    Send(dialog, IDC_OPEN_COMPRESSION, CB_RESETCONTENT);
    Send(dialog, IDC_OPEN_RESOLUTION, CB_RESETCONTENT);
    bool any = !gDevices.empty();
    for (int control : {IDC_OPEN_COMPRESSION, IDC_OPEN_RESOLUTION, IDOK})
        EnableWindow(GetDlgItem(dialog, control), any);
    if (!any) {
        Send(dialog, IDC_OPEN_DEVICES, LB_ADDSTRING, 0, (LPARAM)L"No microscope found.");
        return;
    }
    for (DeviceEntry &device : gDevices) {
        Camera_BindDevice(&device);
        if (device.filter && device.mjpgFormats.empty() && device.yuy2Formats.empty())
            Camera_EnumFormats(device.filter, &device.yuy2Formats, &device.mjpgFormats);
    }
    for (const DeviceEntry &device : gDevices)
        Send(dialog, IDC_OPEN_DEVICES, LB_ADDSTRING, 0, (LPARAM)device.friendlyName.c_str());
    if (!ChosenDevice())
        gOpenDialog.deviceIndex = 0;
    Send(dialog, IDC_OPEN_DEVICES, LB_SETCURSEL, (WPARAM)gOpenDialog.deviceIndex);
    FillCompressions(dialog);
}

static bool IsOpenCamera(const DeviceEntry &device)
{
    return Camera_IsOpen() && gCamera.moniker && device.moniker && device.moniker->IsEqual(gCamera.moniker) == S_OK;
}

// Opens the chosen camera and format; does nothing when the choice is
// incomplete or the device offers no such format. The main window saves the
// size once the camera has started, so a size the device refused (and the
// start fell back from) is never saved.
static void OpenChoice()
{
    DeviceEntry *device = ChosenDevice();
    if (!device || gOpenDialog.compression < 0 || gOpenDialog.resolution < 0)
        return;
    bool isMjpg;
    const FormatMap &map = OpenFormats_Map(device->mjpgFormats, device->yuy2Formats, gOpenDialog.compression, &isMjpg);
    const VideoFormat *entry = FormatMap_At(map, gOpenDialog.resolution);
    if (!entry)
        return;
    VideoFormat chosen = {isMjpg ? kSubtypeMjpg : kSubtypeYuy2, entry->width, entry->height};
    if (IsOpenCamera(*device)) {
        gRequestedFormat = chosen;
        Debug_Print(L"Camera_RestartPreview\r\n");
        View_RestartPreview(gApp.cameraView);
    } else if (device->filter) {
        gRequestedFormat = chosen;
        View_SwitchDevice(gApp.cameraView, device);
    } else {
        return; // a device that could not be bound cannot be opened
    }
    Camera_EnsureFormats();
}

static void OnSelectionChange(HWND dialog, int control)
{
    bool device = control == IDC_OPEN_DEVICES;
    int selection = (int)Send(dialog, control, device ? LB_GETCURSEL : CB_GETCURSEL);
    int *stored = device ? &gOpenDialog.deviceIndex : &gOpenDialog.compression;
    if (selection == *stored)
        return;
    *stored = selection;
    if (device)
        FillCompressions(dialog);
    else
        FillResolutions(dialog);
}

static INT_PTR CALLBACK OpenDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        Dialog_ApplyTexts(dialog, kTexts, (int)(sizeof kTexts / sizeof kTexts[0]));
        Dialog_Place(dialog, PLACE_BELOW_TOP);
        FillDevices(dialog);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_OPEN_DEVICES:
            if (HIWORD(wParam) == LBN_SELCHANGE)
                OnSelectionChange(dialog, IDC_OPEN_DEVICES);
            return TRUE;
        case IDC_OPEN_COMPRESSION:
            if (HIWORD(wParam) == CBN_SELCHANGE)
                OnSelectionChange(dialog, IDC_OPEN_COMPRESSION);
            return TRUE;
        case IDOK:
            gOpenDialog.deviceIndex = (int)Send(dialog, IDC_OPEN_DEVICES, LB_GETCURSEL);
            gOpenDialog.compression = (int)Send(dialog, IDC_OPEN_COMPRESSION, CB_GETCURSEL);
            gOpenDialog.resolution = (int)Send(dialog, IDC_OPEN_RESOLUTION, CB_GETCURSEL);
            OpenChoice();
            EndDialog(dialog, IDOK);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

int OpenDlg_Show(int deviceIndex, const VideoFormat &preferred)
{
    gOpenDialog.deviceIndex = deviceIndex;
    gOpenDialog.preferred = preferred;
    return (int)DialogBoxParamW((HINSTANCE)gApp.instance, MAKEINTRESOURCEW(IDD_OPEN_MICROSCOPE), gApp.mainWindow,
                                OpenDlgProc, 0);
}
