// gRecorder, and the recorder's end of the frame pipeline: the queue that the
// streaming thread fills. They share this file because whatever uses the
// recorder links it, so the recorder is the pipeline's consumer wherever it
// exists.
#include "record/recorder_state.h"

#include "base/clock.h"
#include "base/sync.h"
#include "capture/camera_state.h"
#include "capture/frame_pipeline.h"
#include "record/recorder.h"

#include <cmath>
#include <cstring>

Recorder gRecorder;

// The grabber's sample time (seconds) in 100-ns units; 0, as for a sample
// that carried none, for a value no clock gives.
static int64_t SampleTimeTicks(double seconds)
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
static void QueueFrame(void *, double sampleTime, const uint8_t *buffer, int32_t length)
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
    gRecorder.frameQueue.push_back({copy, length, SampleTimeTicks(sampleTime), arrival,
                                    gCamera.mirror != 0, gCamera.flipVertical != 0});
    Event_Set(gRecorder.frameEvent);
}

[[maybe_unused]] static const bool kQueueRegistered = (Frame_SetConsumer(QueueFrame, nullptr), true);
