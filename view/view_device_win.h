// The camera view's part in opening cameras: device notifications, the
// opening countdown, arrival and removal, graph events and format restarts.
#pragma once
#include <windows.h>

struct DeviceEntry;

void View_RegisterDeviceNotifications(HWND view);
void View_UnregisterDeviceNotifications();
void View_OnDeviceTimer(HWND view);
void View_OnDeviceChange(HWND view, WPARAM event, LPARAM record);
void View_OpenDevice(HWND view);
// Closes the open camera, if any, and opens the device (bound) instead.
void View_SwitchDevice(HWND view, DeviceEntry *device);
void View_CheckDevice(HWND view);
void View_DrainGraphEvents();
// Command 4: restart the preview with gRequestedFormat.
void View_RestartPreview(HWND view);
