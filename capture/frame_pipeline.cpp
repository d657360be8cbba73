// The frame pipeline on the streaming thread, the frame-rate meter, and the
// hand-over of the newest frame to the view.
#include "capture/frame_pipeline.h"

#include "base/clock.h"
#include "capture/camera_state.h"
#include "capture/effects.h"
#include "capture/frame_platform.h"
#include "capture/frame_times.h"
#include "base/sync.h"

#include <cstdlib>
#include <cstring>

void *(*Frame_Allocate)(size_t size) = malloc;

// The frame into the frame buffer with the first picture rule that holds.
static void Frame_Render(uint8_t *buffer, int32_t length)
{
    if (gCamera.gray)
        Effect_Gray(buffer);
    else if (gCamera.blackWhite)
        Effect_BlackWhite(buffer);
    else if (gCamera.negative)
        Effect_Negative(buffer);
    else if (gCamera.emboss)
        Effect_Emboss(buffer);
    else if (gCamera.mirror)
        Effect_Mirror(buffer);
    else
        memcpy(gCamera.frameBuffer.data(), buffer, (size_t)length);
}

static FrameConsumer gConsumer;
static void *gConsumerContext;

void Frame_SetConsumer(FrameConsumer consumer, void *context)
{
    gConsumer = consumer;
    gConsumerContext = context;
}

int32_t Camera_PreviewFrame(double sampleTime, uint8_t *buffer, int32_t length)
{
    Camera_UpdateFps();
    if (gConsumer)
        gConsumer(gConsumerContext, sampleTime, buffer, length);
    // The frame buffer is looked at under the lock only: the view swaps it.
    if (length == gCamera.frameSize && gCamera.frameLock) {
        ScopedLock hold(gCamera.frameLock);
        if (!gCamera.frameBuffer.empty()) {
            Frame_Render(buffer, length);
            gCamera.frameFresh = true;
            gCamera.framesRendered++;
        }
    }
    if (!gCamera.viewHeld)
        Frame_RequestRepaint();
    return 0;
}

int32_t Camera_StillFrame(double, uint8_t *, int32_t)
{
    Frame_PostStill();
    return 0;
}

int32_t Camera_TakeFrame(std::vector<uint8_t> *frame)
{
    if (!gCamera.graph || gCamera.frameSize == 0 || frame->size() != (size_t)gCamera.frameSize)
        return 0;
    ScopedLock hold(gCamera.frameLock);
    if (gCamera.frameFresh && gCamera.frameBuffer.size() == frame->size()) {
        frame->swap(gCamera.frameBuffer);
        gCamera.frameFresh = false;
    }
    return 1;
}

// The rate over the stamps of the last second. Stamps are compared by age
// (now - stamp in unsigned arithmetic), which stays right when the clock wraps
// and in its first second; a stamp exactly 1000 ms old stays.
void Camera_UpdateFps()
{
    uint32_t now = Clock_Milliseconds();
    FrameTimes_Push(&gFrameTimes, now);
    while (gFrameTimes.count > 0 && now - FrameTimes_Front(&gFrameTimes) > 1000)
        FrameTimes_PopFront(&gFrameTimes);
    if (gFrameTimes.count < 2)
        return;
    uint32_t span = now - FrameTimes_Front(&gFrameTimes);
    // Frames within one millisecond give no rate: keep the last one, which the
    // recorder divides by.
    if (span == 0)
        return;
    float frames = (float)(double)((gFrameTimes.count - 1) * 1000u);
    gCamera.fps = frames / (float)(double)span;
}
