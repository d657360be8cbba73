#include "rig_controls.h"
#include "rig_com.h"
#include "rig_shared.h"

namespace {

// {DFF229E6-F70F-11D0-B917-00A0C9223196}
const GUID kCameraTerminalNode = {0xdff229e6, 0xf70f, 0x11d0, {0xb9, 0x17, 0x00, 0xa0, 0xc9, 0x22, 0x31, 0x96}};
// {6994AD05-93EF-11D0-A3CC-00A0C9223196}
const GUID kVideoCategory = {0x6994ad05, 0x93ef, 0x11d0, {0xa3, 0xcc, 0x00, 0xa0, 0xc9, 0x22, 0x31, 0x96}};
const GUID kCategories[] = {KSCATEGORY_CAPTURE, kVideoCategory};
// {941C7AC0-C559-11D0-8A2B-00A0C9255AC1}: KSNODETYPE_DEV_SPECIFIC, a vendor's extension unit.
const GUID kExtensionUnitNode = {0x941c7ac0, 0xc559, 0x11d0, {0x8a, 0x2b, 0x00, 0xa0, 0xc9, 0x25, 0x5a, 0xc1}};
// A UVC camera's usual chain: camera terminal -> processing unit ->
// extension unit -> the capture and still pins. The connections are listed
// from the pins back, so there are more of them than nodes and none of the
// first three leaves the processing unit.
const wchar_t *const kNodeNames[] = {L"Camera Terminal", L"Processing Unit", L"Extension Unit"};
const GUID *const kNodeTypes[] = {&kCameraTerminalNode, &KSNODETYPE_VIDEO_PROCESSING, &kExtensionUnitNode};
const ULONG kNodeOut = 0, kNodeIn = 1; // ksmedia.h's KSNODEPIN_STANDARD_OUT and _IN
const KSTOPOLOGY_CONNECTION kConnections[] = {
    {2, kNodeOut, KSFILTER_NODE, 0},
    {2, kNodeOut, KSFILTER_NODE, 1},
    {0, kNodeOut, 1, kNodeIn},
    {1, kNodeOut, 2, kNodeIn},
};

// VideoProcAmp_ properties 0..9 are numbered like RigControl.
RigControl ProcAmp_Control(long property)
{
    return property >= 0 && property < RigControl_Exposure ? (RigControl)property : RigControl_Count;
}

RigControl Camera_Control(long property)
{
    return property == CameraControl_Exposure ? RigControl_Exposure
           : property == CameraControl_Focus  ? RigControl_Focus
                                              : RigControl_Count;
}

HRESULT Range(RigControl c, long *min, long *max, long *step, long *def, long *caps)
{
    return c == RigControl_Count ? E_PROP_ID_UNSUPPORTED : Rig_GetControlRange(c, min, max, step, def, caps);
}

HRESULT Put(int device, RigControl c, long value, long flags)
{
    return c == RigControl_Count ? E_PROP_ID_UNSUPPORTED : Rig_SetControl(device, c, value, flags);
}

HRESULT Read(int device, RigControl c, long *value, long *flags)
{
    return c == RigControl_Count ? E_PROP_ID_UNSUPPORTED : Rig_GetControl(device, c, value, flags);
}

// The processing unit's node object: its own COM object, as a KS node is.
class ProcessingNode : public ComObject<IVideoProcAmp, IID_IVideoProcAmp> {
public:
    explicit ProcessingNode(int device) : device(device) {}

#define RIG_NODE_PROPERTY(name, control)                                                                \
    STDMETHODIMP get_##name(long *value, long *flags) override { return Read(device, control, value, flags); } \
    STDMETHODIMP put_##name(long value, long flags) override { return Put(device, control, value, flags); }    \
    STDMETHODIMP getRange_##name(long *min, long *max, long *step, long *def, long *caps) override          \
    {                                                                                                   \
        return Range(control, min, max, step, def, caps);                                               \
    }
    RIG_NODE_PROPERTY(BacklightCompensation, RigControl_Backlight)
    RIG_NODE_PROPERTY(Brightness, RigControl_Brightness)
    RIG_NODE_PROPERTY(ColorEnable, RigControl_ColorEnable)
    RIG_NODE_PROPERTY(Contrast, RigControl_Contrast)
    RIG_NODE_PROPERTY(Gamma, RigControl_Gamma)
    RIG_NODE_PROPERTY(Saturation, RigControl_Saturation)
    RIG_NODE_PROPERTY(Sharpness, RigControl_Sharpness)
    RIG_NODE_PROPERTY(WhiteBalance, RigControl_WhiteBalance)
    RIG_NODE_PROPERTY(Gain, RigControl_Gain)
    RIG_NODE_PROPERTY(Hue, RigControl_Hue)
    RIG_NODE_PROPERTY(DigitalMultiplier, RigControl_Count)
    RIG_NODE_PROPERTY(PowerlineFrequency, RigControl_PowerLine)
#undef RIG_NODE_PROPERTY

    STDMETHODIMP get_WhiteBalanceComponent(long *, long *, long *) override { return E_PROP_ID_UNSUPPORTED; }
    STDMETHODIMP put_WhiteBalanceComponent(long, long, long) override { return E_PROP_ID_UNSUPPORTED; }
    STDMETHODIMP getRange_WhiteBalanceComponent(long *, long *, long *, long *, long *) override
    {
        return E_PROP_ID_UNSUPPORTED;
    }

private:
    int device;
};

} // namespace

STDMETHODIMP RigCameraControl::GetRange(long property, long *min, long *max, long *step, long *def, long *caps)
{
    return Range(Camera_Control(property), min, max, step, def, caps);
}

STDMETHODIMP RigCameraControl::Set(long property, long value, long flags)
{
    return Put(device, Camera_Control(property), value, flags);
}

STDMETHODIMP RigCameraControl::Get(long property, long *value, long *flags)
{
    return Read(device, Camera_Control(property), value, flags);
}

STDMETHODIMP RigProcAmp::GetRange(long property, long *min, long *max, long *step, long *def, long *caps)
{
    return Range(ProcAmp_Control(property), min, max, step, def, caps);
}

STDMETHODIMP RigProcAmp::Set(long property, long value, long flags)
{
    return Put(device, ProcAmp_Control(property), value, flags);
}

STDMETHODIMP RigProcAmp::Get(long property, long *value, long *flags)
{
    return Read(device, ProcAmp_Control(property), value, flags);
}

STDMETHODIMP RigTopology::get_NumCategories(DWORD *count)
{
    *count = ARRAYSIZE(kCategories);
    return S_OK;
}

STDMETHODIMP RigTopology::get_Category(DWORD index, GUID *category)
{
    if (index >= ARRAYSIZE(kCategories))
        return E_INVALIDARG;
    *category = kCategories[index];
    return S_OK;
}

STDMETHODIMP RigTopology::get_NumConnections(DWORD *count)
{
    *count = ARRAYSIZE(kConnections);
    return S_OK;
}

STDMETHODIMP RigTopology::get_ConnectionInfo(DWORD index, KSTOPOLOGY_CONNECTION *connection)
{
    if (index >= ARRAYSIZE(kConnections))
        return E_INVALIDARG;
    *connection = kConnections[index];
    return S_OK;
}

STDMETHODIMP RigTopology::get_NodeName(DWORD nodeId, WCHAR *name, DWORD bufferSize, DWORD *nameLength)
{
    if (nodeId >= ARRAYSIZE(kNodeNames))
        return E_INVALIDARG;
    DWORD bytes = (lstrlenW(kNodeNames[nodeId]) + 1) * sizeof(WCHAR);
    *nameLength = bytes;
    if (bufferSize < bytes)
        return HRESULT_FROM_WIN32(ERROR_MORE_DATA);
    memcpy(name, kNodeNames[nodeId], bytes);
    return S_OK;
}

STDMETHODIMP RigTopology::get_NumNodes(DWORD *count)
{
    *count = ARRAYSIZE(kNodeTypes);
    return S_OK;
}

STDMETHODIMP RigTopology::get_NodeType(DWORD nodeId, GUID *nodeType)
{
    if (nodeId >= ARRAYSIZE(kNodeTypes))
        return E_INVALIDARG;
    *nodeType = *kNodeTypes[nodeId];
    return S_OK;
}

STDMETHODIMP RigTopology::CreateNodeInstance(DWORD nodeId, REFIID iid, void **object)
{
    *object = nullptr;
    if (nodeId >= ARRAYSIZE(kNodeTypes))
        return E_INVALIDARG;
    if (nodeId != 1)
        return E_NOINTERFACE;
    auto *node = new ProcessingNode(device);
    HRESULT hr = node->QueryInterface(iid, object);
    node->Release();
    return hr;
}

void *RigControls::Find(REFIID iid)
{
    if (iid == IID_IAMCameraControl)
        return static_cast<IAMCameraControl *>(&camera);
    if (iid == IID_IAMVideoProcAmp)
        return static_cast<IAMVideoProcAmp *>(&procAmp);
    if (iid == IID_IKsTopologyInfo)
        return static_cast<IKsTopologyInfo *>(&topology);
    return nullptr;
}
