// The virtual microscope: a live capture source with a capture pin (MJPG and
// YUY2 in four sizes, IAMStreamConfig) and a still pin that sends one frame
// per press of the snapshot button (Rig_TriggerStill). Its camera controls
// are in rig_controls.h.
#pragma once
#include "rig_controls.h"
#include "rig_filter.h"
#include "rig_scene.h"

#include <wincodec.h>

class RigSource;

class RigSourcePin : public RigOutputPin, public IAMStreamConfig, public IKsPropertySet {
public:
    RigSourcePin(RigSource *source, bool still);
    ~RigSourcePin();

    STDMETHODIMP QueryInterface(REFIID iid, void **out) override { return RigOutputPin::QueryInterface(iid, out); }
    STDMETHODIMP_(ULONG) AddRef() override { return RigOutputPin::AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return RigOutputPin::Release(); }

    STDMETHODIMP SetFormat(AM_MEDIA_TYPE *mt) override;
    STDMETHODIMP GetFormat(AM_MEDIA_TYPE **mt) override;
    STDMETHODIMP GetNumberOfCapabilities(int *count, int *size) override;
    STDMETHODIMP GetStreamCaps(int index, AM_MEDIA_TYPE **mt, BYTE *caps) override;

    STDMETHODIMP Set(REFGUID set, DWORD id, void *instance, DWORD instanceSize, void *data, DWORD size) override;
    STDMETHODIMP Get(REFGUID set, DWORD id, void *instance, DWORD instanceSize, void *data, DWORD size,
                     DWORD *returned) override;
    STDMETHODIMP QuerySupported(REFGUID set, DWORD id, DWORD *support) override;

    HRESULT StartStreaming();
    void StopStreaming();
    // The type the pin sends or would send: the connected one, else the one
    // SetFormat chose, else the first capability.
    AM_MEDIA_TYPE CurrentType();

protected:
    std::vector<AM_MEDIA_TYPE> Offered() override;
    bool Accepts(const AM_MEDIA_TYPE &mt) override;
    void *QueryExtra(REFIID iid) override;

private:
    // A frame as the device captured it: its index in the stream, its number
    // (Rig_NumberFrames; 0: none) and its sample time, if the graph has a clock.
    struct Frame {
        unsigned index;
        LONG number;
        bool stamped;
        REFERENCE_TIME time;
    };

    static DWORD WINAPI Thread(void *pin);
    void Stream();
    // Waits until the performance-counter time `due`; false when told to stop.
    bool WaitUntil(LONGLONG due);
    // The frame the device captured at a moment of the performance counter.
    Frame Capture(unsigned index, LONGLONG at);
    bool StallAndBurst(LONG milliseconds, unsigned *index, LONGLONG *due, REFERENCE_TIME interval, Scene *scene,
                       IWICImagingFactory *wic);
    void SendFrame(const Frame &frame, Scene *scene, IWICImagingFactory *wic);
    // Rig_Refuse asked this pin to connect to nothing.
    bool Refusing();

    RigSource *source;
    bool still;
    HANDLE thread = nullptr;
    HANDLE stopEvent;
    AM_MEDIA_TYPE format = {}; // chosen by SetFormat; majortype GUID_NULL when none
};

class RigSource : public RigFilter {
public:
    explicit RigSource(int device);
    ~RigSource();

    const int device;
    RigSourcePin capturePin, stillPin;
    RigControls controls;
    bool lost = false; // unplugged while this instance existed

protected:
    std::vector<IPin *> Pins() override { return {&capturePin, &stillPin}; }
    void *QueryExtra(REFIID iid) override { return controls.Find(iid); }
    HRESULT Activate() override;
    void Deactivate() override;
    bool IsLive() override { return true; }
};
