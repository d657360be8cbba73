// The picture effects of one frame, applied by the frame pipeline under the
// frame lock.
#pragma once
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
