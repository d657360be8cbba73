// The layout of an RGB24 frame as the grabber delivers it: the rows of a
// device-independent bitmap, W x 3 bytes each padded to a multiple of 4.
// A driver's frame header is outside data: sizes that no microscope gives are
// refused here, before anything is allocated from them.
#pragma once
#include "base/geometry.h"
#include <cstdint>

struct FrameLayout {
    int32_t width, height; // pixels; the height's magnitude
    int32_t stride;        // bytes from one row to the next
    int32_t size;          // bytes of the whole frame
};

// Wider or taller frames than this are refused (no sensor comes near it, and
// the frame then stays well within 32-bit sizes).
enum { FRAME_MAX_SIDE = 16384 };

// The bytes of one row of width pixels, padding included.
int32_t Frame_RowBytes(int32_t width);

// The layout of frames of this header; false (and a zero layout) for a zero,
// negative or absurd width or a zero or absurd height.
bool FrameLayout_From(const BitmapHeader &header, FrameLayout *layout);
