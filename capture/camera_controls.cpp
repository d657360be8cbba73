#include "capture/camera_controls.h"

ControlRange *Control_Record(CameraControlId id)
{
    ControlRange *records[CONTROL_COUNT] = {
        &gCamera.exposure, &gCamera.gain, &gCamera.whiteBalance, &gCamera.brightness,
        &gCamera.contrast, &gCamera.hue, &gCamera.saturation, &gCamera.sharpness,
        &gCamera.gamma, &gCamera.powerLineFrequency,
    };
    return id >= 0 && id < CONTROL_COUNT ? records[id] : nullptr;
}

int32_t Control_PropertyId(CameraControlId id)
{
    // CameraControl_Exposure, then VideoProcAmp_Gain, _WhiteBalance,
    // _Brightness, _Contrast, _Hue, _Saturation, _Sharpness, _Gamma.
    static const int32_t properties[CONTROL_COUNT] = {4, 9, 7, 0, 1, 2, 3, 4, 5, 0};
    return id >= 0 && id < CONTROL_COUNT ? properties[id] : 0;
}

ControlWrite Control_ManualChange(CameraControlId id, int32_t value)
{
    ControlRange *c = Control_Record(id);
    c->value = value;
    return {c->value, CONTROL_FLAG_MANUAL};
}

ControlWrite Control_AutoChange(CameraControlId id, bool autoOn)
{
    ControlRange *c = Control_Record(id);
    c->autoOn = autoOn ? 1 : 0;
    int32_t value = c->defaultValue;
    if (value < c->min)
        value = c->min;
    if (value > c->max)
        value = c->max;
    c->value = value;
    return autoOn ? ControlWrite{0, CONTROL_FLAG_AUTO} : ControlWrite{c->value, CONTROL_FLAG_MANUAL};
}
