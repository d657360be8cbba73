// The frame pipeline: every preview frame goes through Camera_PreviewFrame on
// the streaming thread (frame-rate meter, the frame consumer, at most one
// effect or the mirror into the frame buffer, a repaint request). The view
// takes the frame buffer only through Camera_TakeFrame.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Who takes every incoming sample besides the view: the video recorder, which
// registers itself as the program loads (record/recorder_state.cpp), so that
// the pipeline knows it only as this. Called on the streaming thread with the
// sample as it came, before the picture rules touch it (the mirror may turn it
// in place afterwards), its length and the grabber's time stamp in seconds
// (0: none).
typedef void (*FrameConsumer)(void *context, double sampleTime, const uint8_t *buffer, int32_t length);
// One consumer at most, set before any preview runs.
void Frame_SetConsumer(FrameConsumer consumer, void *context);

// The work of the preview grabber's BufferCB: the sample's time stamp in
// seconds (0: none), the incoming RGB24 sample (may be mirrored in place) and
// its length. Returns 0.
int32_t Camera_PreviewFrame(double sampleTime, uint8_t *buffer, int32_t length);

// The work of the still grabber's BufferCB: tells the view that the camera's
// snapshot button fired. Returns 0.
int32_t Camera_StillFrame(double sampleTime, uint8_t *buffer, int32_t length);

// Hands the view the newest processed frame without copying it: when a frame
// was written since the last call, swaps the frame buffer with *frame under
// the frame lock, and the next frame is written into the buffer the view gave
// back. Returns 1 when *frame holds the newest frame (taken now or before;
// zeros before the first), 0 (leaving *frame alone) unless a graph exists and *frame has its frame
// size.
int32_t Camera_TakeFrame(std::vector<uint8_t> *frame);

// The frame-rate meter: called once per preview frame; updates gCamera.fps.
void Camera_UpdateFps();

// Allocates the frame consumer's copies and the in-place mirror's row: malloc,
// unless a test points it at an allocator of its own. They are freed with free.
extern void *(*Frame_Allocate)(size_t size);
