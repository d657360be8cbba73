// The capture graph of the open camera: capture filter -> (MJPEG
// decompressor) -> sample grabber (RGB24) -> null renderer, and the still
// stream into a second grabber when the device has a still pin.
#include "capture/camera_graph.h"
#include "capture/frame_layout.h"

#include "base/platform.h"
#include "base/text.h"
#include "capture/camera_controls_win.h"
#include "capture/dshow_win.h"
#include "capture/grabber_callbacks_win.h"
#include "capture/media_format.h"
#include "base/sync.h"

#include <qedit.h>
#include <cstdlib>
#include <new>

static const CLSID CLSID_MjpegDecompressor = {0x301056D0, 0x6DFF, 0x11D2, {0x9E, 0xEB, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};
static const DWORD kInProcess = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER;

static bool IsYuy2OrMjpg(const ClassId &subtype)
{
    return ClassId_Equal(subtype, kSubtypeMjpg) || ClassId_Equal(subtype, kSubtypeYuy2);
}

// Chooses the format to open: the requested one when the device has it,
// otherwise the device's default, once.
static bool ApplyRequestedFormat()
{
    if (!IsYuy2OrMjpg(gRequestedFormat.subtype))
        gRequestedFormat.subtype = kSubtypeMjpg;
    if (gRequestedFormat.width == 0 || gRequestedFormat.height == 0) {
        Camera_EnsureFormats();
        Camera_ChooseDefaultFormat();
    }
    if (Camera_SetFormat(gRequestedFormat))
        return true;
    Debug_Print(L"Camera_SetFormat FAILED, try again...\r\n");
    Camera_EnsureFormats();
    Camera_ChooseDefaultFormat();
    if (Camera_SetFormat(gRequestedFormat))
        return true;
    Debug_Print(L"Camera_SetFormat FAILED.\r\n");
    return false;
}

static bool CreateGraph()
{
    return SUCCEEDED(CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, kInProcess, IID_ICaptureGraphBuilder2,
                                      (void **)&gCamera.captureBuilder)) &&
           SUCCEEDED(CoCreateInstance(CLSID_FilterGraph, nullptr, kInProcess, IID_IGraphBuilder,
                                      (void **)&gCamera.graph)) &&
           SUCCEEDED(gCamera.graph->QueryInterface(IID_IMediaControl, (void **)&gCamera.mediaControl)) &&
           SUCCEEDED(gCamera.graph->QueryInterface(IID_IMediaEventEx, (void **)&gCamera.mediaEvent)) &&
           SUCCEEDED(gCamera.captureBuilder->SetFiltergraph(gCamera.graph)) &&
           SUCCEEDED(gCamera.mediaEvent->SetNotifyWindow((OAHWND)gCamera.viewWindow, WM_CAMERA_EVENT, 0));
}

// Creates a filter into its field of gCamera and adds it to the graph.
static bool AddNewFilter(IBaseFilter **field, const CLSID &clsid, const wchar_t *name)
{
    return SUCCEEDED(CoCreateInstance(clsid, nullptr, kInProcess, IID_IBaseFilter, (void **)field)) &&
           SUCCEEDED(gCamera.graph->AddFilter(*field, name));
}

// Asks a grabber for RGB24 video; other fields of the type stay zero.
static bool GrabberForRgb24(IBaseFilter *filter, ISampleGrabber **grabber)
{
    if (FAILED(filter->QueryInterface(IID_ISampleGrabber, (void **)grabber)))
        return false;
    AM_MEDIA_TYPE type = {};
    type.majortype = MEDIATYPE_Video;
    type.subtype = MEDIASUBTYPE_RGB24;
    return SUCCEEDED((*grabber)->SetMediaType(&type));
}

// Every sample to the callback's BufferCB. A live stream needs every sample:
// one-shot mode would end it after the first frame.
static bool StartCallbacks(ISampleGrabber *grabber, ISampleGrabberCB *callback)
{
    return SUCCEEDED(grabber->SetOneShot(FALSE)) && SUCCEEDED(grabber->SetBufferSamples(TRUE)) &&
           SUCCEEDED(grabber->SetCallback(callback, 1));
}

static bool Connect(IPin *from, IPin *to)
{
    return from && to && SUCCEEDED(gCamera.graph->Connect(from, to));
}

// capture filter -> (MJPEG decompressor) -> grabber -> null renderer.
static bool BuildPreviewPath(bool isMjpg)
{
    if (!AddNewFilter(&gCamera.grabberFilter, CLSID_SampleGrabber, L"Sample Grabber") ||
        !AddNewFilter(&gCamera.nullRenderer, CLSID_NullRenderer, L"Null Filter") ||
        !GrabberForRgb24(gCamera.grabberFilter, &gCamera.grabber))
        return false;
    gCamera.captureOutPin = Camera_FindPin(gCamera.captureFilter, PINDIR_OUTPUT, true);
    gCamera.mjpgInPin = Camera_FindPin(gCamera.mjpgDecoder, PINDIR_INPUT, true);
    gCamera.mjpgOutPin = Camera_FindPin(gCamera.mjpgDecoder, PINDIR_OUTPUT, true);
    gCamera.grabberInPin = Camera_FindPin(gCamera.grabberFilter, PINDIR_INPUT, true);
    gCamera.grabberOutPin = Camera_FindPin(gCamera.grabberFilter, PINDIR_OUTPUT, true);
    gCamera.nullInPin = Camera_FindPin(gCamera.nullRenderer, PINDIR_INPUT, true);
    bool connected = isMjpg ? Connect(gCamera.captureOutPin, gCamera.mjpgInPin) &&
                                  Connect(gCamera.mjpgOutPin, gCamera.grabberInPin)
                            : Connect(gCamera.captureOutPin, gCamera.grabberInPin);
    return connected && Connect(gCamera.grabberOutPin, gCamera.nullInPin) &&
           StartCallbacks(gCamera.grabber, &gGrabberCallback);
}

// Reads the preview grabber's connected type into frameHeader.
static bool ReadConnectedFrameHeader()
{
    AM_MEDIA_TYPE type = {};
    if (FAILED(gCamera.grabber->GetConnectedMediaType(&type)))
        return false;
    bool rgb24 = type.subtype == MEDIASUBTYPE_RGB24;
    if (rgb24 && !MediaFormat_Header(ClassId_From(type.formattype), type.pbFormat, type.cbFormat,
                                     &gCamera.frameHeader))
        gCamera.frameHeader = {};
    MediaType_FreeContent(&type);
    return rgb24;
}

static bool AllocateFrameBuffer()
{
    FrameLayout layout;
    if (!FrameLayout_From(gCamera.frameHeader, &layout))
        return false;
    try {
        gCamera.frameBuffer.assign((size_t)layout.size, 0);
    } catch (const std::bad_alloc &) {
        return false;
    }
    gCamera.frameSize = layout.size;
    gCamera.frameLock = Lock_Create();
    return gCamera.frameLock != nullptr;
}

static const PreviewHooks *gPreviewHooks;

void Camera_SetPreviewHooks(const PreviewHooks *hooks)
{
    gPreviewHooks = hooks;
}

static void FindOpenDeviceIndex()
{
    for (size_t i = 0; i < gDevices.size(); i++)
        if (gDevices[i].moniker && gCamera.moniker && gDevices[i].moniker->IsEqual(gCamera.moniker) == S_OK)
            gDeviceIndex = (int32_t)i;
}

// The still stream into a second grabber. A device with a still pin whose
// stream does not arrive as RGB24 in a VIDEOINFOHEADER is not opened.
static bool BuildStillPath()
{
    if (!AddNewFilter(&gCamera.grabberFilter2, CLSID_SampleGrabber, L"Sample Grabber2") ||
        !AddNewFilter(&gCamera.nullRenderer2, CLSID_NullRenderer, L"Null Filter2") ||
        !GrabberForRgb24(gCamera.grabberFilter2, &gCamera.grabber2) ||
        FAILED(gCamera.captureBuilder->RenderStream(&PIN_CATEGORY_STILL, &MEDIATYPE_Video, gCamera.captureFilter,
                                                    gCamera.grabberFilter2, gCamera.nullRenderer2)) ||
        !StartCallbacks(gCamera.grabber2, &gGrabberCallback2))
        return false;
    AM_MEDIA_TYPE type = {};
    bool ok = SUCCEEDED(gCamera.grabber2->GetConnectedMediaType(&type)) &&
              type.subtype == MEDIASUBTYPE_RGB24 && type.formattype == FORMAT_VideoInfo;
    MediaType_FreeContent(&type);
    if (!ok) {
        Debug_Print(L"ERR: gCamera.grabber2 subtype != MEDIASUBTYPE_RGB24\r\n");
        return false;
    }
    Debug_Print(L"Device has still pin\r\n");
    return true;
}

// Every step of a start; false at the first that fails.
static bool StartSteps()
{
    if (!ApplyRequestedFormat())
        return false;
    bool isMjpg = ClassId_Equal(gRequestedFormat.subtype, kSubtypeMjpg);
    if (!CreateGraph() || FAILED(gCamera.graph->AddFilter(gCamera.captureFilter, L"Camera Input")) ||
        (isMjpg && !AddNewFilter(&gCamera.mjpgDecoder, CLSID_MjpegDecompressor, L"Mjpg Filter")) ||
        !BuildPreviewPath(isMjpg) || !ReadConnectedFrameHeader() || !AllocateFrameBuffer())
        return false;
    // The device path keys the settings kept for the camera; one too long to
    // keep leaves it empty.
    if (gCamera.moniker && !Text_Copy(gCamera.devicePath, CAMERA_PATH_CAPACITY,
                                      Camera_DisplayName(gCamera.moniker).c_str()))
        gCamera.devicePath[0] = 0;
    Camera_ReadControls();
    if (gPreviewHooks && !gPreviewHooks->started())
        return false;
    gCamera.stillPin = Camera_FindStillPin(gCamera.captureFilter);
    if (!gCamera.stillPin)
        Debug_Print(L"Device does not have still pin\r\n");
    else if (!BuildStillPath())
        return false;
    return SUCCEEDED(gCamera.mediaControl->Run());
}

int32_t Camera_StartPreview()
{
    if (gCamera.graph || !gCamera.captureFilter)
        return 0;
    if (!StartSteps()) {
        // Whatever step failed, the one teardown undoes what was built and
        // lets the device go, so the next open starts from nothing.
        Camera_FreeGraph();
        return 0;
    }
    FindOpenDeviceIndex();
    PostMessageW(gCamera.viewWindow, WM_CAMERA_STARTED, 0, 0);
    return 1;
}

void Camera_StopPreview()
{
    if (!gCamera.graph)
        return;
    Camera_FreeGraph();
    PostMessageW(gCamera.viewWindow, WM_CAMERA_STOPPED, 0, 0);
}

int32_t Camera_SwitchTo(IMoniker *moniker, IBaseFilter *filter)
{
    Camera_StopPreview();
    if (gCamera.graph) {
        // The teardown waits for a recording to end (Camera_FreeGraph) and
        // still holds the open device: the switch is dropped.
        Com_Release(moniker);
        Com_Release(filter);
        return 0;
    }
    gCamera.moniker = moniker;
    gCamera.captureFilter = filter;
    return Camera_StartPreview(); // a failed start lets both go
}

void Camera_RestartPreview()
{
    if (!gCamera.graph)
        return;
    if (gCamera.moniker)
        gCamera.moniker->AddRef();
    if (gCamera.captureFilter)
        gCamera.captureFilter->AddRef();
    Camera_SwitchTo(gCamera.moniker, gCamera.captureFilter);
}

void Camera_FreeGraph()
{
    // No sample may reach the recorder while the frame buffer goes away. Its
    // stop dispatches messages while it waits, and one of them may ask for
    // this teardown (the camera was unplugged): then the teardown runs once
    // the wait has ended.
    if (gPreviewHooks && !gPreviewHooks->ending())
        return;
    if (gCamera.mediaEvent)
        gCamera.mediaEvent->SetNotifyWindow(0, 0, 0);
    if (gCamera.mediaControl)
        gCamera.mediaControl->Stop();

    Com_Release(gCamera.nullInPin);
    Com_Release(gCamera.grabberOutPin);
    Com_Release(gCamera.grabberInPin);
    Com_Release(gCamera.mjpgOutPin);
    Com_Release(gCamera.mjpgInPin);
    Com_Release(gCamera.stillPin);
    Com_Release(gCamera.captureOutPin);
    Com_Release(gCamera.grabber2);
    Com_Release(gCamera.grabber);
    Com_Release(gCamera.nullRenderer2);
    Com_Release(gCamera.nullRenderer);
    Com_Release(gCamera.grabberFilter2);
    Com_Release(gCamera.grabberFilter);
    Com_Release(gCamera.mjpgDecoder);
    Com_Release(gCamera.captureFilter);
    Com_Release(gCamera.mediaEvent);
    Com_Release(gCamera.mediaControl);
    Com_Release(gCamera.graph);
    Com_Release(gCamera.captureBuilder);
    Com_Release(gCamera.moniker);

    gCamera.yuy2Formats.clear();
    gCamera.mjpgFormats.clear();
    Camera_ReleaseControls();

    if (gCamera.frameLock)
        Lock_Destroy(gCamera.frameLock);
    Camera_ResetFrameState();
    if (gPreviewHooks)
        gPreviewHooks->ended();
    gDeviceIndex = -1;
}
