#include "capture/grabber_callbacks_win.h"

#include "capture/frame_pipeline.h"

GrabberCallback gGrabberCallback;
GrabberCallback2 gGrabberCallback2;

STDMETHODIMP StaticGrabberCallback::QueryInterface(REFIID iid, void **object)
{
    if (!object)
        return E_POINTER;
    if (!IsEqualIID(iid, __uuidof(ISampleGrabberCB)) && !IsEqualIID(iid, IID_IUnknown))
        return E_NOINTERFACE;
    *object = static_cast<ISampleGrabberCB *>(this);
    return S_OK;
}

STDMETHODIMP_(ULONG) StaticGrabberCallback::AddRef()
{
    return 1;
}

STDMETHODIMP_(ULONG) StaticGrabberCallback::Release()
{
    return 2;
}

STDMETHODIMP StaticGrabberCallback::SampleCB(double, IMediaSample *)
{
    return E_NOTIMPL;
}

STDMETHODIMP GrabberCallback::BufferCB(double sampleTime, BYTE *buffer, LONG length)
{
    return Camera_PreviewFrame(sampleTime, buffer, length);
}

STDMETHODIMP GrabberCallback2::BufferCB(double sampleTime, BYTE *buffer, LONG length)
{
    return Camera_StillFrame(sampleTime, buffer, length);
}
