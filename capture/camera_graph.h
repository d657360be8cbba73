// The device list and the capture graph of the open camera.
#pragma once
#include "capture/camera_state.h"
#include <string>
#include <vector>

struct DeviceEntry {
    IMoniker *moniker;
    IBaseFilter *filter; // bound on demand
    std::wstring devicePath;
    std::wstring friendlyName;
    FormatMap yuy2Formats;
    FormatMap mjpgFormats;
    int32_t stale;
};

extern std::vector<DeviceEntry> gDevices;
extern int32_t gDeviceIndex; // the open device, -1 for none

// Private messages posted to gCamera.viewWindow (wParam and lParam 0).
enum {
    WM_CAMERA_EVENT = 0x8001,
    WM_CAMERA_STARTED = 0x8002,
    WM_CAMERA_STOPPED = 0x8003,
    WM_CAMERA_STILL = 0x8004,
};

void Camera_Init(HWND__ *viewWindow);
void Camera_EnumDevices();
// Binds the device's filter unless it is bound; a failure leaves it unbound.
void Camera_BindDevice(DeviceEntry *device);
void Camera_FreeDevices();
void Camera_EnumFormats(IBaseFilter *filter, FormatMap *yuy2, FormatMap *mjpg);
void Camera_EnsureFormats();
void Camera_ChooseDefaultFormat();
// 1 when the device took the format (it is then currentFormat), 0 when it
// lacks or refuses it.
int32_t Camera_SetFormat(const VideoFormat &requested);
int32_t Camera_StartPreview();
void Camera_StopPreview();
void Camera_RestartPreview();
// Stops the preview and starts one on this device, taking over the caller's
// reference to each. While a stop waits for a recording to end, the old
// device is still open: then nothing starts and both references go.
int32_t Camera_SwitchTo(IMoniker *moniker, IBaseFilter *filter);
void Camera_FreeGraph();
IPin *Camera_FindPin(IBaseFilter *filter, int direction, bool unconnectedOnly);
IPin *Camera_FindStillPin(IBaseFilter *filter);

// Whether a camera is open: a preview runs.
bool Camera_IsOpen();

// The parts of the reset shared by Camera_Init and Camera_FreeGraph: no frame
// buffer, flags off, no format, fps 30.0, not recording.
void Camera_ResetFrameState();
void Camera_ClearControls();
