// The camera's adjustable properties: the ten ControlRange records of
// gCamera and the two ways the panel changes them.
#pragma once
#include "capture/camera_state.h"

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

// A slider or edit change in manual mode: stores the value, sends it manual.
ControlWrite Control_ManualChange(CameraControlId id, int32_t value);

// The automatic check box: stores autoOn and the default clamped into
// min..max as the value; sends (0, auto) when on, (value, manual) when off.
ControlWrite Control_AutoChange(CameraControlId id, bool autoOn);

// Sends a write to the device (results are not examined).
void Camera_WriteControl(CameraControlId id, ControlWrite write);
