// The camera's adjustable properties: the ten ControlRange records of
// gCamera, the ways the panel changes them, and the settings kept for each
// camera.
#pragma once
#include "capture/camera_state.h"
#include <vector>

enum CameraControlId {
    CONTROL_EXPOSURE,
    CONTROL_GAIN,
    CONTROL_WHITE_BALANCE,
    CONTROL_BRIGHTNESS,
    CONTROL_CONTRAST,
    CONTROL_HUE,
    CONTROL_SATURATION,
    CONTROL_SHARPNESS,
    CONTROL_GAMMA,
    CONTROL_POWER_LINE_FREQUENCY,
    CONTROL_COUNT
};

static_assert((int)CONTROL_POWER_LINE_FREQUENCY == (int)CAMERA_PROPERTIES,
              "the kept properties are the controls before the power line, in their order");

// The record of a control in gCamera.
ControlRange *Control_Record(CameraControlId id);

// The device's property id: CameraControl_Exposure (4) for exposure, the
// VideoProcAmp property for the eight picture controls, 0 for power line.
int32_t Control_PropertyId(CameraControlId id);

// What to send to the device for a change.
struct ControlWrite {
    int32_t value;
    int32_t flags; // CONTROL_FLAG_AUTO or CONTROL_FLAG_MANUAL
};

// A slider or edit change in manual mode: stores the value, which becomes the
// manual value to offer back later, and sends it manual.
ControlWrite Control_ManualChange(CameraControlId id, int32_t value);

// The automatic check box. On: the manual value shown so far is the one to
// offer back, and (0, auto) is sent. Off: the camera's current value (what
// automatic mode arrived at, brought into min..max) becomes the value and is
// sent manual, so the picture stays as it is; the manual value stays.
ControlWrite Control_AutoChange(CameraControlId id, bool autoOn, int32_t cameraValue);

// The user's manual value to offer back: known, automatic off, and another
// than the value the row shows.
bool Control_Offer(const ControlRange &range, int32_t *value);

// After the device's values are read: a control in manual mode has its value
// as the manual value to offer back.
void Controls_NoteManualValues();

// A write to the device, and for which control.
struct KeptWrite {
    CameraControlId id;
    ControlWrite write;
};

// The writes that set a camera's kept settings again, only as far as the
// device's ranges allow: a manual value is brought into min..max, automatic
// mode only where the device offers it, a power-line value only within its
// range; a property the device does not report is left alone. The kept
// manual values become the ones offered back.
std::vector<KeptWrite> Controls_KeptWrites(const CameraMemory &memory);

// "Restore the camera defaults": every property the device reports at its
// default value brought into min..max, with automatic mode where the device
// offers it (the manual value to offer back is then the default), and the
// power-line frequency at the device's default when that is 50 or 60 Hz.
std::vector<KeptWrite> Controls_DefaultWrites();

// The records of the open camera (gCamera.devicePath) as its kept settings,
// remembered and stored; nothing without a device path.
void Camera_RememberControls();

// Sends a write to the device (results are not examined).
void Camera_WriteControl(CameraControlId id, ControlWrite write);
