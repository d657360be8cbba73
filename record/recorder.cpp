// Starting a recording and the recording thread: the frames the streaming
// thread queues are written one by one through the writer (record/writer.h),
// each at the time the frames before it add up to.
#include "record/recorder.h"

#include "base/platform.h"
#include "base/sync.h"
#include "capture/camera_state.h"
#include "capture/frame_layout.h"
#include "record/recorder_state.h"
#include "record/writer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

// The memory the queue may hold when the encoder falls behind.
static const int64_t kQueueBudget = 256 * 1024 * 1024;

int64_t Recorder_FrameDuration(float fps)
{
    return (int64_t)(int32_t)(10000000.0f / fps);
}

int32_t Recorder_QueueCapacity(float fps, int32_t frameBytes)
{
    int64_t twoSeconds = (int64_t)std::ceil(2.0f * fps);
    int64_t withinBudget = frameBytes > 0 ? kQueueBudget / frameBytes : twoSeconds;
    return (int32_t)std::max<int64_t>(2, std::min(twoSeconds, withinBudget));
}

static void FreeQueuedFrames()
{
    ScopedLock hold(gRecorder.queueLock);
    for (FrameCopy &frame : gRecorder.frameQueue)
        free(frame.data);
    gRecorder.frameQueue.clear();
    gRecorder.pendingDrops = 0;
    gRecorder.droppedFrames = 0;
    Event_Reset(gRecorder.frameEvent);
}

int32_t Camera_SartRecord()
{
    // The lock and events exist only while the preview runs.
    if (gRecorder.recording || !gRecorder.queueLock || !gRecorder.frameEvent || !gRecorder.stoppedEvent)
        return 0;
    int32_t status = Camera_CreateWriter();
    if (status < 0) {
        gRecorder.startStatus = status;
        return 0;
    }
    Debug_Printf(L"Camera_SartRecord frame rate: %.2f\r\n", (double)gCamera.fps);
    if (gCamera.fps <= 5.0f)
        gCamera.fps = 5.0f;
    gRecorder.frameDuration = Recorder_FrameDuration(gCamera.fps);
    FreeQueuedFrames();
    gRecorder.sampleTime = 0;
    gRecorder.writeStatus = 0;
    gRecorder.recording = 1;
    if (!Thread_Start(Camera_RecordThread)) {
        gRecorder.recording = 0;
        Camera_CloseWriter();
        gRecorder.startStatus = -1;
        return 0;
    }
    return 1;
}

// The frame's counts for the line written when the file is finished.
struct RecordCounts {
    int32_t written, skipped, unwritten;
};

// A frame dropped at the queue's cap before this one hands its time to it, so
// the file's timeline keeps up with the clock. A frame shorter than the frame
// header says is skipped (never read past its end), but its time passes.
// After a failed write no frame goes into the file and the time stands still,
// so the times tell what the file holds.
static void WriteFrame(const FrameCopy &frame, RecordCounts *counts)
{
    int64_t duration = gRecorder.frameDuration * (1 + (int64_t)frame.dropsBefore);
    FrameLayout layout;
    bool complete = FrameLayout_From(gCamera.frameHeader, &layout) && frame.size >= layout.size;
    int32_t status = gRecorder.writeStatus;
    if (status == 0 && complete)
        status = Camera_WriteFrame(frame, duration);
    free(frame.data);
    if (status < 0) {
        if (gRecorder.writeStatus == 0)
            Debug_Printf(L"Camera_RecordThread: a write failed (0x%08X), nothing more is written\r\n",
                         (unsigned)status);
        gRecorder.writeStatus = status;
        counts->unwritten++;
        return;
    }
    if (complete)
        counts->written++;
    else
        counts->skipped++;
    gRecorder.totalDuration += duration;
    gRecorder.sampleTime += duration;
}

// The front frame, resetting the event when the queue is left empty.
static bool TakeFrame(FrameCopy *frame)
{
    ScopedLock hold(gRecorder.queueLock);
    if (gRecorder.frameQueue.empty())
        return false;
    *frame = gRecorder.frameQueue.front();
    gRecorder.frameQueue.pop_front();
    if (gRecorder.frameQueue.empty())
        Event_Reset(gRecorder.frameEvent);
    return true;
}

void Camera_RecordThread()
{
    RecordCounts counts = {};
    // A thread that cannot use the writer writes nothing; the UI thread then
    // stops the recording and says why.
    int32_t begun = Writer_ThreadBegin();
    if (begun < 0)
        gRecorder.writeStatus = begun;
    do {
        FrameCopy frame;
        if (Event_Wait(gRecorder.frameEvent, 30) && TakeFrame(&frame))
            WriteFrame(frame, &counts);
    } while (gRecorder.recording);

    // The streaming thread tests the cleared flag under the lock and queues
    // nothing more, so the rest is taken at once and written without holding
    // the lock (the preview goes on meanwhile).
    std::deque<FrameCopy> rest;
    {
        ScopedLock hold(gRecorder.queueLock);
        rest.swap(gRecorder.frameQueue);
        Event_Reset(gRecorder.frameEvent);
    }
    for (const FrameCopy &frame : rest)
        WriteFrame(frame, &counts);
    // A file that could not be finished is told as a failed write is.
    int32_t finished = Camera_CloseWriter();
    Writer_ThreadEnd();
    if (finished < 0) {
        Debug_Printf(L"Camera_RecordThread: the file could not be finished (0x%08X)\r\n", (unsigned)finished);
        if (gRecorder.writeStatus == 0)
            gRecorder.writeStatus = finished;
    }
    Debug_Printf(L"Camera_RecordThread: %d frames written, %d dropped, %d too short, %d not written\r\n",
                 counts.written, gRecorder.droppedFrames.load(), counts.skipped, counts.unwritten);
    // The last touch of the recorder: the waiting thread may free it all now.
    Event_Set(gRecorder.stoppedEvent);
}
