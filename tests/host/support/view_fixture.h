// A camera view in a known state for the host tests: a 640 x 480 frame
// adopted at zoom 100 in an 800 x 600 client area, nothing recorded yet.
#pragma once
#include "support/fake_platform.h"
#include "view/measure_item.h"

#include <gtest/gtest.h>
#include <vector>

struct ViewTest : testing::Test {
    void SetUp() override { SetFrame(640, 480); }
    // Adopts a frame of that size and forgets what was recorded.
    static void SetFrame(int width, int height);
    static void Calibrate(float scale, int unit = 0);
    static MeasureItem Item(int kind, int x1, int y1, int x2, int y2, int x3 = -1, int y3 = -1);
    // The recorded canvas calls of one kind.
    static std::vector<CanvasCall> Calls(CanvasOp op);
    static std::vector<std::wstring> Texts();
};
