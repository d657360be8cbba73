#include "rig_transform.h"
#include "rig_codec.h"

namespace {

// The decoder runs on its upstream filter's streaming thread, which need not
// have COM; WIC wants it.
void Com_EnsureOnThread()
{
    static thread_local bool done = false;
    if (!done)
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    done = true;
}

} // namespace

RigInputPin::~RigInputPin() { Disconnect(); }

STDMETHODIMP RigInputPin::QueryInterface(REFIID iid, void **out)
{
    if (iid == IID_IUnknown || iid == IID_IPin)
        *out = static_cast<IPin *>(this);
    else if (iid == IID_IMemInputPin)
        *out = static_cast<IMemInputPin *>(this);
    else {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) RigInputPin::AddRef() { return owner->AddRef(); }
STDMETHODIMP_(ULONG) RigInputPin::Release() { return owner->Release(); }

STDMETHODIMP RigInputPin::ReceiveConnection(IPin *connector, const AM_MEDIA_TYPE *mt)
{
    if (!connector || !mt)
        return E_POINTER;
    EnterCriticalSection(&owner->lock);
    HRESULT hr = S_OK;
    if (peer)
        hr = VFW_E_ALREADY_CONNECTED;
    else if (owner->State() != State_Stopped)
        hr = VFW_E_NOT_STOPPED;
    else if (!owner->AcceptsInput(*mt))
        hr = VFW_E_TYPE_NOT_ACCEPTED;
    else {
        peer = connector;
        peer->AddRef();
        MediaType_Copy(&type, *mt);
    }
    LeaveCriticalSection(&owner->lock);
    return hr;
}

STDMETHODIMP RigInputPin::Disconnect()
{
    if (!peer)
        return S_FALSE;
    if (allocator)
        allocator->Release();
    peer->Release();
    allocator = nullptr;
    peer = nullptr;
    MediaType_Clear(&type);
    return S_OK;
}

STDMETHODIMP RigInputPin::ConnectedTo(IPin **out)
{
    *out = peer;
    if (!peer)
        return VFW_E_NOT_CONNECTED;
    peer->AddRef();
    return S_OK;
}

STDMETHODIMP RigInputPin::ConnectionMediaType(AM_MEDIA_TYPE *mt)
{
    if (!peer) {
        *mt = {};
        return VFW_E_NOT_CONNECTED;
    }
    return MediaType_Copy(mt, type);
}

STDMETHODIMP RigInputPin::QueryPinInfo(PIN_INFO *info)
{
    info->pFilter = owner;
    owner->AddRef();
    info->dir = PINDIR_INPUT;
    Text_CopyTo(info->achName, MAX_PIN_NAME, L"In");
    return S_OK;
}

STDMETHODIMP RigInputPin::QueryDirection(PIN_DIRECTION *direction)
{
    *direction = PINDIR_INPUT;
    return S_OK;
}

STDMETHODIMP RigInputPin::QueryId(LPWSTR *id)
{
    *id = (LPWSTR)CoTaskMemAlloc(sizeof L"In");
    if (!*id)
        return E_OUTOFMEMORY;
    memcpy(*id, L"In", sizeof L"In");
    return S_OK;
}

STDMETHODIMP RigInputPin::QueryAccept(const AM_MEDIA_TYPE *mt) { return owner->AcceptsInput(*mt) ? S_OK : S_FALSE; }

STDMETHODIMP RigInputPin::EnumMediaTypes(IEnumMediaTypes **out)
{
    *out = EnumMediaTypes_Create({});
    return S_OK;
}

STDMETHODIMP RigInputPin::EndOfStream()
{
    IPin *next = owner->outputPin.Peer();
    return next ? next->EndOfStream() : S_OK;
}

STDMETHODIMP RigInputPin::BeginFlush()
{
    IPin *next = owner->outputPin.Peer();
    return next ? next->BeginFlush() : S_OK;
}

STDMETHODIMP RigInputPin::EndFlush()
{
    IPin *next = owner->outputPin.Peer();
    return next ? next->EndFlush() : S_OK;
}

STDMETHODIMP RigInputPin::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate)
{
    IPin *next = owner->outputPin.Peer();
    return next ? next->NewSegment(start, stop, rate) : S_OK;
}

// The upstream pin brings its own allocator (the standard memory allocator).
STDMETHODIMP RigInputPin::GetAllocator(IMemAllocator **out)
{
    *out = nullptr;
    return VFW_E_NO_ALLOCATOR;
}

STDMETHODIMP RigInputPin::NotifyAllocator(IMemAllocator *newAllocator, BOOL)
{
    if (!newAllocator)
        return E_POINTER;
    newAllocator->AddRef();
    if (allocator)
        allocator->Release();
    allocator = newAllocator;
    return S_OK;
}

STDMETHODIMP RigInputPin::Receive(IMediaSample *sample) { return owner->Transform(sample); }

STDMETHODIMP RigInputPin::ReceiveMultiple(IMediaSample **samples, long count, long *processed)
{
    HRESULT hr = S_OK;
    *processed = 0;
    while (*processed < count && hr == S_OK)
        hr = Receive(samples[(*processed)++]);
    return hr;
}

RigRgbOutputPin::RigRgbOutputPin(RigTransform *owner) : RigOutputPin(owner, L"Out"), owner(owner) {}

std::vector<AM_MEDIA_TYPE> RigRgbOutputPin::Offered()
{
    const BITMAPINFOHEADER *in = MediaType_Bitmap(owner->inputPin.Type());
    if (!owner->inputPin.IsConnected() || !in)
        return {};
    return {MediaType_Video(MEDIASUBTYPE_RGB24, in->biWidth, in->biHeight, MediaType_Interval(owner->inputPin.Type()))};
}

bool RigRgbOutputPin::Accepts(const AM_MEDIA_TYPE &mt)
{
    const BITMAPINFOHEADER *in = MediaType_Bitmap(owner->inputPin.Type()), *out = MediaType_Bitmap(mt);
    return in && out && mt.subtype == MEDIASUBTYPE_RGB24 && out->biWidth == in->biWidth &&
           out->biHeight == in->biHeight && out->biBitCount == 24;
}

RigTransform::RigTransform(const CLSID &clsid, const GUID &input)
    : RigFilter(clsid), input(input), inputPin(this), outputPin(this)
{
}

RigTransform::~RigTransform()
{
    Deactivate();
    if (wic)
        wic->Release();
}

bool RigTransform::AcceptsInput(const AM_MEDIA_TYPE &mt) const
{
    const BITMAPINFOHEADER *bmi = MediaType_Bitmap(mt);
    return bmi && mt.subtype == input && bmi->biWidth > 0 && bmi->biHeight > 0 &&
           (input != MEDIASUBTYPE_YUY2 || bmi->biWidth % 2 == 0);
}

HRESULT RigTransform::Transform(IMediaSample *in)
{
    if (State() == State_Stopped)
        return VFW_E_WRONG_STATE;
    const BITMAPINFOHEADER *bmi = MediaType_Bitmap(inputPin.Type());
    if (!bmi || !outputPin.IsConnected())
        return VFW_E_NOT_CONNECTED;
    IMediaSample *out = nullptr;
    HRESULT hr = outputPin.GetBuffer(&out);
    if (FAILED(hr))
        return hr;
    BYTE *src = nullptr, *dst = nullptr;
    in->GetPointer(&src);
    out->GetPointer(&dst);
    LONG stride = Rgb24_Stride(bmi->biWidth);
    hr = Convert(src, in->GetActualDataLength(), bmi->biWidth, bmi->biHeight, dst, stride);
    if (SUCCEEDED(hr)) {
        REFERENCE_TIME start, stop;
        if (SUCCEEDED(in->GetTime(&start, &stop)))
            out->SetTime(&start, &stop);
        out->SetActualDataLength(stride * bmi->biHeight);
        out->SetSyncPoint(TRUE);
        out->SetDiscontinuity(in->IsDiscontinuity() == S_OK);
        hr = outputPin.Deliver(out);
    }
    out->Release();
    return hr;
}

HRESULT RigTransform::Convert(const BYTE *in, long length, int width, int height, BYTE *out, LONG stride)
{
    if (input == MEDIASUBTYPE_YUY2) {
        if (length < width * height * 2)
            return E_INVALIDARG;
        Yuy2_ToDib(in, width, height, out, stride);
        return S_OK;
    }
    Com_EnsureOnThread();
    if (!wic)
        wic = Wic_Create();
    return Jpeg_DecodeToDib(wic, in, length, width, height, out, stride);
}
