#include "view/frame_pixels.h"

#include "capture/effect_kernels.h"
#include "capture/frame_layout.h"
#include "view/view_state.h"

void View_ExpandFrame(uint32_t *pixels)
{
    size_t width = (size_t)gView.imageWidth, height = (size_t)gView.imageHeight;
    size_t stride = (size_t)Frame_RowBytes(gView.imageWidth);
    bool bottomUp = gView.bitmapInfo.bmiHeader.biHeight > 0;
    const uint8_t *bits = gView.frameBits.data();
    for (size_t y = 0; y < height; y++) {
        size_t row = bottomUp ? height - 1 - y : y;
        gEffectKernels->expandRow(bits + row * stride, pixels + y * width, width);
    }
}
