#include "rig_source.h"
#include "rig_codec.h"
#include "rig_shared.h"

#include <algorithm>
#include <cstring>

namespace {

// One capability of the capture pin.
struct RigCap {
    const GUID *subtype;
    LONG width, height;
    REFERENCE_TIME interval; // the fastest it runs
};

const REFERENCE_TIME k30Fps = 333333, k10Fps = 1000000, k5Fps = 2000000;
const REFERENCE_TIME kSlowest = 10000000; // 1 frame per second

// MJPG first, as UVC cameras list it; 320 x 240 sits between the larger
// sizes so that a reader's ordering and size filter are exercised. YUY2 runs
// slower at the large sizes, as over USB 2, and has a laptop panel's size
// last, whose rows carry padding once converted. The odd-sized MJPG format
// at the end is offered only with Rig_OfferUnusualFormats.
const RigCap kCaps[] = {
    {&MEDIASUBTYPE_MJPG, 640, 480, k30Fps},   {&MEDIASUBTYPE_MJPG, 320, 240, k30Fps},
    {&MEDIASUBTYPE_MJPG, 1280, 720, k30Fps},  {&MEDIASUBTYPE_MJPG, 1920, 1080, k30Fps},
    {&MEDIASUBTYPE_YUY2, 640, 480, k30Fps},   {&MEDIASUBTYPE_YUY2, 320, 240, k30Fps},
    {&MEDIASUBTYPE_YUY2, 1280, 720, k10Fps},  {&MEDIASUBTYPE_YUY2, 1920, 1080, k5Fps},
    {&MEDIASUBTYPE_YUY2, 1366, 768, k10Fps}, // RGB24 rows of 4098 bytes, padded to 4100
    {&MEDIASUBTYPE_MJPG, 1365, 767, k30Fps}, // rows of 4095 bytes, padded to 4096
};
const int kUsualCaps = ARRAYSIZE(kCaps) - 1;

bool Device_Unusual(int device) { return Rig_Device(device)->unusualFormats != 0; }

// The capabilities the device offers now: the usual ones, or all.
int Cap_Count(int device) { return Device_Unusual(device) ? ARRAYSIZE(kCaps) : kUsualCaps; }

const RigCap *Cap_Find(const AM_MEDIA_TYPE &mt, int device)
{
    const BITMAPINFOHEADER *bmi = MediaType_Bitmap(mt);
    if (!bmi)
        return nullptr;
    for (int i = 0; i < Cap_Count(device); i++) {
        const RigCap &cap = kCaps[i];
        if (*cap.subtype == mt.subtype && cap.width == bmi->biWidth && cap.height == bmi->biHeight)
            return &cap;
    }
    return nullptr;
}

AM_MEDIA_TYPE Cap_Type(const RigCap &cap, REFERENCE_TIME interval)
{
    return MediaType_Video(*cap.subtype, cap.width, cap.height, interval ? interval : cap.interval);
}

bool SameFormat(const AM_MEDIA_TYPE &a, const AM_MEDIA_TYPE &b)
{
    const BITMAPINFOHEADER *x = MediaType_Bitmap(a), *y = MediaType_Bitmap(b);
    return x && y && a.subtype == b.subtype && x->biWidth == y->biWidth && x->biHeight == y->biHeight;
}

} // namespace

RigSourcePin::RigSourcePin(RigSource *source, bool still)
    : RigOutputPin(source, still ? L"Still" : L"Capture"), source(source), still(still)
{
    stopEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

RigSourcePin::~RigSourcePin()
{
    StopStreaming();
    CloseHandle(stopEvent);
    MediaType_Clear(&format);
}

void *RigSourcePin::QueryExtra(REFIID iid)
{
    if (iid == IID_IKsPropertySet)
        return static_cast<IKsPropertySet *>(this);
    if (iid == IID_IAMStreamConfig && !still)
        return static_cast<IAMStreamConfig *>(this);
    return nullptr;
}

AM_MEDIA_TYPE RigSourcePin::CurrentType()
{
    AM_MEDIA_TYPE mt = {};
    if (IsConnected())
        MediaType_Copy(&mt, Type());
    else if (format.majortype != GUID_NULL)
        MediaType_Copy(&mt, format);
    else
        mt = Cap_Type(kCaps[0], 0);
    return mt;
}

bool RigSourcePin::Refusing()
{
    return Rig_Device(source->device)->refuse & (still ? RigRefuse_Still : RigRefuse_Capture);
}

std::vector<AM_MEDIA_TYPE> RigSourcePin::Offered()
{
    std::vector<AM_MEDIA_TYPE> types;
    if (Refusing())
        return types;
    if (still) {
        // The still image comes in the capture stream's compression and size.
        types.push_back(source->capturePin.CurrentType());
    } else if (format.majortype != GUID_NULL) {
        types.push_back({});
        MediaType_Copy(&types.back(), format);
    } else {
        for (int i = 0; i < Cap_Count(source->device); i++)
            types.push_back(Cap_Type(kCaps[i], 0));
    }
    return types;
}

bool RigSourcePin::Accepts(const AM_MEDIA_TYPE &mt)
{
    if (Refusing() || !Cap_Find(mt, source->device))
        return false;
    if (still) {
        AM_MEDIA_TYPE capture = source->capturePin.CurrentType();
        bool same = SameFormat(capture, mt);
        MediaType_Clear(&capture);
        return same;
    }
    return format.majortype == GUID_NULL || SameFormat(format, mt);
}

STDMETHODIMP RigSourcePin::SetFormat(AM_MEDIA_TYPE *mt)
{
    EnterCriticalSection(&filter->lock);
    HRESULT hr = S_OK;
    if (filter->State() != State_Stopped)
        hr = VFW_E_NOT_STOPPED;
    else if (!mt)
        MediaType_Clear(&format);
    else if (const RigCap *cap = Cap_Find(*mt, source->device); !cap)
        hr = VFW_E_INVALIDMEDIATYPE;
    else if ((Rig_Device(source->device)->refuse & RigRefuse_LargeFormats) && cap->width * cap->height > 1280 * 720)
        hr = E_FAIL;
    else if (IsConnected() && !SameFormat(Type(), *mt))
        hr = VFW_E_ALREADY_CONNECTED;
    else {
        REFERENCE_TIME interval = MediaType_Interval(*mt);
        interval = interval ? std::clamp(interval, cap->interval, kSlowest) : cap->interval;
        MediaType_Clear(&format);
        format = Cap_Type(*cap, interval);
    }
    LeaveCriticalSection(&filter->lock);
    return hr;
}

STDMETHODIMP RigSourcePin::GetFormat(AM_MEDIA_TYPE **mt)
{
    AM_MEDIA_TYPE current = CurrentType();
    *mt = MediaType_Duplicate(current);
    MediaType_Clear(&current);
    return *mt ? S_OK : E_OUTOFMEMORY;
}

// The malformed capabilities after the real ones (Rig_OfferUnusualFormats):
// a real 800 x 600 type, then damaged.
static AM_MEDIA_TYPE *Malformed_Type(int which)
{
    AM_MEDIA_TYPE type = MediaType_Video(which == 2 ? MEDIASUBTYPE_YUY2 : MEDIASUBTYPE_MJPG, 800, 600, k30Fps);
    AM_MEDIA_TYPE *mt = MediaType_Duplicate(type);
    MediaType_Clear(&type);
    BITMAPINFOHEADER &bmi = ((VIDEOINFOHEADER *)mt->pbFormat)->bmiHeader;
    switch (which) {
    case 0: mt->cbFormat = 60; break; // the header would end at byte 88
    case 1: bmi.biWidth = bmi.biHeight = 0; break;
    case 2: bmi.biWidth = -640; break;
    default: bmi.biWidth = bmi.biHeight = 65535; break;
    }
    return mt;
}

STDMETHODIMP RigSourcePin::GetNumberOfCapabilities(int *count, int *size)
{
    *count = Cap_Count(source->device) + (Device_Unusual(source->device) ? RIG_MALFORMED_FORMATS : 0);
    *size = sizeof(VIDEO_STREAM_CONFIG_CAPS);
    return S_OK;
}

STDMETHODIMP RigSourcePin::GetStreamCaps(int index, AM_MEDIA_TYPE **mt, BYTE *capsBytes)
{
    int count = 0, capsSize = 0;
    GetNumberOfCapabilities(&count, &capsSize);
    if (index < 0 || index >= count)
        return S_FALSE;
    if (index >= Cap_Count(source->device)) {
        *mt = Malformed_Type(index - Cap_Count(source->device));
        memset(capsBytes, 0, sizeof(VIDEO_STREAM_CONFIG_CAPS));
        return S_OK;
    }
    const RigCap &cap = kCaps[index];
    AM_MEDIA_TYPE type = Cap_Type(cap, 0);
    *mt = MediaType_Duplicate(type);
    MediaType_Clear(&type);

    const SIZE size = {cap.width, cap.height};
    const BITMAPINFOHEADER *bmi = MediaType_Bitmap(**mt);
    VIDEO_STREAM_CONFIG_CAPS caps = {};
    caps.guid = FORMAT_VideoInfo;
    caps.InputSize = caps.MinCroppingSize = caps.MaxCroppingSize = size;
    caps.CropGranularityX = caps.CropGranularityY = 1;
    caps.CropAlignX = caps.CropAlignY = 1;
    caps.MinOutputSize = caps.MaxOutputSize = size;
    caps.OutputGranularityX = caps.OutputGranularityY = 1;
    caps.MinFrameInterval = cap.interval;
    caps.MaxFrameInterval = kSlowest;
    caps.MinBitsPerSecond = (LONG)((LONGLONG)bmi->biSizeImage * 8 * 10000000 / kSlowest);
    caps.MaxBitsPerSecond = (LONG)((LONGLONG)bmi->biSizeImage * 8 * 10000000 / cap.interval);
    memcpy(capsBytes, &caps, sizeof caps);
    return S_OK;
}

STDMETHODIMP RigSourcePin::Set(REFGUID set, DWORD, void *, DWORD, void *, DWORD)
{
    return set == AMPROPSETID_Pin ? E_PROP_ID_UNSUPPORTED : E_PROP_SET_UNSUPPORTED;
}

STDMETHODIMP RigSourcePin::Get(REFGUID set, DWORD id, void *, DWORD, void *data, DWORD size, DWORD *returned)
{
    if (set != AMPROPSETID_Pin)
        return E_PROP_SET_UNSUPPORTED;
    if (id != AMPROPERTY_PIN_CATEGORY)
        return E_PROP_ID_UNSUPPORTED;
    if (!data || size < sizeof(GUID))
        return E_UNEXPECTED;
    *(GUID *)data = still ? PIN_CATEGORY_STILL : PIN_CATEGORY_CAPTURE;
    if (returned)
        *returned = sizeof(GUID);
    return S_OK;
}

STDMETHODIMP RigSourcePin::QuerySupported(REFGUID set, DWORD id, DWORD *support)
{
    if (set != AMPROPSETID_Pin)
        return E_PROP_SET_UNSUPPORTED;
    if (id != AMPROPERTY_PIN_CATEGORY)
        return E_PROP_ID_UNSUPPORTED;
    if (support)
        *support = KSPROPERTY_SUPPORT_GET;
    return S_OK;
}

HRESULT RigSourcePin::StartStreaming()
{
    if (!IsConnected() || thread)
        return S_OK;
    HRESULT hr = Commit();
    if (FAILED(hr))
        return hr;
    ResetEvent(stopEvent);
    thread = CreateThread(nullptr, 0, Thread, this, 0, nullptr);
    return thread ? S_OK : E_OUTOFMEMORY;
}

void RigSourcePin::StopStreaming()
{
    if (!thread)
        return;
    SetEvent(stopEvent);
    Decommit(); // wakes a thread waiting for a free buffer
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    thread = nullptr;
}

DWORD WINAPI RigSourcePin::Thread(void *pin)
{
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    ((RigSourcePin *)pin)->Stream();
    CoUninitialize();
    return 0;
}

// A real-time loop: capture frames at the frame interval (the connected
// type's, or Rig_SetFrameInterval's), still frames when the snapshot button
// is pressed. A capture frame is stamped with the time it was due, when the
// device took it, even when the thread comes to it a little late (it then
// goes out late, as a driver's buffered frame does); a thread more than
// three frames behind starts counting again, as a device drops frames
// nobody takes. Frames go out only while the graph runs and the device is
// plugged in.
void RigSourcePin::Stream()
{
    IWICImagingFactory *wic = Type().subtype == MEDIASUBTYPE_MJPG ? Wic_Create() : nullptr;
    RigDeviceShared *device = Rig_Device(source->device);
    const REFERENCE_TIME typeInterval = std::max<REFERENCE_TIME>(MediaType_Interval(Type()), k30Fps);
    HANDLE wake[2] = {stopEvent, Rig_StillEvent(source->device)};
    LONG stillsSeen = device->stillRequests;
    Scene scene;
    LONGLONG due = Rig_Now();
    for (unsigned index = 0;;) {
        REFERENCE_TIME interval = device->frameInterval ? device->frameInterval : typeInterval;
        if (still) {
            if (WaitForMultipleObjects(2, wake, FALSE, 20) == WAIT_OBJECT_0)
                break;
            if (device->stillRequests == stillsSeen)
                continue;
            stillsSeen++;
        } else {
            if (!WaitUntil(due))
                break;
            if (Rig_Now() - due > 3 * interval) // fell behind: start counting again from now
                due = Rig_Now();
        }
        if (!device->plugged && !source->lost) {
            source->lost = true;
            source->NotifyEvent(EC_DEVICE_LOST, (LONG_PTR)static_cast<IBaseFilter *>(source), 0);
        }
        if (filter->State() == State_Running && !source->lost) {
            LONG stall = still ? 0 : InterlockedExchange(&device->stall, 0);
            if (stall > 0 && !StallAndBurst(stall, &index, &due, interval, &scene, wic))
                break;
            SendFrame(Capture(index, still ? Rig_Now() : due), &scene, wic);
        }
        index++;
        due += interval;
    }
    if (wic)
        wic->Release();
}

bool RigSourcePin::WaitUntil(LONGLONG due)
{
    LONGLONG wait = due - Rig_Now();
    return WaitForSingleObject(stopEvent, wait > 0 ? (DWORD)(wait / 10000) : 0) != WAIT_OBJECT_0;
}

RigSourcePin::Frame RigSourcePin::Capture(unsigned index, LONGLONG at)
{
    RigDeviceShared *device = Rig_Device(source->device);
    Frame frame = {index, 0, false, 0};
    if (!still && device->numbering)
        frame.number = InterlockedIncrement(&device->captures);
    frame.stamped = filter->StreamTime(at, &frame.time);
    if (frame.number)
        device->log[frame.number % RIG_CAPTURE_LOG] = {frame.number, frame.stamped, frame.time};
    return frame;
}

// The streaming thread held up: the device goes on capturing at its rate,
// and the frames it took meanwhile go out one after the other once the
// thread runs again, each with its own capture time.
bool RigSourcePin::StallAndBurst(LONG milliseconds, unsigned *index, LONGLONG *due, REFERENCE_TIME interval,
                                 Scene *scene, IWICImagingFactory *wic)
{
    const LONGLONG end = Rig_Now() + (LONGLONG)milliseconds * 10000;
    std::vector<Frame> kept;
    while (*due < end) {
        if (!WaitUntil(*due))
            return false;
        kept.push_back(Capture((*index)++, *due));
        *due += interval;
    }
    if (!WaitUntil(end))
        return false;
    for (const Frame &frame : kept)
        SendFrame(frame, scene, wic);
    return WaitUntil(*due);
}

void RigSourcePin::SendFrame(const Frame &frame, Scene *scene, IWICImagingFactory *wic)
{
    IMediaSample *sample = nullptr;
    if (FAILED(GetBuffer(&sample)))
        return;
    const BITMAPINFOHEADER *bmi = MediaType_Bitmap(Type());
    BYTE *data = nullptr;
    sample->GetPointer(&data);
    long capacity = sample->GetSize(), length = 0;
    Scene_Prepare(scene, source->device, bmi->biWidth, bmi->biHeight);
    Scene_Paint(scene, frame.index, frame.number);
    if (Type().subtype == MEDIASUBTYPE_MJPG) {
        length = Jpeg_Encode(wic, scene->frame.data(), bmi->biWidth, bmi->biHeight, data, capacity);
    } else {
        length = std::min<long>(capacity, bmi->biWidth * bmi->biHeight * 2);
        memcpy(data, Scene_Yuy2(scene), length);
    }
    if (frame.stamped) {
        REFERENCE_TIME start = frame.time, end = frame.time + MediaType_Interval(Type());
        sample->SetTime(&start, &end);
    }
    sample->SetActualDataLength(length);
    sample->SetSyncPoint(TRUE);
    sample->SetDiscontinuity(frame.index == 0);
    if (length > 0 && Deliver(sample) != VFW_E_WRONG_STATE)
        InterlockedIncrement(still ? &Rig_Device(source->device)->stillFrames : &Rig_Device(source->device)->frames);
    sample->Release();
}

RigSource::RigSource(int device)
    : RigFilter(Rig_DeviceClsid(device)), device(device), capturePin(this, false), stillPin(this, true),
      controls(static_cast<IBaseFilter *>(this), device)
{
}

RigSource::~RigSource() { Deactivate(); }

HRESULT RigSource::Activate()
{
    HRESULT hr = capturePin.StartStreaming();
    if (SUCCEEDED(hr))
        hr = stillPin.StartStreaming();
    if (FAILED(hr))
        Deactivate();
    return hr;
}

void RigSource::Deactivate()
{
    capturePin.StopStreaming();
    stillPin.StopStreaming();
}
