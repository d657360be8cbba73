#include "capture/camera_controls.h"

#include "base/text.h"

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

// Raised to min first, then lowered to max, as a device that reports a
// range the wrong way round still gets a value it named.
static int32_t IntoRange(const ControlRange &c, int32_t value)
{
    if (value < c.min)
        value = c.min;
    return value > c.max ? c.max : value;
}

static bool Reported(const ControlRange &c)
{
    return c.flags >= 1;
}

static void NoteManualValue(ControlRange *c, int32_t value)
{
    c->manualValue = value;
    c->manualKnown = 1;
}

ControlWrite Control_ManualChange(CameraControlId id, int32_t value)
{
    ControlRange *c = Control_Record(id);
    c->value = value;
    NoteManualValue(c, value);
    return {c->value, CONTROL_FLAG_MANUAL};
}

ControlWrite Control_AutoChange(CameraControlId id, bool autoOn, int32_t cameraValue)
{
    ControlRange *c = Control_Record(id);
    if (autoOn) {
        if (!c->autoOn)
            NoteManualValue(c, c->value);
        c->autoOn = 1;
        return {0, CONTROL_FLAG_AUTO};
    }
    c->autoOn = 0;
    c->value = IntoRange(*c, cameraValue);
    return {c->value, CONTROL_FLAG_MANUAL};
}

bool Control_Offer(const ControlRange &range, int32_t *value)
{
    if (!Reported(range) || range.autoOn || !range.manualKnown || range.manualValue == range.value)
        return false;
    *value = range.manualValue;
    return true;
}

void Controls_NoteManualValues()
{
    for (int id = 0; id < CAMERA_PROPERTIES; id++) {
        ControlRange *c = Control_Record((CameraControlId)id);
        if (Reported(*c) && !c->autoOn)
            NoteManualValue(c, c->value);
    }
}

static bool PowerLineListed(int32_t value)
{
    const ControlRange &p = gCamera.powerLineFrequency;
    return (value == 1 || value == 2) && p.min >= 1 && value >= p.min && value <= p.max;
}

std::vector<KeptWrite> Controls_KeptWrites(const CameraMemory &memory)
{
    std::vector<KeptWrite> writes;
    for (int i = 0; i < CAMERA_PROPERTIES; i++) {
        auto id = (CameraControlId)i;
        ControlRange *c = Control_Record(id);
        const KeptProperty &kept = memory.properties[i];
        if (!Reported(*c) || kept.mode == KEPT_NONE)
            continue;
        if (kept.mode == KEPT_MANUAL) {
            writes.push_back({id, Control_ManualChange(id, IntoRange(*c, kept.value))});
            continue;
        }
        if (kept.mode == KEPT_AUTO_AFTER_MANUAL)
            NoteManualValue(c, IntoRange(*c, kept.value));
        if (c->autoSupported) {
            c->autoOn = 1;
            writes.push_back({id, {0, CONTROL_FLAG_AUTO}});
        }
    }
    if (PowerLineListed(memory.powerLine))
        writes.push_back({CONTROL_POWER_LINE_FREQUENCY, {memory.powerLine, CONTROL_FLAG_MANUAL}});
    return writes;
}

std::vector<KeptWrite> Controls_DefaultWrites()
{
    std::vector<KeptWrite> writes;
    for (int i = 0; i < CAMERA_PROPERTIES; i++) {
        auto id = (CameraControlId)i;
        ControlRange *c = Control_Record(id);
        if (!Reported(*c))
            continue;
        c->value = IntoRange(*c, c->defaultValue);
        NoteManualValue(c, c->value);
        c->autoOn = c->autoSupported ? 1 : 0;
        writes.push_back({id, c->autoOn ? ControlWrite{0, CONTROL_FLAG_AUTO} : ControlWrite{c->value, CONTROL_FLAG_MANUAL}});
    }
    int32_t powerLine = gCamera.powerLineFrequency.defaultValue;
    if (PowerLineListed(powerLine))
        writes.push_back({CONTROL_POWER_LINE_FREQUENCY, {powerLine, CONTROL_FLAG_MANUAL}});
    return writes;
}

static KeptProperty Kept(const ControlRange &c)
{
    if (!Reported(c))
        return {KEPT_NONE, 0};
    if (!c.autoOn)
        return {KEPT_MANUAL, c.value};
    return c.manualKnown ? KeptProperty{KEPT_AUTO_AFTER_MANUAL, c.manualValue} : KeptProperty{KEPT_AUTO, 0};
}

void Camera_RememberControls()
{
    CameraMemory memory = {};
    if (!Text_Copy(memory.devicePath, CAMERA_PATH_CAPACITY, gCamera.devicePath) || !memory.devicePath[0])
        return;
    for (int i = 0; i < CAMERA_PROPERTIES; i++)
        memory.properties[i] = Kept(*Control_Record((CameraControlId)i));
    int32_t powerLine = gCamera.powerLineFrequency.value;
    memory.powerLine = powerLine == 1 || powerLine == 2 ? powerLine : 0;
    CameraMemory_Remember(memory);
}
