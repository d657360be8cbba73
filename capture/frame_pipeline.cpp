// The frame pipeline on the streaming thread, the frame-rate meter, and the
// view's copy of the frame buffer.
#include "capture/frame_pipeline.h"

#include "base/clock.h"
#include "capture/camera_state.h"
#include "capture/effects.h"
#include "capture/frame_platform.h"
#include "capture/frame_times.h"
#include "base/sync.h"
#include "record/recorder.h"
#include "record/recorder_state.h"

#include <cmath>
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
        memcpy(gCamera.frameBuffer, buffer, (size_t)length);
}

// The grabber's sample time (seconds) in 100-ns units; 0, as for a sample
// that carried none, for a value no clock gives.
static int64_t Frame_SampleTime(double seconds)
{
    double ticks = seconds * 1e7;
    return std::isfinite(ticks) && std::fabs(ticks) < 9e18 ? (int64_t)std::llround(ticks) : 0;
}

// The copy is taken before the picture rules touch the sample (the mirror
// may turn it in place), with the picture flags beside it: the recording
// thread turns it as the view shows it. Testing the flag under the lock
// means no frame is queued once the recording thread has seen the flag
// cleared and drained the queue. When the encoder falls behind, the queue
// stops at its cap: a frame that finds it full (or no memory) is dropped and
// counted, and leaves a gap in the file's time.
static void Frame_QueueForRecorder(double sampleTime, const uint8_t *buffer, int32_t length)
{
    ScopedLock hold(gRecorder.queueLock);
    if (!gRecorder.recording || length < 0)
        return;
    int64_t arrival = Clock_Precise();
    bool full = (int32_t)gRecorder.frameQueue.size() >= Recorder_QueueCapacity(gCamera.fps, length);
    uint8_t *copy = full ? nullptr : (uint8_t *)Frame_Allocate((size_t)length);
    if (!copy) {
        gRecorder.droppedFrames++;
        return;
    }
    memcpy(copy, buffer, (size_t)length);
    gRecorder.frameQueue.push_back({copy, length, Frame_SampleTime(sampleTime), arrival,
                                    gCamera.mirror != 0, gCamera.flipVertical != 0});
    Event_Set(gRecorder.frameEvent);
}

int32_t Camera_PreviewFrame(double sampleTime, uint8_t *buffer, int32_t length)
{
    Camera_UpdateFps();
    Frame_QueueForRecorder(sampleTime, buffer, length);
    if (length == gCamera.frameSize && gCamera.frameBuffer) {
        ScopedLock hold(gCamera.frameLock);
        Frame_Render(buffer, length);
    }
    Frame_RequestRepaint();
    return 0;
}

int32_t Camera_StillFrame(double, uint8_t *, int32_t)
{
    Frame_PostStill();
    return 0;
}

int32_t Camera_CopyFrame(uint8_t *destination, int32_t *capacity)
{
    if (!gCamera.graph || gCamera.frameSize == 0 || !gCamera.frameBuffer || *capacity < gCamera.frameSize)
        return 0;
    ScopedLock hold(gCamera.frameLock);
    memcpy(destination, gCamera.frameBuffer, (size_t)gCamera.frameSize);
    *capacity = gCamera.frameSize;
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
