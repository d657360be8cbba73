// The view's frame as the 32-bit pixels of its back buffer.
#pragma once
#include "base/geometry.h"
#include <cstdint>

// Writes the frame (gView.frameBits, RGB24 rows as gView.bitmapInfo says:
// bottom-up for a positive height, top-down for a negative one) scaled to
// width x height as top-down 0x00RRGGBB pixels, width to a row; only the
// pixels of `part` (right and bottom exclusive), the rest stay as they were.
// Each pixel is the frame pixel nearest to its centre, the frame column
// floor((2 x + 1) imageWidth / (2 width)) and the row alike: one of the frame
// pixels it covers, as GDI's COLORONCOLOR stretching takes one and drops the
// others. At the frame's own size that is the frame, expanded in one pass.
// Frame rows that no pixel of the part needs are not read.
void View_ScaleFrame(uint32_t *pixels, int width, int height, const Rect &part);
