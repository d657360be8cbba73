// The video recorder: starts and stops recordings of the live frames.
#pragma once
#include <cstdint>

// Starts a recording into gRecorder.path (H.264 or WMV by gRecorder.useH264)
// while the preview runs: 1 when it started, 0 when no writer could be made
// (gRecorder.startStatus tells why), no preview runs or one records already.
int32_t Camera_SartRecord();
// The recording thread: writes the queued frames until the recording flag is
// cleared, then the rest of the queue, finishes the file and sets
// gRecorder.stoppedEvent. Each frame is written at its place on the timeline
// and lasts until the next one, so it holds one frame back. A write that
// fails sets gRecorder.writeStatus and ends the writing; the file is finished
// when the flag is cleared, and a finish that fails sets gRecorder.writeStatus
// too.
void Camera_RecordThread();

// A new recording, not the next file of a split: its timeline and
// gRecorder.totalDuration start again at its first frame. Only while none runs.
void Recorder_ResetTimeline();
// How long a frame lasts at the measured rate (at least 5 fps), in 100-ns
// units: the last frame's duration while no gap between frames is known.
int64_t Recorder_FrameDuration(float fps);
// The frames the queue holds at most: two seconds of them at the measured
// rate, within a memory budget, never fewer than two.
int32_t Recorder_QueueCapacity(float fps, int32_t frameBytes);

// Ends the recording and returns once the file is finalised, dispatching the
// thread's messages meanwhile; returns at once when none runs. A quit message
// that arrives meanwhile is posted again after the wait.
void Camera_StopRecord();

// True while Camera_StopRecord waits for the recording thread.
bool Camera_RecordStopping();
