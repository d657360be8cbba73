// gRecorder: the video recorder's record. The frame pipeline queues frame
// copies into it while a recording runs.
#pragma once
#include "state/app_state.h"
#include "record/timeline.h"
#include <atomic>
#include <cstdint>
#include <deque>

struct IMFSinkWriter;
struct SyncLock;
struct SyncEvent;

// One incoming sample, copied for the recorder; the recording thread frees it.
struct FrameCopy {
    uint8_t *data; // malloc'd
    int32_t size;
    int64_t sampleTime;  // the grabber's time stamp, 100-ns units; 0: none
    int64_t arrivalTime; // Clock_Precise when it reached the program
    bool mirror, upsideDown; // the picture flags when it came
};

struct Recorder {
    std::atomic<int32_t> recording;
    wchar_t path[PATH_CAPACITY];
    int32_t useH264;
    // The newest frame's time since the recording's first frame (over
    // splits; Recorder_ResetTimeline starts it again) and since the current
    // file's, in 100-ns units.
    std::atomic<int64_t> totalDuration;
    std::atomic<int64_t> sampleTime;
    std::deque<FrameCopy> frameQueue;
    SyncLock *queueLock;
    SyncEvent *frameEvent;
    IMFSinkWriter *writer;
    uint32_t streamIndex;
    SyncEvent *stoppedEvent;
    // Where the frames lie in time; the recording thread's while it runs.
    Timeline timeline;

    // Frames dropped at the queue's cap (capture/frame_pipeline.cpp) or for
    // want of memory since the last start.
    std::atomic<int32_t> droppedFrames;
    // The status of the last writer that could not be created.
    int32_t startStatus;
    // The status of the write that failed (a full disk, a vanished folder):
    // nothing more is written into the file, and the UI thread stops the
    // recording and says why. Also of a file that could not be finished,
    // set at the thread's end. 0 while every write succeeds.
    std::atomic<int32_t> writeStatus;
};

extern Recorder gRecorder;
