// A recorded frame turned the way the view shows the picture: mirrored left
// to right and turned upside down as the picture flags were when it came.
// The recording thread does it, so the streaming thread only copies.
#pragma once
#include "capture/frame_layout.h"
#include <cstdint>

// In place, over the layout's rows (the padding stays as it is).
void Orientation_Apply(uint8_t *frame, const FrameLayout &layout, bool mirror, bool upsideDown);
