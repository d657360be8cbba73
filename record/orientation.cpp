#include "record/orientation.h"

#include <algorithm>

static void SwapPixels(uint8_t *a, uint8_t *b)
{
    std::swap(a[0], b[0]);
    std::swap(a[1], b[1]);
    std::swap(a[2], b[2]);
}

// Row a's pixels in reverse order into row b and row b's into row a; with a
// and b the same row, that row mirrored.
static void SwapMirrored(uint8_t *a, uint8_t *b, int32_t width)
{
    int32_t pixels = a == b ? width / 2 : width;
    for (int32_t j = 0; j < pixels; j++)
        SwapPixels(a + 3 * j, b + 3 * (width - 1 - j));
}

void Orientation_Apply(uint8_t *frame, const FrameLayout &layout, bool mirror, bool upsideDown)
{
    auto row = [&](int32_t r) { return frame + (size_t)r * layout.stride; };
    if (!upsideDown) {
        for (int32_t r = 0; mirror && r < layout.height; r++)
            SwapMirrored(row(r), row(r), layout.width);
        return;
    }
    for (int32_t r = 0; r < layout.height / 2; r++) {
        uint8_t *top = row(r), *bottom = row(layout.height - 1 - r);
        if (mirror)
            SwapMirrored(top, bottom, layout.width);
        else
            std::swap_ranges(top, top + (size_t)layout.width * 3, bottom);
    }
    if (mirror && layout.height % 2)
        SwapMirrored(row(layout.height / 2), row(layout.height / 2), layout.width);
}
