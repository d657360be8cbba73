// The capture graph of the open camera: capture filter -> (MJPEG
// decompressor) -> sample grabber (RGB24) -> null renderer, and the still
// stream into a second grabber when the device has a still pin.
#include "capture/camera_graph.h"

#include "base/platform.h"
#include "capture/camera_controls_win.h"
#include "capture/dshow_win.h"
#include "capture/grabber_callbacks_win.h"
#include "capture/media_format.h"
#include "base/sync.h"
#include "record/recorder.h"
#include "record/recorder_state.h"

#include <qedit.h>
#include <cstdlib>

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
    CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, kInProcess, IID_ICaptureGraphBuilder2,
                     (void **)&gCamera.captureBuilder);
    CoCreateInstance(CLSID_FilterGraph, nullptr, kInProcess, IID_IGraphBuilder, (void **)&gCamera.graph);
    if (!gCamera.captureBuilder || !gCamera.graph)
        return false;
    gCamera.graph->QueryInterface(IID_IMediaControl, (void **)&gCamera.mediaControl);
    gCamera.graph->QueryInterface(IID_IMediaEventEx, (void **)&gCamera.mediaEvent);
    if (!gCamera.mediaControl || !gCamera.mediaEvent)
        return false;
    gCamera.captureBuilder->SetFiltergraph(gCamera.graph);
    gCamera.mediaEvent->SetNotifyWindow((OAHWND)gCamera.viewWindow, WM_CAMERA_EVENT, 0);
    return true;
}

static IBaseFilter *CreateFilter(const CLSID &clsid)
{
    IBaseFilter *filter = nullptr;
    CoCreateInstance(clsid, nullptr, kInProcess, IID_IBaseFilter, (void **)&filter);
    return filter;
}

// Asks a grabber for RGB24 video; other fields of the type stay zero.
static ISampleGrabber *GrabberForRgb24(IBaseFilter *filter)
{
    ISampleGrabber *grabber = nullptr;
    if (!filter || FAILED(filter->QueryInterface(IID_ISampleGrabber, (void **)&grabber)) || !grabber)
        return nullptr;
    AM_MEDIA_TYPE type = {};
    type.majortype = MEDIATYPE_Video;
    type.subtype = MEDIASUBTYPE_RGB24;
    if (FAILED(grabber->SetMediaType(&type)))
        Com_Release(grabber);
    return grabber;
}

static void Connect(IPin *from, IPin *to)
{
    if (from && to)
        gCamera.graph->Connect(from, to);
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
    int64_t size = (int64_t)gCamera.frameHeader.biWidth * std::abs(gCamera.frameHeader.biHeight) * 3;
    if (size <= 0 || size > INT32_MAX)
        return false;
    gCamera.frameBuffer = (uint8_t *)malloc((size_t)size);
    if (!gCamera.frameBuffer)
        return false;
    gCamera.frameSize = (int32_t)size;
    gCamera.frameLock = Lock_Create();
    return true;
}

static void CreateRecorderObjects()
{
    gRecorder.stoppedEvent = Event_Create(true, false);
    gRecorder.frameEvent = Event_Create(true, false);
    gRecorder.queueLock = Lock_Create();
}

static void FindOpenDeviceIndex()
{
    for (size_t i = 0; i < gDevices.size(); i++)
        if (gDevices[i].moniker && gCamera.moniker && gDevices[i].moniker->IsEqual(gCamera.moniker) == S_OK)
            gDeviceIndex = (int32_t)i;
}

static int32_t RunAndAnnounce()
{
    gCamera.mediaControl->Run();
    PostMessageW(gCamera.viewWindow, WM_CAMERA_STARTED, 0, 0);
    return 1;
}

static int32_t BuildStillPath()
{
    gCamera.grabberFilter2 = CreateFilter(CLSID_SampleGrabber);
    gCamera.nullRenderer2 = CreateFilter(CLSID_NullRenderer);
    if (!gCamera.grabberFilter2 || !gCamera.nullRenderer2)
        return 0;
    gCamera.graph->AddFilter(gCamera.grabberFilter2, L"Sample Grabber2");
    gCamera.graph->AddFilter(gCamera.nullRenderer2, L"Null Filter2");
    gCamera.grabber2 = GrabberForRgb24(gCamera.grabberFilter2);
    if (!gCamera.grabber2)
        return 0;
    gCamera.captureBuilder->RenderStream(&PIN_CATEGORY_STILL, &MEDIATYPE_Video, gCamera.captureFilter,
                                         gCamera.grabberFilter2, gCamera.nullRenderer2);
    gCamera.grabber2->SetOneShot(FALSE);
    gCamera.grabber2->SetBufferSamples(TRUE);
    gCamera.grabber2->SetCallback(&gGrabberCallback2, 1);

    AM_MEDIA_TYPE type = {};
    bool ok = SUCCEEDED(gCamera.grabber2->GetConnectedMediaType(&type)) &&
              type.subtype == MEDIASUBTYPE_RGB24 && type.formattype == FORMAT_VideoInfo;
    MediaType_FreeContent(&type);
    if (!ok) {
        Debug_Print(L"ERR: gCamera.grabber2 subtype != MEDIASUBTYPE_RGB24\r\n");
        return 0;
    }
    Debug_Print(L"Device has still pin\r\n");
    return RunAndAnnounce();
}

int32_t Camera_StartPreview()
{
    if (gCamera.graph || !gCamera.captureFilter)
        return 0;
    if (!ApplyRequestedFormat())
        return 0;
    bool isMjpg = ClassId_Equal(gRequestedFormat.subtype, kSubtypeMjpg);

    if (!CreateGraph())
        return 0;
    gCamera.mjpgDecoder = CreateFilter(CLSID_MjpegDecompressor);
    gCamera.grabberFilter = CreateFilter(CLSID_SampleGrabber);
    gCamera.nullRenderer = CreateFilter(CLSID_NullRenderer);
    if ((isMjpg && !gCamera.mjpgDecoder) || !gCamera.grabberFilter || !gCamera.nullRenderer)
        return 0;
    gCamera.graph->AddFilter(gCamera.captureFilter, L"Camera Input");
    if (isMjpg)
        gCamera.graph->AddFilter(gCamera.mjpgDecoder, L"Mjpg Filter");
    gCamera.graph->AddFilter(gCamera.grabberFilter, L"Sample Grabber");
    gCamera.graph->AddFilter(gCamera.nullRenderer, L"Null Filter");

    gCamera.grabber = GrabberForRgb24(gCamera.grabberFilter);
    if (!gCamera.grabber)
        return 0;
    gCamera.captureOutPin = Camera_FindPin(gCamera.captureFilter, PINDIR_OUTPUT, true);
    gCamera.mjpgInPin = Camera_FindPin(gCamera.mjpgDecoder, PINDIR_INPUT, true);
    gCamera.mjpgOutPin = Camera_FindPin(gCamera.mjpgDecoder, PINDIR_OUTPUT, true);
    gCamera.grabberInPin = Camera_FindPin(gCamera.grabberFilter, PINDIR_INPUT, true);
    gCamera.grabberOutPin = Camera_FindPin(gCamera.grabberFilter, PINDIR_OUTPUT, true);
    gCamera.nullInPin = Camera_FindPin(gCamera.nullRenderer, PINDIR_INPUT, true);
    if (isMjpg) {
        Connect(gCamera.captureOutPin, gCamera.mjpgInPin);
        Connect(gCamera.mjpgOutPin, gCamera.grabberInPin);
    } else {
        Connect(gCamera.captureOutPin, gCamera.grabberInPin);
    }
    Connect(gCamera.grabberOutPin, gCamera.nullInPin);

    // A live preview needs every sample: one-shot mode would end the stream
    // after the first frame.
    gCamera.grabber->SetOneShot(FALSE);
    gCamera.grabber->SetBufferSamples(TRUE);
    gCamera.grabber->SetCallback(&gGrabberCallback, 1);
    if (!ReadConnectedFrameHeader() || !AllocateFrameBuffer())
        return 0;

    Camera_ReadControls();
    CreateRecorderObjects();
    FindOpenDeviceIndex();

    gCamera.stillPin = Camera_FindStillPin(gCamera.captureFilter);
    if (!gCamera.stillPin) {
        Debug_Print(L"Device does not have still pin\r\n");
        return RunAndAnnounce();
    }
    return BuildStillPath();
}

void Camera_StopPreview()
{
    if (!gCamera.graph)
        return;
    Camera_StopRecord();
    if (gCamera.mediaEvent)
        gCamera.mediaEvent->SetNotifyWindow(0, 0, 0);
    if (gCamera.mediaControl)
        gCamera.mediaControl->Stop();
    Camera_FreeGraph();
    gDeviceIndex = -1;
    PostMessageW(gCamera.viewWindow, WM_CAMERA_STOPPED, 0, 0);
}

void Camera_RestartPreview()
{
    if (!gCamera.graph)
        return;
    IMoniker *moniker = gCamera.moniker;
    IBaseFilter *filter = gCamera.captureFilter;
    if (moniker)
        moniker->AddRef();
    if (filter)
        filter->AddRef();
    Camera_StopPreview();
    gCamera.moniker = moniker;
    gCamera.captureFilter = filter;
    if (!Camera_StartPreview()) {
        Com_Release(gCamera.moniker);
        Com_Release(gCamera.captureFilter);
    }
}

void Camera_FreeGraph()
{
    // The recording thread uses the lock and events freed below, and no
    // callback may run while the frame buffer goes away.
    Camera_StopRecord();
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

    free(gCamera.frameBuffer);
    if (gCamera.frameLock)
        Lock_Destroy(gCamera.frameLock);
    Camera_ResetFrameState();
    if (gRecorder.queueLock)
        Lock_Destroy(gRecorder.queueLock);
    if (gRecorder.stoppedEvent)
        Event_Destroy(gRecorder.stoppedEvent);
    if (gRecorder.frameEvent)
        Event_Destroy(gRecorder.frameEvent);
    gRecorder.queueLock = nullptr;
    gRecorder.stoppedEvent = gRecorder.frameEvent = nullptr;
}
