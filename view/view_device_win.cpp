#include "view/view_device_win.h"

#include "base/commands.h"
#include "capture/camera_graph.h"
#include "capture/dshow_win.h"
#include "view/device_events.h"
#include "state/calibrations.h"
#include "view/view_source.h"
#include "view/view_state.h"
#include "state/view_api.h"

#include <dbt.h>
#include <ks.h>
#include <ksmedia.h>

enum { DEVICE_TIMER = 16 };

// Device notifications are looked up at run time: without them the view
// runs on, it only does not notice cameras coming and going.
template <typename Function> static Function User32Function(const char *name)
{
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? (Function)(void *)GetProcAddress(user32, name) : nullptr;
}

void View_RegisterDeviceNotifications(HWND view)
{
    using Register = HDEVNOTIFY(WINAPI *)(HANDLE, LPVOID, DWORD);
    auto registerNotification = User32Function<Register>("RegisterDeviceNotificationW");
    if (!registerNotification)
        return;
    DEV_BROADCAST_DEVICEINTERFACE_W filter = {};
    filter.dbcc_size = sizeof filter;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = KSCATEGORY_CAPTURE;
    gView.deviceNotification = registerNotification(view, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
}

void View_UnregisterDeviceNotifications()
{
    using Unregister = BOOL(WINAPI *)(HDEVNOTIFY);
    auto unregisterNotification = User32Function<Unregister>("UnregisterDeviceNotification");
    if (gView.deviceNotification && unregisterNotification)
        unregisterNotification((HDEVNOTIFY)gView.deviceNotification);
    gView.deviceNotification = nullptr;
}

void View_OnDeviceTimer(HWND view)
{
    if (View_DeviceDelayTick())
        PostMessageW(view, WM_COMMAND, CMD_OPEN_DEVICE_OR_SNAPSHOT_KEY, 0);
}

void View_OnDeviceChange(HWND view, WPARAM event, LPARAM record)
{
    if (event != DBT_DEVICEARRIVAL && event != DBT_DEVICEREMOVECOMPLETE)
        return;
    auto *header = (const DEV_BROADCAST_HDR *)record;
    if (!header || !DeviceChange_IsCaptureInterface((const uint8_t *)header, header->dbch_size))
        return;
    if (event == DBT_DEVICEARRIVAL)
        gView.deviceDelay = DEVICE_DELAY_AT_ARRIVAL;
    else
        PostMessageW(view, WM_COMMAND, CMD_VIEW_CHECK_DEVICE, 0);
}

static void ShowNewFormat(HWND view)
{
    View_SetFrameFormat();
    PostMessageW(view, WM_SIZE, 0, 0);
    InvalidateRect(view, nullptr, TRUE);
}

void View_SwitchDevice(HWND view, DeviceEntry *device)
{
    View_Reset();
    device->moniker->AddRef();
    device->filter->AddRef();
    Camera_SwitchTo(device->moniker, device->filter);
    ShowNewFormat(view);
}

// The camera with the preferred path while it is attached, else the last
// in the list.
static DeviceEntry &DeviceToOpen(const std::wstring &preferredPath)
{
    for (DeviceEntry &device : gDevices)
        if (!preferredPath.empty() && device.devicePath == preferredPath)
            return device;
    return gDevices.back();
}

void View_OpenDevice(HWND view, const std::wstring &preferredPath)
{
    Camera_EnumDevices();
    // A still picture keeps the camera stopped until the user goes back to live.
    if (Camera_IsOpen() || gDevices.empty() || gView.source == VIEW_PICTURE)
        return;
    DeviceEntry &device = DeviceToOpen(preferredPath);
    Camera_BindDevice(&device);
    if (device.moniker && device.filter)
        View_SwitchDevice(view, &device);
}

void View_CheckDevice(HWND view)
{
    Camera_EnumDevices();
    if (!Camera_IsOpen())
        return;
    for (const DeviceEntry &device : gDevices)
        if (device.moniker && gCamera.moniker && device.moniker->IsEqual(gCamera.moniker) == S_OK)
            return;
    Camera_StopPreview();
    View_Reset();
    PostMessageW(view, WM_SIZE, 0, 0);
    InvalidateRect(view, nullptr, TRUE);
    // Another camera is still attached: open it as if it had just arrived.
    if (!gDevices.empty())
        gView.deviceDelay = DEVICE_DELAY_AT_ARRIVAL;
}

void View_DrainGraphEvents()
{
    if (!Camera_IsOpen() || !gCamera.mediaEvent)
        return;
    long code;
    LONG_PTR first, second;
    while (SUCCEEDED(gCamera.mediaEvent->GetEvent(&code, &first, &second, 0)))
        gCamera.mediaEvent->FreeEventParams(code, first, second);
}

void View_RestartPreview(HWND view)
{
    View_Reset();
    Camera_RestartPreview();
    View_SetFrameFormat();
    InvalidateRect(view, nullptr, TRUE);
}

// The open camera's path, for Back to live (a second still picture keeps
// the first one's camera).
static void RememberOpenDevice()
{
    gView.liveDevicePath.clear();
    for (const DeviceEntry &device : gDevices)
        if (device.moniker && gCamera.moniker && device.moniker->IsEqual(gCamera.moniker) == S_OK)
            gView.liveDevicePath = device.devicePath;
}

bool View_ShowStill(const StillPicture &picture)
{
    if (!Still_SizeAllowed(picture.width, picture.height))
        return false;
    HWND view = gView.hwnd;
    if (gView.source != VIEW_PICTURE)
        RememberOpenDevice();
    Camera_StopPreview();
    if (Camera_IsOpen() || !View_TakeStill(picture)) {
        // A recording being finished kept the camera, or memory ran out
        // after it stopped: the camera's picture again.
        if (!Camera_IsOpen())
            View_BackToLive();
        return false;
    }
    if (picture.pixelsPerUnit > 0)
        Calibration_ApplyPicture(picture.pixelsPerUnit, picture.unit);
    else
        Calibration_ApplyKept(picture.width, picture.height);
    View_SetZoom(picture.width < 1920 ? 100 : 0);
    PostMessageW(view, WM_SIZE, 0, 0);
    InvalidateRect(view, nullptr, TRUE);
    MainWnd_PostCommand(CMD_CALIBRATION_CHANGED);
    Panel_PostRefresh(true);
    return true;
}

void View_BackToLive()
{
    View_Reset();
    PostMessageW(gView.hwnd, WM_SIZE, 0, 0);
    InvalidateRect(gView.hwnd, nullptr, TRUE);
    View_OpenDevice(gView.hwnd, gView.liveDevicePath);
    MainWnd_PostCommand(CMD_CALIBRATION_CHANGED);
    Panel_PostRefresh(true);
}
