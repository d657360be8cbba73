// The sample-grabber callbacks of the preview stream (GrabberCallback) and
// of the still stream (GrabberCallback2). The grabbers keep their addresses
// for the whole run: static objects that count no references.
#pragma once
#include <windows.h>
#include <qedit.h>

// What both share: IUnknown without reference counts, and no SampleCB (the
// grabbers are told to call BufferCB).
class StaticGrabberCallback : public ISampleGrabberCB {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void **object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP SampleCB(double sampleTime, IMediaSample *sample) override;
};

// BufferCB runs the frame pipeline (Camera_PreviewFrame).
class GrabberCallback : public StaticGrabberCallback {
public:
    STDMETHODIMP BufferCB(double sampleTime, BYTE *buffer, LONG length) override;
};

// BufferCB tells the camera view that the snapshot button fired (Camera_StillFrame).
class GrabberCallback2 : public StaticGrabberCallback {
public:
    STDMETHODIMP BufferCB(double sampleTime, BYTE *buffer, LONG length) override;
};

extern GrabberCallback gGrabberCallback;
extern GrabberCallback2 gGrabberCallback2;
