#include "rig_graph.h"
#include "wine_support.h"
#include "rig_depth.h"

#include <dvdmedia.h>

// In strmiids, though MinGW's qedit.h does not declare them.
EXTERN_C const CLSID CLSID_SampleGrabber;
EXTERN_C const CLSID CLSID_NullRenderer;

namespace {

const CLSID kMjpgDecompressor = {0x301056d0, 0x6dff, 0x11d2, {0x9e, 0xeb, 0x00, 0x60, 0x08, 0x03, 0x9e, 0x37}};

template <class T>
void Release(T *&p)
{
    if (p)
        p->Release();
    p = nullptr;
}

void FreeType(AM_MEDIA_TYPE *mt)
{
    if (mt->cbFormat)
        CoTaskMemFree(mt->pbFormat);
    if (mt->pUnk)
        mt->pUnk->Release();
}

HRESULT Grabber_Add(IGraphBuilder *graph, const wchar_t *name, IBaseFilter **filter, ISampleGrabber **grabber)
{
    HRESULT hr = CoCreateInstance(CLSID_SampleGrabber, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, (void **)filter);
    if (SUCCEEDED(hr))
        hr = graph->AddFilter(*filter, name);
    if (SUCCEEDED(hr))
        hr = (*filter)->QueryInterface(IID_ISampleGrabber, (void **)grabber);
    AM_MEDIA_TYPE mt = {};
    mt.majortype = MEDIATYPE_Video;
    mt.subtype = MEDIASUBTYPE_RGB24;
    if (SUCCEEDED(hr))
        hr = (*grabber)->SetMediaType(&mt);
    return hr;
}

HRESULT Null_Add(IGraphBuilder *graph, const wchar_t *name, IBaseFilter **filter)
{
    HRESULT hr = CoCreateInstance(CLSID_NullRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, (void **)filter);
    return SUCCEEDED(hr) ? graph->AddFilter(*filter, name) : hr;
}

HRESULT Connect(IGraphBuilder *graph, IBaseFilter *from, IBaseFilter *to)
{
    IPin *out = Pin_Find(from, PINDIR_OUTPUT), *in = Pin_Find(to, PINDIR_INPUT);
    HRESULT hr = out && in ? graph->Connect(out, in) : E_FAIL;
    Release(out);
    Release(in);
    return hr;
}

HRESULT Grabber_Listen(ISampleGrabber *grabber, FrameGrab *grab)
{
    grabber->SetOneShot(FALSE);
    grabber->SetBufferSamples(TRUE);
    return grabber->SetCallback(grab, 1);
}

} // namespace

FrameGrab::FrameGrab() { InitializeCriticalSection(&lock); }
FrameGrab::~FrameGrab() { DeleteCriticalSection(&lock); }

STDMETHODIMP FrameGrab::QueryInterface(REFIID iid, void **out)
{
    if (iid == IID_IUnknown || iid == IID_ISampleGrabberCB) {
        *out = static_cast<ISampleGrabberCB *>(this);
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP FrameGrab::BufferCB(double, BYTE *buffer, long length)
{
    EnterCriticalSection(&lock);
    DWORD now = GetTickCount();
    if (!frames)
        firstTick = now;
    lastTick = now;
    if (frames && (last.size() != (size_t)length || memcmp(last.data(), buffer, length) != 0))
        changes++;
    last.assign(buffer, buffer + length);
    frames++;
    LeaveCriticalSection(&lock);
    return S_OK;
}

bool FrameGrab::WaitFrames(long count, DWORD timeout)
{
    DWORD end = GetTickCount() + timeout;
    while (Frames() < count && (LONG)(GetTickCount() - end) < 0)
        PumpMessages(10);
    return Frames() >= count;
}

long FrameGrab::Frames()
{
    EnterCriticalSection(&lock);
    long n = frames;
    LeaveCriticalSection(&lock);
    return n;
}

long FrameGrab::Changes()
{
    EnterCriticalSection(&lock);
    long n = changes;
    LeaveCriticalSection(&lock);
    return n;
}

std::vector<BYTE> FrameGrab::Last()
{
    EnterCriticalSection(&lock);
    std::vector<BYTE> copy = last;
    LeaveCriticalSection(&lock);
    return copy;
}

double FrameGrab::Fps()
{
    EnterCriticalSection(&lock);
    double fps = frames > 1 && lastTick != firstTick ? (frames - 1) * 1000.0 / (lastTick - firstTick) : 0;
    LeaveCriticalSection(&lock);
    return fps;
}

std::vector<MicroscopeEntry> Devices_List()
{
    std::vector<MicroscopeEntry> devices;
    ICreateDevEnum *enumerator = nullptr;
    IEnumMoniker *category = nullptr;
    CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum, (void **)&enumerator);
    if (!enumerator || enumerator->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, &category, 0) != S_OK) {
        Release(enumerator);
        return devices;
    }
    IMoniker *moniker = nullptr;
    while (category->Next(1, &moniker, nullptr) == S_OK) {
        MicroscopeEntry entry = {L"", L"", moniker};
        IPropertyBag *bag = nullptr;
        if (SUCCEEDED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, (void **)&bag))) {
            VARIANT name;
            VariantInit(&name);
            if (SUCCEEDED(bag->Read(L"FriendlyName", &name, nullptr)) && name.vt == VT_BSTR)
                entry.friendlyName = name.bstrVal;
            VariantClear(&name);
            bag->Release();
        }
        LPOLESTR display = nullptr;
        if (SUCCEEDED(moniker->GetDisplayName(nullptr, nullptr, &display))) {
            entry.displayName = display;
            CoTaskMemFree(display);
        }
        devices.push_back(entry);
    }
    category->Release();
    enumerator->Release();
    return devices;
}

void Devices_Free(std::vector<MicroscopeEntry> *devices)
{
    for (auto &d : *devices)
        d.moniker->Release();
    devices->clear();
}

bool Devices_Has(const wchar_t *friendlyName)
{
    std::vector<MicroscopeEntry> devices = Devices_List();
    bool found = false;
    for (auto &d : devices)
        found |= d.friendlyName == friendlyName;
    Devices_Free(&devices);
    return found;
}

IBaseFilter *Device_Bind(const wchar_t *friendlyName)
{
    std::vector<MicroscopeEntry> devices = Devices_List();
    IBaseFilter *filter = nullptr;
    for (auto &d : devices)
        if (!filter && d.friendlyName == friendlyName)
            d.moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, (void **)&filter);
    Devices_Free(&devices);
    return filter;
}

IPin *Pin_Find(IBaseFilter *filter, PIN_DIRECTION direction, int index)
{
    IEnumPins *pins = nullptr;
    IPin *pin = nullptr, *found = nullptr;
    if (!filter || FAILED(filter->EnumPins(&pins)))
        return nullptr;
    while (!found && pins->Next(1, &pin, nullptr) == S_OK) {
        PIN_DIRECTION d;
        pin->QueryDirection(&d);
        if (d == direction && index-- == 0)
            found = pin;
        else
            pin->Release();
    }
    pins->Release();
    return found;
}

HRESULT Device_SetFormat(IBaseFilter *filter, const GUID &subtype, int width, int height)
{
    IPin *pin = Pin_Find(filter, PINDIR_OUTPUT);
    IAMStreamConfig *config = nullptr;
    HRESULT hr = pin ? pin->QueryInterface(IID_IAMStreamConfig, (void **)&config) : E_FAIL;
    int count = 0, size = 0;
    if (SUCCEEDED(hr))
        hr = config->GetNumberOfCapabilities(&count, &size);
    HRESULT result = VFW_E_INVALIDMEDIATYPE;
    for (int i = 0; SUCCEEDED(hr) && i < count && result != S_OK; i++) {
        AM_MEDIA_TYPE *mt = nullptr;
        BYTE caps[128];
        if (config->GetStreamCaps(i, &mt, caps) != S_OK)
            break;
        auto *vih = (VIDEOINFOHEADER *)mt->pbFormat;
        if (mt->subtype == subtype && vih->bmiHeader.biWidth == width && vih->bmiHeader.biHeight == height)
            result = config->SetFormat(mt);
        FreeType(mt);
        CoTaskMemFree(mt);
    }
    Release(config);
    Release(pin);
    return FAILED(hr) ? hr : result;
}

RigGraph::~RigGraph()
{
    if (control)
        control->Stop();
    Release(grabber2);
    Release(grabber);
    Release(nullRenderer2);
    Release(grabberFilter2);
    Release(nullRenderer);
    Release(grabberFilter);
    Release(decoder);
    Release(source);
    Release(control);
    Release(builder);
    Release(graph);
}

HRESULT RigGraph::Build(IBaseFilter *capture, const GUID &subtype, int width, int height, bool withStill)
{
    source = capture;
    source->AddRef();
    HRESULT hr = Device_SetFormat(source, subtype, width, height);
    if (SUCCEEDED(hr))
        hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, (void **)&graph);
    if (SUCCEEDED(hr))
        hr = CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC_SERVER, IID_ICaptureGraphBuilder2,
                              (void **)&builder);
    if (SUCCEEDED(hr))
        hr = builder->SetFiltergraph(graph);
    if (SUCCEEDED(hr))
        hr = graph->QueryInterface(IID_IMediaControl, (void **)&control);
    if (SUCCEEDED(hr))
        hr = graph->AddFilter(source, L"Camera Input");
    bool mjpg = subtype == MEDIASUBTYPE_MJPG;
    if (SUCCEEDED(hr) && mjpg)
        hr = CoCreateInstance(kMjpgDecompressor, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, (void **)&decoder);
    if (SUCCEEDED(hr) && mjpg)
        hr = graph->AddFilter(decoder, L"Mjpg Filter");
    if (SUCCEEDED(hr))
        hr = Grabber_Add(graph, L"Sample Grabber", &grabberFilter, &grabber);
    if (SUCCEEDED(hr))
        hr = Null_Add(graph, L"Null Filter", &nullRenderer);
    if (SUCCEEDED(hr) && mjpg)
        hr = Connect(graph, source, decoder);
    if (SUCCEEDED(hr))
        hr = Connect(graph, mjpg ? decoder : source, grabberFilter);
    if (SUCCEEDED(hr))
        hr = Connect(graph, grabberFilter, nullRenderer);
    if (SUCCEEDED(hr))
        hr = Grabber_Listen(grabber, &preview);
    if (SUCCEEDED(hr) && withStill)
        hr = Grabber_Add(graph, L"Sample Grabber2", &grabberFilter2, &grabber2);
    if (SUCCEEDED(hr) && withStill)
        hr = Null_Add(graph, L"Null Filter2", &nullRenderer2);
    if (SUCCEEDED(hr) && withStill)
        hr = builder->RenderStream(&PIN_CATEGORY_STILL, &MEDIATYPE_Video, source, grabberFilter2, nullRenderer2);
    if (SUCCEEDED(hr) && withStill)
        hr = Grabber_Listen(grabber2, &still);
    return hr;
}

BITMAPINFOHEADER RigGraph::Connected(ISampleGrabber *which)
{
    AM_MEDIA_TYPE mt = {};
    BITMAPINFOHEADER bmi = {};
    if (SUCCEEDED(which->GetConnectedMediaType(&mt))) {
        if (mt.subtype == MEDIASUBTYPE_RGB24 && mt.formattype == FORMAT_VideoInfo)
            bmi = ((VIDEOINFOHEADER *)mt.pbFormat)->bmiHeader;
        FreeType(&mt);
    }
    return bmi;
}

const BYTE *Frame_Pixel(const std::vector<BYTE> &frame, int width, int height, int x, int y)
{
    size_t stride = ((size_t)width * 3 + 3) & ~(size_t)3;
    return &frame[(size_t)(height - 1 - y) * stride + (size_t)x * 3];
}

double Picture_Sharpness(const std::vector<BYTE> &bgr, int width, const DepthRect &r)
{
    auto g = [&](int x, int y) { return (double)bgr[((size_t)y * width + x) * 3 + 1]; };
    double sum = 0, squares = 0;
    int n = 0;
    for (int y = r.y0 + 1; y < r.y1 - 1; y++)
        for (int x = r.x0 + 1; x < r.x1 - 1; x++) {
            double l = 4 * g(x, y) - g(x - 1, y) - g(x + 1, y) - g(x, y - 1) - g(x, y + 1);
            sum += l, squares += l * l, n++;
        }
    return squares / n - (sum / n) * (sum / n);
}
