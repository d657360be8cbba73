// Timing of the view's composition and hit test, run only on request
// (scripts/bench): a 1920 x 1080 frame at zoom 100 with 100 mixed items and
// the grid, with a typical 10 items and the grid, and bare, against a plain
// SetDIBits of the same frame and against the expansion that replaced it;
// the hit test over 10 000 items; and the part the window shows against a
// whole composition.
#include "view/frame_pixels.h"
#include "view/items.h"
#include "state/view_api.h"
#include "view/view_platform.h"
#include "view/view_state.h"
#include "view/view_win.h"
#include "view_harness.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <cstdio>

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

TEST(ViewBenchmark, DISABLED_ComposeAndHitTest)
{
    ViewHarness h(1200, 900);
    h.StartFrames(1920, 1080);
    View_SetCalibration(7.3f, 0);
    gView.showGrid = true;
    for (int i = 0; i < 100; i++)
        gView.items.push_back(BenchItem(i));
    h.Paint();
    ASSERT_NE(gView.backBitmap, nullptr);

    HDC window = GetDC(h.view);
    double compose = Median(50, [&] { View_Compose(window); });
    std::vector<MeasureItem> all = gView.items;
    gView.items.resize(10);
    double typical = Median(50, [&] { View_Compose(window); });
    gView.items = all;
    // The composition draws only the part the window shows (the middle of
    // the picture, as the format change scrolled it): against the same part
    // of a whole composition, as a snapshot takes it and as the view
    // composed before.
    DIBSECTION back = {};
    ASSERT_EQ(GetObjectW(gView.backBitmap, sizeof back, &back), (int)sizeof back);
    uint32_t *pixels = (uint32_t *)back.dsBm.bmBits;
    View_Compose(window);
    std::vector<uint32_t> shown(pixels, pixels + 1920 * 1080);
    int width, height;
    View_BackPixels(&width, &height);
    RECT client;
    GetClientRect(h.view, &client);
    int differing = 0;
    for (int y = gView.scrollY; y < gView.scrollY + client.bottom; y++)
        for (int x = gView.scrollX; x < gView.scrollX + client.right; x++)
            differing += shown[(size_t)y * 1920 + x] != pixels[(size_t)y * 1920 + x];
    const BITMAPINFO *info = (const BITMAPINFO *)&gView.bitmapInfo;
    double blit = Median(50, [&] {
        SetDIBits(gView.backDC, gView.backBitmap, 0, 1080, gView.frameBits.data(), info, DIB_RGB_COLORS);
        GdiFlush();
    });
    // What replaced SetDIBits: the expansion to 32 bits straight into the
    // back buffer's pixels.
    double expand = Median(50, [&] { View_ScaleFrame(pixels, 1920, 1080, {0, 0, 1920, 1080}); });
    // Where an item's time goes: one call of each kind it makes, in the
    // shown part, in microseconds.
    auto perCall = [](auto call) { return 1000.0 * Median(9, [&] { for (int i = 0; i < 200; i++) call(i); }) / 200; };
    double line = perCall([](int i) { Canvas_Line(PEN_ITEM, 100, 100 + i, 300, 150 + i); });
    double circle = perCall([](int i) { Canvas_Circle(PEN_ITEM, 100, 100 + i, 60, 60); });
    double text = perCall([](int i) { Canvas_Text(L"12.34 mm", {100, 100 + i, 300, 130 + i}, FONT_LABEL); });
    double size = perCall([](int) { Canvas_TextSize(L"12.34 mm", FONT_LABEL); });
    gView.items.clear();
    gView.showGrid = false;
    double bare = Median(50, [&] { View_Compose(window); });
    ReleaseDC(h.view, window);

    for (int i = 0; i < 10000; i++)
        gView.items.push_back(BenchItem(i));
    int found = 0;
    double hit = Median(50, [&] { found += View_HitTest(1919, 1079); });

    printf("View_Compose 1920x1080, 100 items, grid: %.3f ms (%.2f x SetDIBits)\n", compose, compose / blit);
    printf("  10 items and the grid:                %.3f ms\n", typical);
    printf("  the same without items and grid:      %.3f ms\n", bare);
    printf("  per item (100 against 10):            %.3f ms\n", (compose - typical) / 90);
    printf("plain SetDIBits of the frame:           %.3f ms (compose / blit = %.2f)\n", blit, compose / blit);
    printf("the view's expansion of the frame:      %.3f ms (/ SetDIBits = %.2f)\n", expand, expand / blit);
    printf("View_HitTest over 10000 items (miss):   %.4f ms\n", hit);
    printf("one call: GDI+ line %.1f us, GDI+ circle %.1f us, label text %.1f us, text size %.1f us\n", line, circle,
           text, size);
    printf("the shown %ldx%ld of a whole composition: %d pixels differ\n", client.right, client.bottom, differing);
    EXPECT_EQ(found, -50);
}

} // namespace
