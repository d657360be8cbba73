// Timing of the view's composition and hit test, run only on request
// (scripts/bench): a 1920 x 1080 frame at zoom 100 with 100 mixed items and
// the grid, with a typical 10 items and the grid, and bare, against a plain
// SetDIBits of the same frame and against the expansion that replaced it;
// the hit test over 10 000 items.
#include "view/frame_pixels.h"
#include "view/items.h"
#include "state/view_api.h"
#include "view/view_state.h"
#include "view/view_win.h"
#include "view_harness.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

double Now()
{
    LARGE_INTEGER t, f;
    QueryPerformanceCounter(&t);
    QueryPerformanceFrequency(&f);
    return (double)t.QuadPart * 1000.0 / (double)f.QuadPart;
}

// The median of runs of f, in milliseconds.
template <typename F> double Median(int runs, F f)
{
    std::vector<double> times;
    for (int i = 0; i < runs; i++) {
        double start = Now();
        f();
        times.push_back(Now() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

MeasureItem MixedItem(int i)
{
    MeasureItem item = {};
    const int kinds[] = {ITEM_LINE, ITEM_POINT_LINE, ITEM_RECTANGLE, ITEM_CIRCLE, ITEM_ANGLE, ITEM_FREEHAND, ITEM_TEXT};
    item.kind = kinds[i % 7];
    int x = 40 + (i * 173) % 1700, y = 40 + (i * 97) % 950;
    item.x1 = x, item.y1 = y, item.x2 = x + 60 + i % 40, item.y2 = y + 30 + i % 25;
    item.x3 = x + 20, item.y3 = y + 70;
    if (item.kind == ITEM_FREEHAND)
        for (int k = 0; k < 20; k++)
            item.points.push_back({x + 4 * k, y + (k % 4) * 5});
    if (item.kind == ITEM_TEXT)
        wcscpy(item.text, L"Specimen 12");
    MeasureItem_UpdateHitRects(&item);
    return item;
}

TEST(ViewBenchmark, DISABLED_ComposeAndHitTest)
{
    ViewHarness h(1200, 900);
    h.StartFrames(1920, 1080);
    View_SetCalibration(7.3f, 0);
    gView.showGrid = true;
    for (int i = 0; i < 100; i++)
        gView.items.push_back(MixedItem(i));
    h.Paint();
    ASSERT_NE(gView.backBitmap, nullptr);

    HDC window = GetDC(h.view);
    double compose = Median(50, [&] { View_Compose(window); });
    std::vector<MeasureItem> all = gView.items;
    gView.items.resize(10);
    double typical = Median(50, [&] { View_Compose(window); });
    gView.items = all;
    const BITMAPINFO *info = (const BITMAPINFO *)&gView.bitmapInfo;
    double blit = Median(50, [&] {
        SetDIBits(gView.backDC, gView.backBitmap, 0, 1080, gView.frameBits.data(), info, DIB_RGB_COLORS);
        GdiFlush();
    });
    // What replaced SetDIBits: the expansion to 32 bits straight into the
    // back buffer's pixels.
    DIBSECTION back = {};
    ASSERT_EQ(GetObjectW(gView.backBitmap, sizeof back, &back), (int)sizeof back);
    double expand = Median(50, [&] { View_ExpandFrame((uint32_t *)back.dsBm.bmBits); });
    gView.items.clear();
    gView.showGrid = false;
    double bare = Median(50, [&] { View_Compose(window); });
    ReleaseDC(h.view, window);

    for (int i = 0; i < 10000; i++)
        gView.items.push_back(MixedItem(i));
    int found = 0;
    double hit = Median(50, [&] { found += View_HitTest(1919, 1079); });

    printf("View_Compose 1920x1080, 100 items, grid: %.3f ms\n", compose);
    printf("  10 items and the grid:                %.3f ms\n", typical);
    printf("  the same without items and grid:      %.3f ms\n", bare);
    printf("  per item (100 against 10):            %.3f ms\n", (compose - typical) / 90);
    printf("plain SetDIBits of the frame:           %.3f ms (compose / blit = %.2f)\n", blit, compose / blit);
    printf("the view's expansion of the frame:      %.3f ms (/ SetDIBits = %.2f)\n", expand, expand / blit);
    printf("View_HitTest over 10000 items (miss):   %.4f ms\n", hit);
    EXPECT_EQ(found, -50);
}

} // namespace
