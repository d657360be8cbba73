// The frame scaled into the view's back buffer, against a plain per-pixel
// reference: the frame pixel under each pixel's centre.
#include "capture/frame_layout.h"
#include "view/frame_pixels.h"
#include "view/view_state.h"

#include <gtest/gtest.h>
#include <cmath>
#include <vector>

namespace {

struct ScaleCase {
    int frameWidth, frameHeight, width, height;
    Rect part;
    bool bottomUp;
};

// A frame of distinct pixels, its rows padded as the grabber pads them.
void SetFrame(const ScaleCase &c)
{
    gView.imageWidth = c.frameWidth;
    gView.imageHeight = c.frameHeight;
    gView.bitmapInfo.bmiHeader.biHeight = c.bottomUp ? c.frameHeight : -c.frameHeight;
    gView.frameBits.assign((size_t)Frame_RowBytes(c.frameWidth) * (size_t)c.frameHeight, 0);
    for (size_t i = 0; i < gView.frameBits.size(); i++)
        gView.frameBits[i] = (uint8_t)(i * 7 + i / 251);
}

uint32_t Reference(const ScaleCase &c, int x, int y)
{
    int column = (int)std::floor((x + 0.5) * c.frameWidth / c.width);
    int row = (int)std::floor((y + 0.5) * c.frameHeight / c.height);
    if (c.bottomUp)
        row = c.frameHeight - 1 - row;
    const uint8_t *p = &gView.frameBits[(size_t)row * Frame_RowBytes(c.frameWidth) + 3 * (size_t)column];
    return (uint32_t)p[2] << 16 | (uint32_t)p[1] << 8 | p[0];
}

// At the frame's size, shrunk to the fitted sizes of a 1080p frame and of odd
// ones, enlarged to 200 % and 150 %, whole and in parts; rows of 4 pixels have
// no padding, so reading past the last pixel of the last row would show.
TEST(FramePixels, EachPixelIsTheFramePixelUnderItsCentreAndOnlyThePartIsWritten)
{
    const ScaleCase cases[] = {
        {7, 5, 7, 5, {0, 0, 7, 5}, true},
        {7, 5, 7, 5, {2, 1, 6, 4}, false},
        {1920, 1080, 1363, 767, {0, 0, 1363, 767}, true},
        {21, 9, 14, 6, {3, 1, 11, 5}, false},
        {4, 3, 3, 2, {0, 0, 3, 2}, true},
        {4, 3, 8, 6, {0, 0, 8, 6}, false},
        {13, 7, 26, 14, {5, 3, 20, 11}, true},
        {12, 10, 18, 15, {0, 0, 18, 15}, true},
    };
    const uint32_t untouched = 0xAB000000u;
    for (const ScaleCase &c : cases) {
        SetFrame(c);
        std::vector<uint32_t> pixels((size_t)c.width * c.height, untouched);
        View_ScaleFrame(pixels.data(), c.width, c.height, c.part);
        int wrong = 0;
        for (int y = 0; y < c.height; y++)
            for (int x = 0; x < c.width; x++) {
                uint32_t expected = Rect_Contains(c.part, x, y) ? Reference(c, x, y) : untouched;
                wrong += pixels[(size_t)y * c.width + x] != expected;
            }
        EXPECT_EQ(wrong, 0) << c.frameWidth << "x" << c.frameHeight << " to " << c.width << "x" << c.height;
    }
}

} // namespace
