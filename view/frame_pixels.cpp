#include "view/frame_pixels.h"

#include "capture/effect_kernels.h"
#include "capture/frame_layout.h"
#include "view/view_state.h"

#include <cstring>
#include <vector>

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "a pixel's bytes B, G, R read as 0x..RRGGBB");

namespace {

// The frame pixel (of `from`) nearest to the centre of pixel i of `to`.
size_t Nearest(size_t i, size_t to, size_t from)
{
    return (2 * i + 1) * from / (2 * to);
}

// One row of the part from one frame row: the pixels at the byte offsets.
// The first `wide` of them lie before the row's last pixel, so they are read
// 4 bytes at a time and the next pixel's first byte masked off.
void ScaleRow(const uint8_t *row, const std::vector<uint32_t> &offsets, size_t wide, uint32_t *out)
{
    size_t j = 0;
    for (; j < wide; j++) {
        uint32_t pixel;
        memcpy(&pixel, row + offsets[j], 4);
        out[j] = pixel & 0xFFFFFFu;
    }
    for (; j < offsets.size(); j++) {
        const uint8_t *p = row + offsets[j];
        out[j] = (uint32_t)p[2] << 16 | (uint32_t)p[1] << 8 | p[0];
    }
}

} // namespace

void View_ScaleFrame(uint32_t *pixels, int width, int height, const Rect &part)
{
    if (part.right <= part.left || part.bottom <= part.top)
        return;
    size_t imageWidth = (size_t)gView.imageWidth, imageHeight = (size_t)gView.imageHeight;
    size_t stride = (size_t)Frame_RowBytes(gView.imageWidth);
    bool bottomUp = gView.bitmapInfo.bmiHeader.biHeight > 0;
    const uint8_t *bits = gView.frameBits.data();
    auto frameRow = [&](size_t y) {
        size_t row = Nearest(y, (size_t)height, imageHeight);
        return bits + (bottomUp ? imageHeight - 1 - row : row) * stride;
    };
    size_t left = (size_t)part.left, count = (size_t)(part.right - part.left);
    uint32_t *out = pixels + (size_t)part.top * (size_t)width + left;
    if ((size_t)width == imageWidth && (size_t)height == imageHeight) {
        for (size_t y = (size_t)part.top; y < (size_t)part.bottom; y++, out += width)
            gEffectKernels->expandRow(frameRow(y) + 3 * left, out, count);
        return;
    }
    std::vector<uint32_t> offsets(count);
    size_t wide = 0;
    for (size_t j = 0; j < count; j++) {
        size_t x = Nearest(left + j, (size_t)width, imageWidth);
        offsets[j] = (uint32_t)(3 * x);
        wide += x + 1 < imageWidth;
    }
    // Enlarged, neighbouring rows come from one frame row: the row above is copied.
    const uint8_t *previous = nullptr;
    for (size_t y = (size_t)part.top; y < (size_t)part.bottom; y++, out += width) {
        const uint8_t *row = frameRow(y);
        if (row == previous)
            memcpy(out, out - width, count * sizeof *out);
        else
            ScaleRow(row, offsets, wide, out);
        previous = row;
    }
}
