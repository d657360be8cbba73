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

// What the video recorder does at a preview's start and end. It registers
// them as the program loads (record/recorder_stop_win.cpp), so that what it
// keeps for a preview (the frame queue's lock and events) lives as long as
// the preview, and capture knows it only as this.
struct PreviewHooks {
    // The graph is being built: makes what the frame consumer needs. False
    // fails the start.
    bool (*started)();
    // Before the graph is torn down: no sample reaches the frame consumer
    // once it returns true. False when the teardown cannot run now (the end
    // of a recording is being waited for while messages are dispatched, and
    // one of them asked for it); the hooks' owner calls Camera_FreeGraph once
    // that wait has ended.
    bool (*ending)();
    // The graph is gone: frees what started made.
    void (*ended)();
};
// One set at most, registered before any preview runs.
void Camera_SetPreviewHooks(const PreviewHooks *hooks);

void Camera_Init(HWND__ *viewWindow);
void Camera_EnumDevices();
// A device moniker's display name (its device path); empty when it has none.
std::wstring Camera_DisplayName(IMoniker *moniker);
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
// The format map of the current compression (MJPG map when the current
// subtype is MJPG, the YUY2 map otherwise).
const FormatMap &Camera_CurrentFormatMap();

// The parts of the reset shared by Camera_Init and Camera_FreeGraph: no
// device path, no frame buffer, flags off, no format, fps 30.0.
void Camera_ResetFrameState();
void Camera_ClearControls();
