// Capture graphs over the virtual microscope for the Win32 tests, built the
// way the program builds its own: capture filter -> (MJPEG decompressor) ->
// sample grabber (RGB24) -> null renderer, and the still pin through
// ICaptureGraphBuilder2::RenderStream.
#pragma once
#include <windows.h>
#include <dshow.h>
#include <qedit.h>
#include <string>
#include <vector>

// Counts and keeps the frames a sample grabber hands over.
class FrameGrab : public ISampleGrabberCB {
public:
    FrameGrab();
    ~FrameGrab();
    STDMETHODIMP QueryInterface(REFIID iid, void **out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP SampleCB(double, IMediaSample *) override { return E_NOTIMPL; }
    STDMETHODIMP BufferCB(double time, BYTE *buffer, long length) override;

    // Waits (pumping messages) until `count` frames in all have arrived.
    bool WaitFrames(long count, DWORD timeout);
    long Frames();
    long Changes(); // frames that differed from the one before
    std::vector<BYTE> Last();
    double Fps(); // over the frames received so far

private:
    CRITICAL_SECTION lock;
    long frames = 0, changes = 0;
    DWORD firstTick = 0, lastTick = 0;
    std::vector<BYTE> last;
};

struct MicroscopeEntry {
    std::wstring friendlyName, displayName;
    IMoniker *moniker;
};
// Every device of the video-input category (monikers owned by the caller).
std::vector<MicroscopeEntry> Devices_List();
void Devices_Free(std::vector<MicroscopeEntry> *devices);
bool Devices_Has(const wchar_t *friendlyName);
// Binds the capture filter of the device with this friendly name.
IBaseFilter *Device_Bind(const wchar_t *friendlyName);

IPin *Pin_Find(IBaseFilter *filter, PIN_DIRECTION direction, int index = 0);
// Applies the capture pin's capability with this subtype and size.
HRESULT Device_SetFormat(IBaseFilter *filter, const GUID &subtype, int width, int height);

struct RigGraph {
    IGraphBuilder *graph = nullptr;
    ICaptureGraphBuilder2 *builder = nullptr;
    IMediaControl *control = nullptr;
    IBaseFilter *source = nullptr, *decoder = nullptr, *grabberFilter = nullptr, *nullRenderer = nullptr;
    IBaseFilter *grabberFilter2 = nullptr, *nullRenderer2 = nullptr;
    ISampleGrabber *grabber = nullptr, *grabber2 = nullptr;
    FrameGrab preview, still;

    ~RigGraph();
    // The preview path for `subtype` at width x height into an RGB24
    // grabber, with the still path when asked. Returns the first failure.
    HRESULT Build(IBaseFilter *capture, const GUID &subtype, int width, int height, bool withStill);
    // The preview grabber's connected bitmap header.
    BITMAPINFOHEADER Connected(ISampleGrabber *which);
};

// A pixel of a bottom-up RGB24 frame, addressed top-down: {b, g, r}.
const BYTE *Frame_Pixel(const std::vector<BYTE> &frame, int width, int height, int x, int y);

// How sharp a picture is inside a rectangle (rig_depth.h): the variance of
// the Laplacian of the green channel of top-down BGR rows of `width` pixels.
struct DepthRect;
double Picture_Sharpness(const std::vector<BYTE> &bgr, int width, const DepthRect &r);
