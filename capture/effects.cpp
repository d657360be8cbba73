// The picture effects of one frame: the incoming sample in, gCamera's frame
// buffer out, both of W x H pixels of 3 bytes with rows back to back.
#include "capture/camera_state.h"
#include "capture/effect_kernels.h"
#include "capture/effects.h"
#include "capture/frame_pipeline.h"

#include <cstdlib>
#include <cstring>

namespace {

struct FrameShape {
    size_t width, height, stride; // pixels, rows, bytes per row
};

// The grabber delivers bottom-up frames with a positive height; a top-down
// header (negative height) has the same rows, so only the magnitude counts.
FrameShape Frame_Shape()
{
    const BitmapHeader &header = gCamera.frameHeader;
    size_t width = header.biWidth > 0 ? (size_t)header.biWidth : 0;
    size_t height = header.biHeight < 0 ? (size_t)-(int64_t)header.biHeight : (size_t)header.biHeight;
    return {width, height, 3 * width};
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
    FrameShape shape = Frame_Shape();
    gEffectKernels->gray(in, gCamera.frameBuffer, shape.width * shape.height);
}

void Effect_BlackWhite(uint8_t *in)
{
    MirrorFirst(in);
    FrameShape shape = Frame_Shape();
    gEffectKernels->blackWhite(in, gCamera.frameBuffer, shape.width * shape.height);
}

void Effect_Negative(uint8_t *in)
{
    MirrorFirst(in);
    FrameShape shape = Frame_Shape();
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
