// The recording's timeline: where each frame lies in time, in 100-ns units
// since the recording's first frame, taken from the capture time the grabber
// hands over with the frame and the time the frame reached the program.
//
// The grabber's sample time is the time the camera's driver stamped on the
// frame when it was captured, on the graph's reference clock. It stays right
// when a stalled streaming thread later delivers the frames it buffered in a
// burst, which their arrival would bunch together; so the timeline follows
// the sample clock. The arrival clock (Clock_Precise) only bridges a frame
// whose sample carries no time (the grabber then gives 0) or whose time runs
// backwards (the stream clock began again), and the sample clock is tied to
// the timeline afresh after it.
#pragma once
#include <cstdint>

// The least step from one frame to the next: a millisecond, the unit of the
// ASF container, where a smaller step would repeat a time stamp.
enum : int64_t { TIMELINE_MIN_STEP = 10000 };

struct Timeline {
    bool started;         // a frame has been placed since the reset
    int64_t time;         // the last frame's place
    int64_t arrival;      // its arrival time
    bool anchored;        // a sample time's place is known:
    int64_t anchorSample; // that sample time
    int64_t anchorTime;   // and its place
    int64_t lastSample;   // the newest sample time seen
    int64_t averageGap;   // the running average of the steps; 0 before the second frame
};

void Timeline_Reset(Timeline *timeline);

// Places the next frame from its sample time (0: none) and its arrival time
// (Clock_Precise), both in 100-ns units: the first frame at 0, every other at
// least TIMELINE_MIN_STEP after the one before. Returns its place.
int64_t Timeline_Place(Timeline *timeline, int64_t sampleTime, int64_t arrivalTime);
