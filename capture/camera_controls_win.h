// Reading and writing the camera controls through the capture filter's
// IAMCameraControl, IAMVideoProcAmp and the processing node's IVideoProcAmp.
#pragma once

#include "capture/camera_controls.h"

// Reads the ten records, then sets what was kept for the camera's device path
// (gCamera.devicePath) again; run once per successful graph build.
void Camera_ReadControls();

// The device's current value of a control (what automatic mode arrived at),
// or the record's value when the device does not tell.
int32_t Camera_ReadControlValue(CameraControlId id);

// Finds the video-processing node of the kernel-streaming topology and keeps
// its IVideoProcAmp in gCamera.videoProcAmp (null when there is none).
void Camera_OpenVideoProcAmp();

// The camera's absolute focus (CameraControl_Focus) as the device gives it:
// false when it has none that can be set by hand.
bool Camera_FocusRange(int32_t *min, int32_t *max);
// Moves the focus to an absolute position, by hand; false when the device
// refused it.
bool Camera_SetFocus(int32_t position);

// Releases the three control interfaces and zeroes the records.
void Camera_ReleaseControls();
