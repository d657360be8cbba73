#include "capture/camera_state.h"

#include "capture/camera_graph.h"

#include <cstring>

Camera gCamera;

static void ClearControls()
{
    for (ControlRange *c : {&gCamera.exposure, &gCamera.gain, &gCamera.whiteBalance,
                            &gCamera.brightness, &gCamera.contrast, &gCamera.hue,
                            &gCamera.saturation, &gCamera.sharpness, &gCamera.gamma,
                            &gCamera.powerLineFrequency})
        *c = {};
}

void Camera_ResetFrameState()
{
    gCamera.devicePath[0] = 0;
    std::vector<uint8_t>().swap(gCamera.frameBuffer);
    gCamera.frameFresh = false;
    gCamera.frameSize = 0;
    gCamera.frameLock = nullptr;
    for (auto *flag : {&gCamera.mirror, &gCamera.flipVertical, &gCamera.gray,
                       &gCamera.blackWhite, &gCamera.negative, &gCamera.emboss})
        *flag = 0;
    gCamera.currentFormat = {};
    memset(&gCamera.frameHeader, 0, sizeof gCamera.frameHeader);
    gCamera.fps = 30.0f;
}

void Camera_Init(HWND__ *viewWindow)
{
    gCamera.moniker = nullptr;
    gCamera.captureBuilder = nullptr;
    gCamera.graph = nullptr;
    gCamera.mediaControl = nullptr;
    gCamera.mediaEvent = nullptr;
    gCamera.captureFilter = nullptr;
    gCamera.mjpgDecoder = nullptr;
    gCamera.grabberFilter = gCamera.grabberFilter2 = nullptr;
    gCamera.nullRenderer = gCamera.nullRenderer2 = nullptr;
    gCamera.grabber = gCamera.grabber2 = nullptr;
    gCamera.captureOutPin = gCamera.stillPin = gCamera.mjpgInPin = gCamera.mjpgOutPin = nullptr;
    gCamera.grabberInPin = gCamera.grabberOutPin = gCamera.nullInPin = nullptr;
    gCamera.yuy2Formats.clear();
    gCamera.mjpgFormats.clear();
    gCamera.cameraControl = nullptr;
    gCamera.procAmp = nullptr;
    gCamera.videoProcAmp = nullptr;
    ClearControls();
    Camera_ResetFrameState();
    gCamera.viewWindow = viewWindow;
}

void Camera_ClearControls()
{
    ClearControls();
}

const FormatMap &Camera_CurrentFormatMap()
{
    bool mjpg = ClassId_Equal(gCamera.currentFormat.subtype, kSubtypeMjpg);
    return mjpg ? gCamera.mjpgFormats : gCamera.yuy2Formats;
}

bool Camera_IsOpen()
{
    return gCamera.grabber != nullptr;
}
