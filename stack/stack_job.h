// The focus stack's worker: frames handed over one by one are fused on a
// thread of their own while the user goes on focusing, so that the user
// interface never waits for the fusion. At most STACK_QUEUE frames wait for
// it; a frame offered while they wait is refused, and the caller offers a
// later one. Memory: the fusion's (stack/fusion.h) and the waiting frames,
// about 58 MB at 1920 x 1080 for any number of frames.
#pragma once
#include "stack/fusion.h"

#include <atomic>
#include <cstddef>
#include <cstdint>

enum { STACK_QUEUE = 3, STACK_MAX_FRAMES = 200 };

enum StackPhase : int32_t {
    STACK_IDLE,      // nothing started, or the result released
    STACK_RUNNING,   // taking frames
    STACK_FINISHING, // no more frames: the waiting ones are being fused
    STACK_DONE,      // the result is ready
    STACK_CANCELLED, // ended without a result
    STACK_FAILED     // the worker could not be started
};

// Starts a series of frames of width x height; false while another series
// is still being worked on (or when no thread can be had).
bool Stack_Start(int width, int height);
// Hands a frame over (BGR rows top-down `stride` bytes apart, negative for a
// bottom-up picture): true when it was taken, false while STACK_QUEUE frames
// wait, after STACK_MAX_FRAMES, or when no series takes frames.
bool Stack_Offer(const uint8_t *bgr, ptrdiff_t stride);
// No more frames: the worker fuses those waiting and ends (STACK_DONE).
void Stack_Finish();
// Ends the series as soon as the frame being fused is done (STACK_CANCELLED).
void Stack_Cancel();
StackPhase Stack_Phase();
int32_t Stack_Kept();  // frames taken
int32_t Stack_Fused(); // frames fused
// Waits at most the given milliseconds for the worker to end.
bool Stack_WaitEnded(uint32_t milliseconds);
// The fused picture, valid in STACK_DONE until Stack_Release.
const Fusion &Stack_Result();
// Frees the result and the frames (after the worker ended); STACK_IDLE.
void Stack_Release();
