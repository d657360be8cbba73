// The picture effects of one frame, applied by the frame pipeline under the
// frame lock.
#pragma once
#include <cstddef>
#include <cstdint>

// W and H come from gCamera.frameHeader (the height's
// absolute value). All but Effect_MirrorInPlace write into gCamera.frameBuffer;
// the four picture effects first mirror the incoming frame in place when
// gCamera.mirror is set.
void Effect_Mirror(const uint8_t *in);
void Effect_MirrorInPlace(uint8_t *in);
void Effect_Gray(uint8_t *in);
void Effect_BlackWhite(uint8_t *in);
void Effect_Negative(uint8_t *in);
void Effect_Emboss(uint8_t *in);

// The picture effect the flags choose (the first of gray, black & white,
// negative, emboss that is on, as for frames) over a still picture of
// height rows of width pixels, padded as frames are, from in to out (which
// do not overlap); emboss copies the last row. False, out untouched, when
// none is on. The mirror is the camera's and not applied.
bool Effect_Still(const uint8_t *in, uint8_t *out, size_t width, size_t height);
