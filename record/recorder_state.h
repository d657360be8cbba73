// gRecorder: the video recorder's record. The frame pipeline queues frame
// copies into it while a recording runs.
#pragma once
#include "app/app_state.h"
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
    int32_t dropsBefore; // frames dropped (queue full, no memory) just before this one
};

struct Recorder {
    std::atomic<int32_t> recording;
    wchar_t path[PATH_CAPACITY];
    int32_t useH264;
    std::atomic<int64_t> totalDuration; // 100-ns units
    std::atomic<int64_t> sampleTime;
    std::deque<FrameCopy> frameQueue;
    SyncLock *queueLock;
    SyncEvent *frameEvent;
    IMFSinkWriter *writer;
    uint32_t streamIndex;
    int64_t frameDuration;
    SyncEvent *stoppedEvent;

    // The queue's cap (capture/frame_pipeline.cpp): frames dropped since the
    // last start, and those not yet handed to a queued frame; under queueLock.
    std::atomic<int32_t> droppedFrames;
    int32_t pendingDrops;
    // The status of the last writer that could not be created.
    int32_t startStatus;
    // The status of the write that failed (a full disk, a vanished folder):
    // nothing more is written into the file, and the UI thread stops the
    // recording and says why. Also of a file that could not be finished,
    // set at the thread's end. 0 while every write succeeds.
    std::atomic<int32_t> writeStatus;
};

extern Recorder gRecorder;
