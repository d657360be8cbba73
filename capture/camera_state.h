// gCamera: the capture record. It holds the open device and its capture
// graph, the device's formats and camera controls, the frame buffer the view
// shows, the picture flags, the current format and the measured frame rate.
#pragma once
#include "base/geometry.h"
#include "base/handles.h"
#include "capture/formats.h"
#include "state/settings_cameras.h"
#include <atomic>
#include <cstdint>
#include <vector>

// The platform's capture interfaces; only the Win32 capture code uses them.
struct IMoniker;
struct ICaptureGraphBuilder2;
struct IGraphBuilder;
struct IMediaControl;
struct IMediaEventEx;
struct IBaseFilter;
struct ISampleGrabber;
struct IPin;
struct IAMCameraControl;
struct IAMVideoProcAmp;
struct IVideoProcAmp;
struct SyncLock;

// One camera property: its range as the device reports it and its state.
struct ControlRange {
    int32_t min;
    int32_t max;
    int32_t step;
    int32_t defaultValue;
    int32_t flags; // 1 automatic, 2 manual
    int32_t value;
    int32_t autoSupported;
    int32_t autoOn;
    // The value the user last set by hand (or the camera had in manual mode),
    // offered back when automatic mode goes off; manualKnown 0: none.
    int32_t manualValue = 0;
    int32_t manualKnown = 0;
};

enum { CONTROL_FLAG_AUTO = 1, CONTROL_FLAG_MANUAL = 2 };

struct Camera {
    IMoniker *moniker;
    wchar_t devicePath[CAMERA_PATH_CAPACITY]; // the moniker's display name while a graph is built
    ICaptureGraphBuilder2 *captureBuilder;
    IGraphBuilder *graph; // non-null while a graph is built
    IMediaControl *mediaControl;
    IMediaEventEx *mediaEvent;
    IBaseFilter *captureFilter;
    IBaseFilter *mjpgDecoder;
    IBaseFilter *grabberFilter;
    IBaseFilter *grabberFilter2;
    IBaseFilter *nullRenderer;
    IBaseFilter *nullRenderer2;
    ISampleGrabber *grabber; // non-null while a preview runs
    ISampleGrabber *grabber2;
    IPin *captureOutPin, *stillPin, *mjpgInPin, *mjpgOutPin, *grabberInPin, *grabberOutPin, *nullInPin;
    FormatMap yuy2Formats;
    FormatMap mjpgFormats;

    IAMCameraControl *cameraControl;
    IAMVideoProcAmp *procAmp;
    IVideoProcAmp *videoProcAmp;
    ControlRange exposure, gain, whiteBalance, brightness, contrast, hue, saturation, sharpness,
        gamma, powerLineFrequency;

    // The processed frame the view takes next: frameSize bytes while a graph
    // runs, empty otherwise. The frame lock guards it and frameFresh, which
    // says that a frame was written into it since the view last took one.
    std::vector<uint8_t> frameBuffer;
    int32_t frameSize;
    std::atomic<uint32_t> framesRendered; // into frameBuffer, counting on (it wraps)
    SyncLock *frameLock;
    bool frameFresh;

    // Picture flags: written on the UI thread, read on the streaming thread.
    std::atomic<int32_t> mirror, flipVertical, gray, blackWhite, negative, emboss;

    VideoFormat currentFormat;
    BitmapHeader frameHeader;
    std::atomic<float> fps;
    HWND__ *viewWindow;
    // The view shows a held or still picture: a new frame asks no repaint.
    std::atomic<bool> viewHeld;
};

extern Camera gCamera;
