#include "rig_shared.h"
#include "rig_depth.h"

#include <dshow.h>
#include <algorithm>
#include <cwchar>

// {59A3E6BE-D944-4FEE-A3FF-E3796FA146ED}
const CLSID CLSID_QuorellRigMicroscope1 = {0x59a3e6be, 0xd944, 0x4fee, {0xa3, 0xff, 0xe3, 0x79, 0x6f, 0xa1, 0x46, 0xed}};
// {C2F242EB-97D3-478F-A626-83D1D9516428}
const CLSID CLSID_QuorellRigMicroscope2 = {0xc2f242eb, 0x97d3, 0x478f, {0xa6, 0x26, 0x83, 0xd1, 0xd9, 0x51, 0x64, 0x28}};
// {F80007C4-650F-4505-A8D8-B7C39C5DE189}
const CLSID CLSID_QuorellRigYuy2Converter = {0xf80007c4, 0x650f, 0x4505, {0xa8, 0xd8, 0xb7, 0xc3, 0x9c, 0x5d, 0xe1, 0x89}};
// {301056D0-6DFF-11D2-9EEB-006008039E37}
const CLSID CLSID_QuorellRigMjpgDecoder = {0x301056d0, 0x6dff, 0x11d2, {0x9e, 0xeb, 0x00, 0x60, 0x08, 0x03, 0x9e, 0x37}};

static const wchar_t *const kNames[RIG_DEVICE_COUNT] = {L"Quorell Virtual Microscope", L"Quorell Virtual Microscope 2"};
static const wchar_t *const kInstances[RIG_DEVICE_COUNT] = {L"{59A3E6BE-D944-4FEE-A3FF-E3796FA146ED}",
                                                            L"{C2F242EB-97D3-478F-A626-83D1D9516428}"};

// Typical UVC webcam ranges; exposure is in log2 seconds, so negative.
// Automatic exposure meters the scene one step brighter than the default;
// automatic white balance finds the scene's neutral light.
static const RigRange kRanges[RigControl_Count] = {
    /* brightness    */ {1, -64, 64, 1, 0, 2, 2, 0},
    /* contrast      */ {1, 0, 64, 1, 32, 2, 2, 32},
    /* hue           */ {1, -40, 40, 1, 0, 2, 2, 0},
    /* saturation    */ {1, 0, 200000, 1, 100000, 2, 2, 100000}, // wider than 16 bits
    /* sharpness     */ {1, 0, 6, 1, 3, 2, 2, 3},
    /* gamma         */ {1, 72, 500, 1, 100, 2, 2, 100},
    /* color enable  */ {0, 0, 0, 0, 0, 0, 0, 0},
    /* white balance */ {1, 2800, 6500, 1, 4600, 3, 1, 4600},
    /* backlight     */ {0, 0, 0, 0, 0, 0, 0, 0},
    /* gain          */ {1, 0, 100, 1, 0, 2, 2, 0},
    /* exposure      */ {1, -13, -1, 1, -6, 3, 2, -5},
    /* power line    */ {1, 1, 2, 1, 1, 2, 2, 1},
    /* focus         */ {1, RIG_FOCUS_MIN, RIG_FOCUS_MAX, 1, RIG_FOCUS_DEFAULT, 2, 2, RIG_FOCUS_DEFAULT},
};

const wchar_t *Rig_DeviceName(int device) { return kNames[device]; }
const wchar_t *Rig_DeviceInstance(int device) { return kInstances[device]; }
const CLSID &Rig_DeviceClsid(int device) { return device == 0 ? CLSID_QuorellRigMicroscope1 : CLSID_QuorellRigMicroscope2; }
const RigRange &Rig_ControlRange(RigControl control) { return kRanges[control]; }
int Rig_PixelsPerMm(int width) { return width / 32; }

static void Device_Reset(RigDeviceShared *d)
{
    for (int c = 0; c < RigControl_Count; c++)
        d->control[c] = {kRanges[c].def, kRanges[c].flags, 0, 0, 0};
    d->relief = 0;
    InterlockedIncrement(&d->toneVersion);
}

RigShared *Rig_Shared()
{
    static RigShared *shared = [] {
        HANDLE map = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(RigShared),
                                        L"QuorellRig.Shared");
        bool created = GetLastError() != ERROR_ALREADY_EXISTS;
        auto *s = (RigShared *)MapViewOfFile(map, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(RigShared));
        if (created) {
            for (auto &d : s->device) {
                Device_Reset(&d);
                d.plugged = 1;
            }
            InterlockedExchange(&s->ready, 1);
        }
        while (InterlockedCompareExchange(&s->ready, 1, 1) != 1)
            Sleep(1);
        return s;
    }();
    return shared;
}

RigDeviceShared *Rig_Device(int device) { return &Rig_Shared()->device[device]; }

HANDLE Rig_StillEvent(int device)
{
    static HANDLE events[RIG_DEVICE_COUNT];
    if (!events[device]) {
        wchar_t name[64];
        swprintf(name, 64, L"QuorellRig.Still.%d", device + 1);
        events[device] = CreateEventW(nullptr, FALSE, FALSE, name);
    }
    return events[device];
}

void Rig_TriggerStill(int device)
{
    InterlockedIncrement(&Rig_Device(device)->stillRequests);
    SetEvent(Rig_StillEvent(device));
}

HRESULT Rig_SetControl(int device, RigControl control, LONG value, LONG flags)
{
    const RigRange &r = kRanges[control];
    RigControlShared &c = Rig_Device(device)->control[control];
    c.lastValue = value;
    c.lastFlags = flags;
    InterlockedIncrement(&c.writes);
    if (!r.supported)
        return E_PROP_ID_UNSUPPORTED;
    if (flags & 1) {
        if (!(r.caps & 1))
            return E_INVALIDARG;
        c.value = r.automatic;
        c.flags = 1;
    } else {
        if (value < r.min || value > r.max)
            return E_INVALIDARG;
        c.value = value;
        c.flags = 2;
    }
    InterlockedIncrement(&Rig_Device(device)->toneVersion);
    return S_OK;
}

HRESULT Rig_GetControl(int device, RigControl control, LONG *value, LONG *flags)
{
    if (!kRanges[control].supported)
        return E_PROP_ID_UNSUPPORTED;
    const RigControlShared &c = Rig_Device(device)->control[control];
    *value = c.value;
    *flags = c.flags;
    return S_OK;
}

HRESULT Rig_GetControlRange(RigControl control, LONG *min, LONG *max, LONG *step, LONG *def, LONG *caps)
{
    const RigRange &r = kRanges[control];
    if (!r.supported)
        return E_PROP_ID_UNSUPPORTED;
    *min = r.min;
    *max = r.max;
    *step = r.step;
    *def = r.def;
    *caps = r.caps;
    return S_OK;
}

RigWrite Rig_LastWrite(int device, RigControl control)
{
    const RigControlShared &c = Rig_Device(device)->control[control];
    return {c.lastValue, c.lastFlags, c.writes, c.value, c.flags};
}

void Rig_ResetControls(int device) { Device_Reset(Rig_Device(device)); }

void Rig_Refuse(int device, LONG what) { InterlockedExchange(&Rig_Device(device)->refuse, what); }

void Rig_OfferUnusualFormats(int device, bool on)
{
    InterlockedExchange(&Rig_Device(device)->unusualFormats, on);
}

RigCounters Rig_Counters(int device)
{
    const RigDeviceShared *d = Rig_Device(device);
    return {d->frames, d->stillRequests, d->stillFrames};
}

void Rig_SetFrameInterval(int device, LONG interval)
{
    InterlockedExchange(&Rig_Device(device)->frameInterval, interval);
}

void Rig_Stall(int device, LONG milliseconds)
{
    InterlockedExchange(&Rig_Device(device)->stall, milliseconds);
}

void Rig_NumberFrames(int device, bool on)
{
    InterlockedExchange(&Rig_Device(device)->numbering, on);
}

void Rig_ShowRelief(int device, bool on)
{
    RigDeviceShared *d = Rig_Device(device);
    InterlockedExchange(&d->relief, on);
    InterlockedIncrement(&d->toneVersion);
}

int Rig_CaptureLog(int device, RigCapture *captures, int capacity)
{
    const RigDeviceShared *d = Rig_Device(device);
    LONG last = d->captures;
    int count = 0;
    for (LONG n = std::max<LONG>(1, last - RIG_CAPTURE_LOG + 1); n <= last && count < capacity; n++) {
        const RigCapture &kept = d->log[n % RIG_CAPTURE_LOG];
        if (kept.number == n)
            captures[count++] = kept;
    }
    return count;
}
