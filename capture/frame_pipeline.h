// The frame pipeline: every preview frame goes through Camera_PreviewFrame on
// the streaming thread (frame-rate meter, the frame consumer, at most one
// effect or the mirror into the frame buffer, a repaint request). The view
// reads the frame buffer only through Camera_CopyFrame.
#pragma once
#include <cstddef>
#include <cstdint>

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

// Copies the newest processed frame under the frame lock. Copies only while a
// graph exists, a frame buffer exists and *capacity is at least its size;
// then stores the size in *capacity and returns 1; otherwise returns 0.
int32_t Camera_CopyFrame(uint8_t *destination, int32_t *capacity);

// The frame-rate meter: called once per preview frame; updates gCamera.fps.
void Camera_UpdateFps();

// Allocates the frame consumer's copies and the in-place mirror's row: malloc,
// unless a test points it at an allocator of its own. They are freed with free.
extern void *(*Frame_Allocate)(size_t size);
