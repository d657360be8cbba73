// The picture effects of one frame: the incoming sample in, gCamera's frame
// buffer out, both of H rows of W pixels of 3 bytes, each row padded to a
// multiple of 4 bytes.
#include "capture/camera_state.h"
#include "capture/effect_kernels.h"
#include "capture/effects.h"
#include "capture/frame_layout.h"
#include "capture/frame_pipeline.h"

#include <cstdlib>
#include <cstring>

namespace {

struct FrameShape {
    size_t width, height, stride; // pixels, rows, bytes per row
};

// The grabber delivers bottom-up frames with a positive height; a top-down
// header (negative height) has the same rows, so only the magnitude counts.
// A refused header gives an empty shape, which every effect passes over.
FrameShape Frame_Shape()
{
    FrameLayout layout;
    FrameLayout_From(gCamera.frameHeader, &layout);
    return {(size_t)layout.width, (size_t)layout.height, (size_t)layout.stride};
}

// A per-pixel kernel over every row; rows without padding are one span.
void ForEachRow(void (*kernel)(const uint8_t *, uint8_t *, size_t), const uint8_t *in)
{
    FrameShape shape = Frame_Shape();
    if (shape.stride == 3 * shape.width) {
        kernel(in, gCamera.frameBuffer, shape.width * shape.height);
        return;
    }
    for (size_t r = 0; r < shape.height; r++)
        kernel(in + r * shape.stride, gCamera.frameBuffer + r * shape.stride, shape.width);
}

void MirrorFirst(uint8_t *in)
{
    if (gCamera.mirror)
        Effect_MirrorInPlace(in);
}

} // namespace

void Effect_Mirror(const uint8_t *in)
{
    FrameShape shape = Frame_Shape();
    for (size_t r = 0; r < shape.height; r++)
        gEffectKernels->mirrorRow(in + r * shape.stride, gCamera.frameBuffer + r * shape.stride, shape.width);
}

// Without memory for the row the frame stays unmirrored; the next frame tries again.
void Effect_MirrorInPlace(uint8_t *in)
{
    FrameShape shape = Frame_Shape();
    if (shape.stride == 0 || shape.height == 0)
        return;
    uint8_t *row = (uint8_t *)Frame_Allocate(shape.stride);
    if (!row)
        return;
    for (size_t r = 0; r < shape.height; r++) {
        uint8_t *line = in + r * shape.stride;
        memcpy(row, line, shape.stride);
        gEffectKernels->mirrorRow(row, line, shape.width);
    }
    free(row);
}

void Effect_Gray(uint8_t *in)
{
    MirrorFirst(in);
    ForEachRow(gEffectKernels->gray, in);
}

void Effect_BlackWhite(uint8_t *in)
{
    MirrorFirst(in);
    ForEachRow(gEffectKernels->blackWhite, in);
}

void Effect_Negative(uint8_t *in)
{
    MirrorFirst(in);
    FrameShape shape = Frame_Shape(); // the row padding is complemented too, harmlessly
    gEffectKernels->negative(in, gCamera.frameBuffer, shape.stride * shape.height);
}

// Each byte against the byte one row further on, for every row but the last;
// the frame buffer's last row keeps what it held.
void Effect_Emboss(uint8_t *in)
{
    MirrorFirst(in);
    FrameShape shape = Frame_Shape();
    if (shape.height < 2)
        return;
    gEffectKernels->emboss(in, in + shape.stride, gCamera.frameBuffer, shape.stride * (shape.height - 1));
}
