// The converters Wine lacks: a one-in one-out filter that turns MJPG (decoded
// by WIC) or YUY2 into bottom-up RGB24. On Windows the system's MJPEG
// decompressor and colour converter do this and these are not registered.
#pragma once
#include "rig_filter.h"

#include <wincodec.h>

class RigTransform;

class RigInputPin : public IPin, public IMemInputPin {
public:
    explicit RigInputPin(RigTransform *owner) : owner(owner) {}
    ~RigInputPin();

    STDMETHODIMP QueryInterface(REFIID iid, void **out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP Connect(IPin *, const AM_MEDIA_TYPE *) override { return E_UNEXPECTED; }
    STDMETHODIMP ReceiveConnection(IPin *connector, const AM_MEDIA_TYPE *mt) override;
    STDMETHODIMP Disconnect() override;
    STDMETHODIMP ConnectedTo(IPin **out) override;
    STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE *mt) override;
    STDMETHODIMP QueryPinInfo(PIN_INFO *info) override;
    STDMETHODIMP QueryDirection(PIN_DIRECTION *direction) override;
    STDMETHODIMP QueryId(LPWSTR *id) override;
    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE *mt) override;
    STDMETHODIMP EnumMediaTypes(IEnumMediaTypes **out) override;
    STDMETHODIMP QueryInternalConnections(IPin **, ULONG *) override { return E_NOTIMPL; }
    STDMETHODIMP EndOfStream() override;
    STDMETHODIMP BeginFlush() override;
    STDMETHODIMP EndFlush() override;
    STDMETHODIMP NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

    STDMETHODIMP GetAllocator(IMemAllocator **out) override;
    STDMETHODIMP NotifyAllocator(IMemAllocator *allocator, BOOL readOnly) override;
    STDMETHODIMP GetAllocatorRequirements(ALLOCATOR_PROPERTIES *) override { return E_NOTIMPL; }
    STDMETHODIMP Receive(IMediaSample *sample) override;
    STDMETHODIMP ReceiveMultiple(IMediaSample **samples, long count, long *processed) override;
    STDMETHODIMP ReceiveCanBlock() override { return S_OK; }

    bool IsConnected() const { return peer != nullptr; }
    const AM_MEDIA_TYPE &Type() const { return type; }

private:
    RigTransform *owner;
    IPin *peer = nullptr;
    IMemAllocator *allocator = nullptr;
    AM_MEDIA_TYPE type = {};
};

class RigRgbOutputPin : public RigOutputPin {
public:
    explicit RigRgbOutputPin(RigTransform *owner);

protected:
    std::vector<AM_MEDIA_TYPE> Offered() override;
    bool Accepts(const AM_MEDIA_TYPE &mt) override;

private:
    RigTransform *owner;
};

class RigTransform : public RigFilter {
public:
    // `input` is MEDIASUBTYPE_MJPG or MEDIASUBTYPE_YUY2.
    RigTransform(const CLSID &clsid, const GUID &input);
    ~RigTransform();

    const GUID input;
    RigInputPin inputPin;
    RigRgbOutputPin outputPin;

    bool AcceptsInput(const AM_MEDIA_TYPE &mt) const;
    HRESULT Transform(IMediaSample *in);

protected:
    std::vector<IPin *> Pins() override { return {&inputPin, &outputPin}; }
    HRESULT Activate() override { return outputPin.Commit(); }
    void Deactivate() override { outputPin.Decommit(); }

private:
    HRESULT Convert(const BYTE *in, long length, int width, int height, BYTE *out, LONG stride);

    IWICImagingFactory *wic = nullptr; // made on the first MJPG frame
};
