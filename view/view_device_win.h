// The camera view's part in opening cameras: device notifications, the
// opening countdown, arrival and removal, graph events and format restarts.
#pragma once
#include <string>
#include <windows.h>

struct DeviceEntry;
struct StillPicture;

void View_RegisterDeviceNotifications(HWND view);
void View_UnregisterDeviceNotifications();
void View_OnDeviceTimer(HWND view);
void View_OnDeviceChange(HWND view, WPARAM event, LPARAM record);
// Opens a camera when none is open and no still picture is shown: the one
// with the preferred device path while it is attached, else the last listed.
void View_OpenDevice(HWND view, const std::wstring &preferredPath = std::wstring());
// Closes the open camera, if any, and opens the device (bound) instead.
void View_SwitchDevice(HWND view, DeviceEntry *device);
void View_CheckDevice(HWND view);
void View_DrainGraphEvents();
// Command 4: restart the preview with gRequestedFormat.
void View_RestartPreview(HWND view);

// Shows a still picture in place of the camera's, as an opened picture is
// shown: stops the camera, takes the picture (View_TakeStill), applies its
// own scale (or the slot the user applied last, where the picture has that
// slot's size), fits a picture of 1920 pixels or wider into the view, and
// tells the main window and the panel. False, with the view as it was, for
// a size beyond the limits (Still_SizeAllowed); false with the camera's
// picture again when it could not be taken.
bool View_ShowStill(const StillPicture &picture);
// Leaves a still picture: the camera opens again as at start.
void View_BackToLive();
