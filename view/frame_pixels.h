// The view's frame copy as the 32-bit pixels of its back buffer.
#pragma once
#include <cstdint>

// Writes the frame copy (gView.frameBits, RGB24 rows as gView.bitmapInfo
// says: bottom-up for a positive height, top-down for a negative one) as
// top-down 0x00RRGGBB pixels, imageWidth to a row and imageHeight rows: what
// SetDIBits of the copy into a 32-bit bitmap gives, in one pass.
void View_ExpandFrame(uint32_t *pixels);
