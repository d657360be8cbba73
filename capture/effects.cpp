// The picture effects of one frame: the incoming sample in, gCamera's frame
// buffer out, both of H rows of W pixels of 3 bytes, each row padded to a
// multiple of 4 bytes.
#include "capture/camera_state.h"
#include "capture/effect_kernels.h"
#include "capture/effects.h"
#include "capture/frame_layout.h"
#include "capture/frame_pipeline.h"

#include <algorithm>
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

// An effect over a run of whole rows, from the incoming rows at in (emboss
// also reads the row after the run) into the frame buffer rows at out.
using RowsEffect = void (*)(const uint8_t *in, uint8_t *out, size_t rows, const FrameShape &shape);

// A per-pixel kernel over the rows; rows without padding are one span.
void PixelRows(void (*kernel)(const uint8_t *, uint8_t *, size_t), const uint8_t *in, uint8_t *out, size_t rows,
               const FrameShape &shape)
{
    if (shape.stride == 3 * shape.width) {
        kernel(in, out, shape.width * rows);
        return;
    }
    for (size_t r = 0; r < rows; r++)
        kernel(in + r * shape.stride, out + r * shape.stride, shape.width);
}

void GrayRows(const uint8_t *in, uint8_t *out, size_t rows, const FrameShape &shape)
{
    PixelRows(gEffectKernels->gray, in, out, rows, shape);
}

void BlackWhiteRows(const uint8_t *in, uint8_t *out, size_t rows, const FrameShape &shape)
{
    PixelRows(gEffectKernels->blackWhite, in, out, rows, shape);
}

// The row padding is complemented too, harmlessly.
void NegativeRows(const uint8_t *in, uint8_t *out, size_t rows, const FrameShape &shape)
{
    gEffectKernels->negative(in, out, shape.stride * rows);
}

// Each byte against the byte one row further on.
void EmbossRows(const uint8_t *in, uint8_t *out, size_t rows, const FrameShape &shape)
{
    gEffectKernels->emboss(in, in + shape.stride, out, shape.stride * rows);
}

void MirrorRowInPlace(uint8_t *line, uint8_t *spare, const FrameShape &shape)
{
    memcpy(spare, line, shape.stride);
    gEffectKernels->mirrorRow(spare, line, shape.width);
}

// Rows of one block of a sweep: about 100 KB of a 1080p frame, which stays
// in the cache between the mirror and the effect.
enum { SWEEP_BLOCK_ROWS = 16 };

// The effect over its first `rows` rows. With the mirror set, one sweep down
// the frame mirrors each block of incoming rows in place just before the
// effect reads it (and `ahead` rows beyond), while the rows are still in the
// cache, rather than a second pass over the whole frame; every row ends up
// mirrored, as the recorder's copy expects. Without memory for the spare
// row the frame stays unmirrored; the next frame tries again.
void Sweep(uint8_t *in, size_t rows, size_t ahead, RowsEffect effect)
{
    FrameShape shape = Frame_Shape();
    uint8_t *spare = gCamera.mirror && shape.stride ? (uint8_t *)Frame_Allocate(shape.stride) : nullptr;
    if (!spare) {
        effect(in, gCamera.frameBuffer.data(), rows, shape);
        return;
    }
    size_t mirrored = 0;
    for (size_t r = 0; r < rows; r += SWEEP_BLOCK_ROWS) {
        size_t block = std::min<size_t>(rows - r, SWEEP_BLOCK_ROWS);
        for (; mirrored < r + block + ahead && mirrored < shape.height; mirrored++)
            MirrorRowInPlace(in + mirrored * shape.stride, spare, shape);
        effect(in + r * shape.stride, gCamera.frameBuffer.data() + r * shape.stride, block, shape);
    }
    for (; mirrored < shape.height; mirrored++)
        MirrorRowInPlace(in + mirrored * shape.stride, spare, shape);
    free(spare);
}

} // namespace

void Effect_Mirror(const uint8_t *in)
{
    FrameShape shape = Frame_Shape();
    for (size_t r = 0; r < shape.height; r++)
        gEffectKernels->mirrorRow(in + r * shape.stride, gCamera.frameBuffer.data() + r * shape.stride, shape.width);
}

// Without memory for the row the frame stays unmirrored; the next frame tries again.
void Effect_MirrorInPlace(uint8_t *in)
{
    FrameShape shape = Frame_Shape();
    if (shape.stride == 0 || shape.height == 0)
        return;
    uint8_t *spare = (uint8_t *)Frame_Allocate(shape.stride);
    if (!spare)
        return;
    for (size_t r = 0; r < shape.height; r++)
        MirrorRowInPlace(in + r * shape.stride, spare, shape);
    free(spare);
}

void Effect_Gray(uint8_t *in)
{
    Sweep(in, Frame_Shape().height, 0, GrayRows);
}

void Effect_BlackWhite(uint8_t *in)
{
    Sweep(in, Frame_Shape().height, 0, BlackWhiteRows);
}

void Effect_Negative(uint8_t *in)
{
    Sweep(in, Frame_Shape().height, 0, NegativeRows);
}

// Each row against the next; the last row, which has no next, against
// itself: the flat 128 of no relief. Left unwritten it would show whatever
// the buffer held, and the view and the pipeline swap two buffers, so the
// row would flicker between two older frames.
void Effect_Emboss(uint8_t *in)
{
    FrameShape shape = Frame_Shape();
    if (shape.height == 0)
        return;
    Sweep(in, shape.height - 1, 1, EmbossRows);
    size_t last = (shape.height - 1) * shape.stride;
    gEffectKernels->emboss(in + last, in + last, gCamera.frameBuffer.data() + last, shape.stride);
}

bool Effect_Still(const uint8_t *in, uint8_t *out, size_t width, size_t height)
{
    FrameShape shape = {width, height, (size_t)Frame_RowBytes((int32_t)width)};
    if (gCamera.gray)
        GrayRows(in, out, height, shape);
    else if (gCamera.blackWhite)
        BlackWhiteRows(in, out, height, shape);
    else if (gCamera.negative)
        NegativeRows(in, out, height, shape);
    else if (gCamera.emboss && height > 0) {
        EmbossRows(in, out, height - 1, shape);
        memcpy(out + (height - 1) * shape.stride, in + (height - 1) * shape.stride, shape.stride);
    } else
        return false;
    return true;
}
