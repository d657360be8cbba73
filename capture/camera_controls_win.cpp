// Camera controls on the capture filter's control interfaces.
#include "capture/camera_controls.h"
#include "capture/camera_controls_win.h"

#include "base/platform.h"
#include "capture/camera_graph.h"
#include "capture/dshow_win.h"
#include "capture/ks_interfaces_win.h"
#include "base/scoped_win.h"

#include <ks.h>

static void LogRange(const wchar_t *name, const ControlRange &c)
{
    Debug_Printf(L"%ls %d %d %d %d %d %d\r\n", name, c.min, c.max, c.step, c.defaultValue, c.value, c.flags);
}

static void ReadExposure()
{
    ControlRange &c = gCamera.exposure;
    long min = 0, max = 0, step = 0, def = 0, flags = 0, value = 0;
    gCamera.cameraControl->GetRange(CameraControl_Exposure, &min, &max, &step, &def, &flags);
    c.min = (int32_t)min, c.max = (int32_t)max, c.step = (int32_t)step;
    c.defaultValue = (int32_t)def, c.flags = (int32_t)flags;
    c.autoSupported = c.flags & 1;
    LogRange(L"IID_IAMCameraControl", c);
    value = c.value;
    gCamera.cameraControl->Get(CameraControl_Exposure, &value, &flags);
    c.value = (int32_t)value, c.flags = (int32_t)flags;
    c.autoOn = c.flags & 1;
    LogRange(L"IID_IAMCameraControl", c);
}

static void ReadProcAmpProperty(CameraControlId id)
{
    ControlRange &c = *Control_Record(id);
    long property = Control_PropertyId(id);
    long min = 0, max = 0, step = 0, def = 0, flags = 0, value = 0;
    gCamera.procAmp->GetRange(property, &min, &max, &step, &def, &flags);
    c.min = (int32_t)min, c.max = (int32_t)max, c.step = (int32_t)step;
    c.defaultValue = (int32_t)def, c.flags = (int32_t)flags;
    c.autoSupported = c.flags & 1;
    gCamera.procAmp->Get(property, &value, &flags);
    c.value = (int32_t)value, c.flags = (int32_t)flags;
    c.autoOn = c.flags & 1;
}

static void ReadProcAmp()
{
    static const CameraControlId order[] = {CONTROL_GAIN, CONTROL_WHITE_BALANCE, CONTROL_SATURATION,
                                            CONTROL_CONTRAST, CONTROL_HUE, CONTROL_BRIGHTNESS,
                                            CONTROL_SHARPNESS, CONTROL_GAMMA};
    for (CameraControlId id : order) {
        ReadProcAmpProperty(id);
        const ControlRange &c = *Control_Record(id);
        if (id == CONTROL_WHITE_BALANCE)
            Debug_Printf(L"VideoProcAmp_WhiteBalance %d %d %d %d %d\r\n", c.min, c.max, c.step,
                         c.defaultValue, c.flags);
        else if (id == CONTROL_CONTRAST)
            LogRange(L"VideoProcAmp_Contrast", c);
    }
}

static void ReadPowerLineFrequency()
{
    ControlRange &c = gCamera.powerLineFrequency;
    long min = 0, max = 0, step = 0, def = 0, flags = 0;
    gCamera.videoProcAmp->getRange_PowerlineFrequency(&min, &max, &step, &def, &flags);
    c.min = (int32_t)min, c.max = (int32_t)max, c.step = (int32_t)step;
    c.defaultValue = (int32_t)def, c.flags = (int32_t)flags;
}

static void ReadValues()
{
    if (gCamera.cameraControl)
        ReadExposure();
    if (gCamera.procAmp)
        ReadProcAmp();
    if (gCamera.videoProcAmp)
        ReadPowerLineFrequency();
}

// Sets what was kept for this camera again; the records then show what the
// device took.
static void RestoreKept()
{
    const CameraMemory *kept = CameraMemory_Find(gCamera.devicePath);
    if (!kept)
        return;
    for (const KeptWrite &w : Controls_KeptWrites(*kept))
        Camera_WriteControl(w.id, w.write);
    ReadValues();
}

void Camera_ReadControls()
{
    gCamera.captureFilter->QueryInterface(IID_IAMCameraControl, (void **)&gCamera.cameraControl);
    gCamera.captureFilter->QueryInterface(IID_IAMVideoProcAmp, (void **)&gCamera.procAmp);
    Camera_OpenVideoProcAmp();
    ReadValues();
    Controls_NoteManualValues();
    RestoreKept();
}

int32_t Camera_ReadControlValue(CameraControlId id)
{
    ControlRange *c = Control_Record(id);
    long value = c->value, flags = 0;
    if (id == CONTROL_EXPOSURE && gCamera.cameraControl)
        gCamera.cameraControl->Get(CameraControl_Exposure, &value, &flags);
    else if (id != CONTROL_EXPOSURE && id != CONTROL_POWER_LINE_FREQUENCY && gCamera.procAmp)
        gCamera.procAmp->Get(Control_PropertyId(id), &value, &flags);
    return (int32_t)value;
}

// The processing unit is one of the topology's nodes, whose ids run from 0
// to the node count - 1; the connections between them are another list, of
// another length.
void Camera_OpenVideoProcAmp()
{
    Com_Release(gCamera.videoProcAmp);
    ComPtr<IKsTopologyInfo> topology;
    DWORD nodes = 0;
    if (!gCamera.captureFilter ||
        FAILED(gCamera.captureFilter->QueryInterface(IID_IKsTopologyInfo, topology.PutVoid())) || !topology ||
        FAILED(topology->get_NumNodes(&nodes)))
        return;
    for (DWORD node = 0; node < nodes && !gCamera.videoProcAmp; node++) {
        GUID type;
        IVideoProcAmp *amp = nullptr;
        if (SUCCEEDED(topology->get_NodeType(node, &type)) && type == KSNODETYPE_VIDEO_PROCESSING &&
            SUCCEEDED(topology->CreateNodeInstance(node, IID_IVideoProcAmp, (void **)&amp)))
            gCamera.videoProcAmp = amp;
    }
    Debug_Printf(L"gCamera.videoProcAmp:%p\r\n", (void *)gCamera.videoProcAmp);
}

void Camera_ReleaseControls()
{
    Com_Release(gCamera.cameraControl);
    Com_Release(gCamera.procAmp);
    Com_Release(gCamera.videoProcAmp);
    Camera_ClearControls();
}

void Camera_WriteControl(CameraControlId id, ControlWrite write)
{
    if (id == CONTROL_EXPOSURE) {
        if (gCamera.cameraControl)
            gCamera.cameraControl->Set(CameraControl_Exposure, write.value, write.flags);
    } else if (id == CONTROL_POWER_LINE_FREQUENCY) {
        gCamera.powerLineFrequency.value = write.value;
        if (gCamera.videoProcAmp)
            gCamera.videoProcAmp->put_PowerlineFrequency(write.value, CONTROL_FLAG_MANUAL);
    } else if (gCamera.procAmp) {
        gCamera.procAmp->Set(Control_PropertyId(id), write.value, write.flags);
    }
}

bool Camera_FocusRange(int32_t *min, int32_t *max)
{
    long low = 0, high = 0, step = 0, def = 0, caps = 0;
    if (!gCamera.cameraControl ||
        FAILED(gCamera.cameraControl->GetRange(CameraControl_Focus, &low, &high, &step, &def, &caps)) ||
        !(caps & CameraControl_Flags_Manual) || low >= high)
        return false;
    *min = (int32_t)low, *max = (int32_t)high;
    return true;
}

bool Camera_SetFocus(int32_t position)
{
    return gCamera.cameraControl &&
           SUCCEEDED(gCamera.cameraControl->Set(CameraControl_Focus, position, CameraControl_Flags_Manual));
}
