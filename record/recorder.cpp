// Starting a recording and the recording thread: the frames the streaming
// thread queues are placed on the recording's timeline (record/timeline.h),
// turned as the view shows them and written one by one through the writer
// (record/writer.h), each lasting until the next.
#include "record/recorder.h"

#include "base/platform.h"
#include "base/sync.h"
#include "capture/camera_state.h"
#include "capture/frame_layout.h"
#include "record/orientation.h"
#include "record/recorder_state.h"
#include "record/writer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

// The memory the queue may hold when the encoder falls behind.
static const int64_t kQueueBudget = 256 * 1024 * 1024;

void Recorder_ResetTimeline()
{
    Timeline_Reset(&gRecorder.timeline);
    gRecorder.totalDuration = 0;
}

int64_t Recorder_FrameDuration(float fps)
{
    return (int64_t)(int32_t)(10000000.0f / std::max(fps, 5.0f));
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

// What the recording thread knows of the file it writes.
struct RecordFile {
    int32_t written, skipped, unwritten; // frames, for the line written at the end
    bool begun;       // a frame of it has been placed on the timeline
    int64_t start;    // that frame's place
    bool holding;     // a frame waits for the next one to tell its duration:
    FrameCopy held;
    int64_t heldTime; // its time in the file
};

// Writes the held frame, unless a write failed before: after a failed write
// nothing more goes into the file.
static void WriteHeld(RecordFile *file, int64_t duration)
{
    if (!file->holding)
        return;
    file->holding = false;
    int32_t status = gRecorder.writeStatus;
    if (status == 0)
        status = Camera_WriteFrame(file->held, file->heldTime, duration);
    free(file->held.data);
    if (status < 0) {
        if (gRecorder.writeStatus == 0)
            Debug_Printf(L"Camera_RecordThread: a write failed (0x%08X), nothing more is written\r\n",
                         (unsigned)status);
        gRecorder.writeStatus = status;
        file->unwritten++;
        return;
    }
    file->written++;
}

// Places the frame on the timeline, writes the frame held before it (which
// lasts until this one) and holds this one. A frame shorter than the frame
// header says is skipped (never read past its end) and leaves a gap, as a
// dropped frame does. After a failed write the times stand where the last
// frame written ends, so they tell what the file holds.
static void TakeIn(RecordFile *file, const FrameCopy &frame)
{
    FrameLayout layout;
    bool complete = FrameLayout_From(gCamera.frameHeader, &layout) && frame.size >= layout.size;
    if (!complete) {
        free(frame.data);
        file->skipped++;
        return;
    }
    int64_t place = Timeline_Place(&gRecorder.timeline, frame.sampleTime, frame.arrivalTime);
    if (!file->begun) {
        file->begun = true;
        file->start = place;
    }
    int64_t time = place - file->start;
    WriteHeld(file, time - file->heldTime);
    if (gRecorder.writeStatus < 0) {
        free(frame.data);
        file->unwritten++;
        return;
    }
    Orientation_Apply(frame.data, layout, frame.mirror, frame.upsideDown);
    file->held = frame;
    file->heldTime = time;
    file->holding = true;
    // The total first: a reader that sees the new file time then sees a
    // total at least as large (the file's time never exceeds the total).
    gRecorder.totalDuration = place;
    gRecorder.sampleTime = time;
}

// The last frame lasts the running average of the steps between frames.
static void WriteLast(RecordFile *file)
{
    int64_t average = gRecorder.timeline.averageGap;
    WriteHeld(file, average > 0 ? average : Recorder_FrameDuration(gCamera.fps));
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
    RecordFile file = {};
    // A thread that cannot use the writer writes nothing; the UI thread then
    // stops the recording and says why.
    int32_t begun = Writer_ThreadBegin();
    if (begun < 0)
        gRecorder.writeStatus = begun;
    do {
        FrameCopy frame;
        if (Event_Wait(gRecorder.frameEvent, 30) && TakeFrame(&frame))
            TakeIn(&file, frame);
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
        TakeIn(&file, frame);
    WriteLast(&file);
    // A file that could not be finished is told as a failed write is.
    int32_t finished = Camera_CloseWriter();
    Writer_ThreadEnd();
    if (finished < 0) {
        Debug_Printf(L"Camera_RecordThread: the file could not be finished (0x%08X)\r\n", (unsigned)finished);
        if (gRecorder.writeStatus == 0)
            gRecorder.writeStatus = finished;
    }
    Debug_Printf(L"Camera_RecordThread: %d frames written, %d dropped, %d too short, %d not written\r\n",
                 file.written, gRecorder.droppedFrames.load(), file.skipped, file.unwritten);
    // The last touch of the recorder: the waiting thread may free it all now.
    Event_Set(gRecorder.stoppedEvent);
}
