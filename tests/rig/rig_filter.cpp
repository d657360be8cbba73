#include "rig_filter.h"

#include <algorithm>

LONGLONG Rig_Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return (LONGLONG)((double)t.QuadPart * 10000000.0 / (double)frequency.QuadPart);
}

RigFilter::RigFilter(const CLSID &clsid) : clsid(clsid)
{
    InitializeCriticalSection(&lock);
    InterlockedIncrement(&gRigObjects);
}

RigFilter::~RigFilter()
{
    if (clock)
        clock->Release();
    DeleteCriticalSection(&lock);
    InterlockedDecrement(&gRigObjects);
}

STDMETHODIMP RigFilter::QueryInterface(REFIID iid, void **out)
{
    if (iid == IID_IUnknown || iid == IID_IPersist || iid == IID_IMediaFilter || iid == IID_IBaseFilter)
        *out = static_cast<IBaseFilter *>(this);
    else
        *out = QueryExtra(iid);
    if (!*out)
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) RigFilter::AddRef() { return InterlockedIncrement(&refs); }

STDMETHODIMP_(ULONG) RigFilter::Release()
{
    LONG n = InterlockedDecrement(&refs);
    if (!n)
        delete this;
    return n;
}

STDMETHODIMP RigFilter::GetClassID(CLSID *out)
{
    *out = clsid;
    return S_OK;
}

STDMETHODIMP RigFilter::Stop()
{
    EnterCriticalSection(&lock);
    LONG was = InterlockedExchange(&state, State_Stopped);
    LeaveCriticalSection(&lock);
    if (was != State_Stopped)
        Deactivate();
    return S_OK;
}

STDMETHODIMP RigFilter::Pause()
{
    EnterCriticalSection(&lock);
    HRESULT hr = state == State_Stopped ? Activate() : S_OK;
    if (SUCCEEDED(hr))
        InterlockedExchange(&state, State_Paused);
    LeaveCriticalSection(&lock);
    return hr;
}

STDMETHODIMP RigFilter::Run(REFERENCE_TIME runStart)
{
    EnterCriticalSection(&lock);
    HRESULT hr = state == State_Stopped ? Activate() : S_OK;
    if (SUCCEEDED(hr)) {
        start = runStart;
        counterAtRun = Rig_Now();
        clockRead = clock && SUCCEEDED(clock->GetTime(&clockAtRun));
        InterlockedExchange(&state, State_Running);
    }
    LeaveCriticalSection(&lock);
    return hr;
}

STDMETHODIMP RigFilter::GetState(DWORD, FILTER_STATE *out)
{
    *out = State();
    // A live source has nothing to cue while paused.
    return IsLive() && *out == State_Paused ? VFW_S_CANT_CUE : S_OK;
}

STDMETHODIMP RigFilter::SetSyncSource(IReferenceClock *newClock)
{
    EnterCriticalSection(&lock);
    if (newClock)
        newClock->AddRef();
    if (clock)
        clock->Release();
    clock = newClock;
    clockRead = false; // until the next run reads it
    LeaveCriticalSection(&lock);
    return S_OK;
}

STDMETHODIMP RigFilter::GetSyncSource(IReferenceClock **out)
{
    EnterCriticalSection(&lock);
    *out = clock;
    if (clock)
        clock->AddRef();
    LeaveCriticalSection(&lock);
    return S_OK;
}

bool RigFilter::StreamTime(LONGLONG counter, REFERENCE_TIME *time)
{
    EnterCriticalSection(&lock);
    bool ok = clockRead;
    if (ok)
        *time = clockAtRun + (counter - counterAtRun) - start;
    LeaveCriticalSection(&lock);
    return ok;
}

void RigFilter::NotifyEvent(long code, LONG_PTR param1, LONG_PTR param2)
{
    if (sink)
        sink->Notify(code, param1, param2);
}

STDMETHODIMP RigFilter::EnumPins(IEnumPins **out)
{
    *out = EnumPins_Create(Pins());
    return S_OK;
}

STDMETHODIMP RigFilter::FindPin(LPCWSTR id, IPin **out)
{
    for (IPin *pin : Pins()) {
        LPWSTR pinId = nullptr;
        pin->QueryId(&pinId);
        bool same = lstrcmpW(pinId, id) == 0;
        CoTaskMemFree(pinId);
        if (same) {
            *out = pin;
            pin->AddRef();
            return S_OK;
        }
    }
    *out = nullptr;
    return VFW_E_NOT_FOUND;
}

STDMETHODIMP RigFilter::QueryFilterInfo(FILTER_INFO *info)
{
    Text_CopyTo(info->achName, MAX_FILTER_NAME, name);
    info->pGraph = graph;
    if (graph)
        graph->AddRef();
    return S_OK;
}

STDMETHODIMP RigFilter::JoinFilterGraph(IFilterGraph *newGraph, LPCWSTR newName)
{
    EnterCriticalSection(&lock);
    graph = newGraph;
    Text_CopyTo(name, MAX_FILTER_NAME, newName ? newName : L"");
    sink = nullptr;
    if (graph && SUCCEEDED(graph->QueryInterface(IID_IMediaEventSink, (void **)&sink)))
        sink->Release(); // the graph outlives its membership
    LeaveCriticalSection(&lock);
    return S_OK;
}

STDMETHODIMP RigFilter::QueryVendorInfo(LPWSTR *) { return E_NOTIMPL; }

RigOutputPin::RigOutputPin(RigFilter *filter, const wchar_t *pinId) : filter(filter)
{
    Text_CopyTo(id, 32, pinId);
}

RigOutputPin::~RigOutputPin() { Disconnect(); }

STDMETHODIMP RigOutputPin::QueryInterface(REFIID iid, void **out)
{
    if (iid == IID_IUnknown || iid == IID_IPin)
        *out = static_cast<IPin *>(this);
    else
        *out = QueryExtra(iid);
    if (!*out)
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP RigOutputPin::Connect(IPin *receiver, const AM_MEDIA_TYPE *wanted)
{
    if (!receiver)
        return E_POINTER;
    EnterCriticalSection(&filter->lock);
    HRESULT hr = VFW_E_NO_ACCEPTABLE_TYPES;
    if (peer)
        hr = VFW_E_ALREADY_CONNECTED;
    else if (filter->State() != State_Stopped)
        hr = VFW_E_NOT_STOPPED;
    else if (wanted && wanted->majortype != GUID_NULL && wanted->subtype != GUID_NULL &&
             wanted->formattype != GUID_NULL && wanted->pbFormat)
        hr = Accepts(*wanted) ? TryConnect(receiver, *wanted) : VFW_E_TYPE_NOT_ACCEPTED;
    else {
        std::vector<AM_MEDIA_TYPE> types = Offered();
        for (auto &mt : types) {
            if (!peer && (!wanted || MediaType_Matches(*wanted, mt)) && SUCCEEDED(TryConnect(receiver, mt)))
                hr = S_OK;
            MediaType_Clear(&mt);
        }
    }
    LeaveCriticalSection(&filter->lock);
    return hr;
}

HRESULT RigOutputPin::TryConnect(IPin *receiver, const AM_MEDIA_TYPE &mt)
{
    HRESULT hr = receiver->ReceiveConnection(this, &mt);
    if (FAILED(hr))
        return hr;
    peer = receiver;
    peer->AddRef();
    MediaType_Copy(&type, mt);
    hr = peer->QueryInterface(IID_IMemInputPin, (void **)&input);
    if (SUCCEEDED(hr)) {
        // The receiver's own allocator first; Wine's sample grabber has none,
        // then the standard memory allocator.
        IMemAllocator *offered = nullptr;
        hr = input->GetAllocator(&offered);
        if (SUCCEEDED(hr)) {
            hr = UseAllocator(offered);
            offered->Release();
        }
        if (FAILED(hr) && SUCCEEDED(hr = CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER,
                                                          IID_IMemAllocator, (void **)&offered))) {
            hr = UseAllocator(offered);
            offered->Release();
        }
    }
    if (FAILED(hr)) {
        receiver->Disconnect();
        Disconnect();
    }
    return hr;
}

HRESULT RigOutputPin::UseAllocator(IMemAllocator *candidate)
{
    ALLOCATOR_PROPERTIES wanted = {}, actual = {};
    input->GetAllocatorRequirements(&wanted);
    const BITMAPINFOHEADER *bmi = MediaType_Bitmap(type);
    LONG size = std::max<LONG>(type.lSampleSize, bmi ? (LONG)bmi->biSizeImage : 0);
    ALLOCATOR_PROPERTIES props = {std::max<LONG>(wanted.cBuffers, 4), std::max(wanted.cbBuffer, size),
                                  std::max<LONG>(wanted.cbAlign, 1), wanted.cbPrefix};
    HRESULT hr = candidate->SetProperties(&props, &actual);
    if (SUCCEEDED(hr) && actual.cbBuffer < size)
        hr = E_FAIL;
    if (SUCCEEDED(hr))
        hr = input->NotifyAllocator(candidate, FALSE);
    if (SUCCEEDED(hr)) {
        allocator = candidate;
        allocator->AddRef();
    }
    return hr;
}

STDMETHODIMP RigOutputPin::Disconnect()
{
    if (!peer)
        return S_FALSE;
    if (allocator)
        allocator->Release();
    if (input)
        input->Release();
    peer->Release();
    allocator = nullptr;
    input = nullptr;
    peer = nullptr;
    MediaType_Clear(&type);
    return S_OK;
}

STDMETHODIMP RigOutputPin::ConnectedTo(IPin **out)
{
    *out = peer;
    if (!peer)
        return VFW_E_NOT_CONNECTED;
    peer->AddRef();
    return S_OK;
}

STDMETHODIMP RigOutputPin::ConnectionMediaType(AM_MEDIA_TYPE *mt)
{
    if (!peer) {
        *mt = {};
        return VFW_E_NOT_CONNECTED;
    }
    return MediaType_Copy(mt, type);
}

STDMETHODIMP RigOutputPin::QueryPinInfo(PIN_INFO *info)
{
    info->pFilter = filter;
    filter->AddRef();
    info->dir = PINDIR_OUTPUT;
    Text_CopyTo(info->achName, MAX_PIN_NAME, id);
    return S_OK;
}

STDMETHODIMP RigOutputPin::QueryDirection(PIN_DIRECTION *direction)
{
    *direction = PINDIR_OUTPUT;
    return S_OK;
}

STDMETHODIMP RigOutputPin::QueryId(LPWSTR *out)
{
    size_t bytes = (lstrlenW(id) + 1) * sizeof(wchar_t);
    *out = (LPWSTR)CoTaskMemAlloc(bytes);
    if (!*out)
        return E_OUTOFMEMORY;
    memcpy(*out, id, bytes);
    return S_OK;
}

STDMETHODIMP RigOutputPin::QueryAccept(const AM_MEDIA_TYPE *mt) { return Accepts(*mt) ? S_OK : S_FALSE; }

STDMETHODIMP RigOutputPin::EnumMediaTypes(IEnumMediaTypes **out)
{
    std::vector<AM_MEDIA_TYPE> types = Offered();
    *out = EnumMediaTypes_Create(types);
    for (auto &mt : types)
        MediaType_Clear(&mt);
    return S_OK;
}

HRESULT RigOutputPin::Commit() { return allocator ? allocator->Commit() : S_OK; }

void RigOutputPin::Decommit()
{
    if (allocator)
        allocator->Decommit();
}

HRESULT RigOutputPin::GetBuffer(IMediaSample **sample)
{
    return allocator ? allocator->GetBuffer(sample, nullptr, nullptr, 0) : VFW_E_NOT_CONNECTED;
}

HRESULT RigOutputPin::Deliver(IMediaSample *sample) { return input ? input->Receive(sample) : VFW_E_NOT_CONNECTED; }
