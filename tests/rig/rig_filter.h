// The parts every rig filter shares: IBaseFilter with its state machine, and
// an output pin that connects, negotiates an allocator and delivers samples.
// Pins are members of their filter and count references on it.
#pragma once
#include "rig_com.h"

// The performance counter in 100-ns units.
LONGLONG Rig_Now();

class RigFilter : public IBaseFilter {
public:
    explicit RigFilter(const CLSID &clsid);
    virtual ~RigFilter();

    STDMETHODIMP QueryInterface(REFIID iid, void **out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP GetClassID(CLSID *clsid) override;
    STDMETHODIMP Stop() override;
    STDMETHODIMP Pause() override;
    STDMETHODIMP Run(REFERENCE_TIME start) override;
    STDMETHODIMP GetState(DWORD timeout, FILTER_STATE *state) override;
    STDMETHODIMP SetSyncSource(IReferenceClock *clock) override;
    STDMETHODIMP GetSyncSource(IReferenceClock **clock) override;
    STDMETHODIMP EnumPins(IEnumPins **out) override;
    STDMETHODIMP FindPin(LPCWSTR id, IPin **out) override;
    STDMETHODIMP QueryFilterInfo(FILTER_INFO *info) override;
    STDMETHODIMP JoinFilterGraph(IFilterGraph *graph, LPCWSTR name) override;
    STDMETHODIMP QueryVendorInfo(LPWSTR *info) override;

    // Readable from any thread without the lock.
    FILTER_STATE State() const { return (FILTER_STATE)state; }
    // The stream time at a moment of the performance counter (Rig_Now), in
    // 100 ns: the graph clock's time less the run's start. The clock is read
    // once at the run's start and carried on by the performance counter, as
    // a camera's driver stamps frames with a precise clock (Wine's system
    // clock counts the tick count, which lags hundreds of milliseconds on a
    // busy machine). False without a clock.
    bool StreamTime(LONGLONG counter, REFERENCE_TIME *time);
    void NotifyEvent(long code, LONG_PTR param1, LONG_PTR param2);

    CRITICAL_SECTION lock; // connections and state changes

protected:
    virtual std::vector<IPin *> Pins() = 0; // without references
    virtual void *QueryExtra(REFIID) { return nullptr; }
    virtual HRESULT Activate() { return S_OK; } // leaving the stopped state
    virtual void Deactivate() {}                // entering it; called without the lock
    virtual bool IsLive() { return false; }

private:
    LONG refs = 1;
    CLSID clsid;
    volatile LONG state = State_Stopped;
    REFERENCE_TIME start = 0;
    IReferenceClock *clock = nullptr;
    bool clockRead = false;           // the clock's time at the run's start is known:
    REFERENCE_TIME clockAtRun = 0;    // that time
    LONGLONG counterAtRun = 0;        // and Rig_Now() then
    IFilterGraph *graph = nullptr;    // the graph holds us, not we it
    IMediaEventSink *sink = nullptr;  // likewise
    wchar_t name[MAX_FILTER_NAME] = L"";
};

class RigOutputPin : public IPin {
public:
    RigOutputPin(RigFilter *filter, const wchar_t *id);
    virtual ~RigOutputPin();

    STDMETHODIMP QueryInterface(REFIID iid, void **out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return filter->AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return filter->Release(); }
    STDMETHODIMP Connect(IPin *receiver, const AM_MEDIA_TYPE *wanted) override;
    STDMETHODIMP ReceiveConnection(IPin *, const AM_MEDIA_TYPE *) override { return E_UNEXPECTED; }
    STDMETHODIMP Disconnect() override;
    STDMETHODIMP ConnectedTo(IPin **out) override;
    STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE *mt) override;
    STDMETHODIMP QueryPinInfo(PIN_INFO *info) override;
    STDMETHODIMP QueryDirection(PIN_DIRECTION *direction) override;
    STDMETHODIMP QueryId(LPWSTR *id) override;
    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE *mt) override;
    STDMETHODIMP EnumMediaTypes(IEnumMediaTypes **out) override;
    STDMETHODIMP QueryInternalConnections(IPin **, ULONG *) override { return E_NOTIMPL; }
    STDMETHODIMP EndOfStream() override { return E_UNEXPECTED; }
    STDMETHODIMP BeginFlush() override { return E_UNEXPECTED; }
    STDMETHODIMP EndFlush() override { return E_UNEXPECTED; }
    STDMETHODIMP NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) override { return S_OK; }

    bool IsConnected() const { return peer != nullptr; }
    IPin *Peer() const { return peer; }
    const AM_MEDIA_TYPE &Type() const { return type; }
    HRESULT Commit();
    void Decommit();
    HRESULT GetBuffer(IMediaSample **sample);
    HRESULT Deliver(IMediaSample *sample);

protected:
    // The types the pin proposes, best first; the caller clears them.
    virtual std::vector<AM_MEDIA_TYPE> Offered() = 0;
    virtual bool Accepts(const AM_MEDIA_TYPE &mt) = 0;
    virtual void *QueryExtra(REFIID) { return nullptr; }

    RigFilter *filter;

private:
    HRESULT TryConnect(IPin *receiver, const AM_MEDIA_TYPE &mt);
    HRESULT UseAllocator(IMemAllocator *allocator);

    wchar_t id[32];
    IPin *peer = nullptr;
    IMemInputPin *input = nullptr;
    IMemAllocator *allocator = nullptr;
    AM_MEDIA_TYPE type = {};
};
