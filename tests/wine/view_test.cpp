// The camera view window under Wine: composition into the back buffer,
// background, overlays, items, and editing with real window messages.
#include "base/commands.h"
#include "capture/camera_graph.h"
#include "view/view_api.h"
#include "view/view_state.h"
#include "view_harness.h"
#include "wine_support.h"

#include <gtest/gtest.h>
#include <cstring>

namespace {

const COLORREF kGrey = RGB(191, 191, 191);
const COLORREF kBlack = RGB(0, 0, 0);

// A 640 x 480 frame in an 800 x 600 client sits at (80, 60): these take image pixels.
const int kLeft = 80, kTop = 60;
void Press(const ViewHarness &h, int x, int y) { h.Press(x + kLeft, y + kTop); }
void MoveTo(const ViewHarness &h, int x, int y, bool button = true) { h.MoveTo(x + kLeft, y + kTop, button); }
void Release(const ViewHarness &h, int x, int y) { h.Release(x + kLeft, y + kTop); }
void Drag(const ViewHarness &h, int x1, int y1, int x2, int y2)
{
    h.Drag(x1 + kLeft, y1 + kTop, x2 + kLeft, y2 + kTop);
}

bool Posted(UINT message, WPARAM wParam)
{
    for (const MSG &m : ViewHarness::posted)
        if (m.message == message && m.wParam == wParam)
            return true;
    return false;
}

TEST(ViewWindow, WithoutCameraItShowsThePlaceholderOrPlainGrey)
{
    ViewHarness h(800, 600);
    int w, ht;
    std::vector<COLORREF> pixels = h.PaintClient(&w, &ht, L"placeholder");
    ASSERT_EQ(w, 800);
    EXPECT_EQ(pixels[5 * w + 5], kGrey);
    int text = 0, textOutside = 0;
    for (int y = 0; y < ht; y++)
        for (int x = 0; x < w; x++)
            if (pixels[(size_t)y * w + x] == RGB(192, 255, 192))
                (x >= 22 && y >= 18 && y < 60 ? text : textOutside)++;
    EXPECT_GT(text, 50);
    EXPECT_EQ(textOutside, 0);

    gDevices.push_back(DeviceEntry{});
    pixels = h.PaintClient(&w, &ht);
    gDevices.clear();
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), kGrey), (long)pixels.size());
}

TEST(ViewWindow, ASmallFrameIsCentredWithGreyMarginsAndABlackBorder)
{
    ViewHarness h(1000, 600);
    h.StartFrames(640, 480);
    int w, ht;
    std::vector<COLORREF> p = h.PaintClient(&w, &ht, L"margins");
    ASSERT_EQ(w, 1000);
    auto at = [&](int x, int y) { return p[(size_t)y * w + x]; };
    EXPECT_EQ(at(176, 300), kGrey);
    EXPECT_EQ(at(177, 300), kBlack);
    EXPECT_EQ(at(179, 300), kBlack);
    EXPECT_EQ(at(180, 300), kFrameColor);
    EXPECT_EQ(at(819, 300), kFrameColor);
    EXPECT_EQ(at(820, 300), kBlack);
    EXPECT_EQ(at(822, 300), kBlack);
    EXPECT_EQ(at(823, 300), kGrey);
    EXPECT_EQ(at(500, 56), kGrey);
    EXPECT_EQ(at(500, 57), kBlack);
    EXPECT_EQ(at(500, 60), kFrameColor);
    EXPECT_EQ(at(500, 540), kBlack);
    EXPECT_EQ(at(500, 543), kGrey);
    EXPECT_EQ(at(177, 57), kBlack) << "the corners are closed";
    EXPECT_EQ(GetWindowLongW(h.view, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL), 0);
}

TEST(ViewWindow, TheUncalibratedGridLiesEvery100PixelsFromTheCentre)
{
    ViewHarness h(800, 600);
    h.StartFrames(640, 480);
    gView.showGrid = true;
    h.Paint();
    for (int y : {40, 140, 340, 440}) {
        EXPECT_EQ(h.Pixel(100, y), kGridColor) << y;
        EXPECT_EQ(h.Pixel(100, y + 1), kFrameColor) << y;
    }
    for (int x : {20, 120, 220, 420, 520, 620}) {
        EXPECT_EQ(h.Pixel(x, 100), kGridColor) << x;
        EXPECT_EQ(h.Pixel(x - 1, 100), kFrameColor) << x;
    }
    EXPECT_EQ(h.Pixel(100, 240), kGridColor);
    EXPECT_EQ(h.Pixel(320, 100), kGridColor);
    EXPECT_EQ(h.Count(kGridColor, {0, 0, 640, 480}), 7 * 480 + 5 * 640 - 7 * 5) << "six lines and an axis each way";
    h.Screenshot(L"grid-uncalibrated");

    View_SetCalibration(10.0f, 0); // 10 mm = 100 pixels: the same lines, with minor ticks
    h.Paint();
    EXPECT_EQ(h.Pixel(100, 140), kGridColor);
    EXPECT_EQ(h.Pixel(333, 190), kGridColor) << "the long minor tick between 140 and 240";
    EXPECT_EQ(h.Pixel(334, 190), kFrameColor);
    EXPECT_EQ(h.Pixel(327, 150), kGridColor);
    EXPECT_EQ(h.Pixel(328, 150), kFrameColor);
    EXPECT_GT(h.Count(kTextColor, {320, 242, 420, 270}), 10) << "the scale label";
    h.Screenshot(L"grid-calibrated");
}

TEST(ViewWindow, TheRulerAndTheCirclesInBothForms)
{
    ViewHarness h(800, 600);
    h.StartFrames(640, 480);
    gView.showCross = true;
    h.Paint();
    EXPECT_EQ(h.Pixel(316, 230), kGridColor);
    EXPECT_EQ(h.Pixel(315, 230), kFrameColor);
    EXPECT_EQ(h.Pixel(311, 290), kGridColor) << "every fifth tick is long";
    EXPECT_EQ(h.Pixel(10, 236), kGridColor);
    h.Screenshot(L"cross-uncalibrated");
    View_SetCalibration(7.3f, 0);
    h.Paint();
    EXPECT_EQ(h.Pixel(339, 167), kGridColor) << "20-pixel major tick";
    EXPECT_EQ(h.Pixel(340, 167), kFrameColor);
    EXPECT_GT(h.Count(kTextColor, {320, 242, 460, 270}), 10) << "10.0mm under the first tick";
    h.Screenshot(L"cross-calibrated");

    gView.showCross = false;
    gView.showCircles = true;
    View_SetCalibration(-1.0f, 0);
    h.Paint();
    // Radii 100, 200, 300 around (320, 240): inside radius 90 only the axes.
    int inner = h.Count(kGridColor, {250, 170, 390, 310});
    EXPECT_EQ(inner, 140 + 140 - 1);
    EXPECT_GT(h.Count(kGridColor, {400, 300, 640, 480}), 100) << "arcs";
    h.Screenshot(L"circles-uncalibrated");
    View_SetCalibration(2.5f, 1); // 50 um = 125 pixels, nearer to 100 than 20 um = 50
    h.Paint();
    EXPECT_EQ(gView.rulerStepPx, 125);
    EXPECT_GT(h.Count(kTextColor, {320, 242, 460, 270}), 10);
    h.Screenshot(L"circles-calibrated");
}

TEST(ViewWindow, OverlaysAreNotDrawnAtZoom150ButItemsAre)
{
    ViewHarness h(800, 600);
    h.StartFrames(640, 480);
    View_SetTool(ITEM_LINE);
    Drag(h, 100, 100, 300, 100);
    gView.showCross = gView.showGrid = gView.showCircles = true;
    View_SetZoom(150);
    h.Paint();
    ASSERT_EQ(gView.displayWidth, 960);
    EXPECT_EQ(h.Count(kGridColor, {0, 0, 960, 720}), 0);
    EXPECT_GT(h.Count(kLineColor, {0, 0, 960, 720}), 200);
    View_SetZoom(100);
    h.Paint();
    EXPECT_GT(h.Count(kGridColor, {0, 0, 640, 480}), 1000);
}

TEST(ViewWindow, HandlesAreClippedAndAWideRectangleOutlineIsTwoFrames)
{
    ViewHarness h(800, 600, 2);
    h.StartFrames(640, 480);
    View_SetTool(ITEM_LINE);
    Drag(h, 2, 3, 2, 200);
    View_SetTool(ITEM_RECTANGLE);
    Drag(h, 100, 100, 200, 150);
    View_SetTool(0);
    Press(h, 2, 3);
    Release(h, 2, 3);
    ASSERT_EQ(gView.selected, 0);
    h.Paint();
    EXPECT_EQ(h.Pixel(0, 0), kLineColor);
    EXPECT_EQ(h.Pixel(6, 7), kLineColor);
    EXPECT_EQ(h.Pixel(7, 7), kFrameColor);
    EXPECT_EQ(h.Pixel(6, 8), kFrameColor);
    for (int x : {100, 101, 198, 199})
        EXPECT_EQ(h.Pixel(x, 125), kLineColor) << x;
    EXPECT_EQ(h.Pixel(102, 125), kFrameColor);
    EXPECT_EQ(h.Pixel(197, 125), kFrameColor);
    EXPECT_EQ(h.Pixel(150, 101), kLineColor);
    EXPECT_EQ(h.Pixel(150, 102), kFrameColor);
    EXPECT_EQ(h.Pixel(150, 148), kLineColor);
    EXPECT_EQ(h.Pixel(150, 150), kFrameColor);
    EXPECT_EQ(h.Count(kLineColor, {0, 100, 10, 101}), 2) << "the line at width 2";
    h.Screenshot(L"handle-and-wide-rectangle");
}

TEST(ViewWindow, EveryKindIsCreatedByThePointerAndLabelled)
{
    ViewHarness h(800, 600);
    h.StartFrames(640, 480);
    View_SetCalibration(2.0f, 0);
    View_SetTool(ITEM_LINE);
    Drag(h, 20, 40, 160, 40);
    View_SetTool(ITEM_POINT_LINE);
    Drag(h, 100, 100, 300, 100);
    MoveTo(h, 200, 180, false); // p3 follows at once, before any paint
    EXPECT_EQ(h.Pixel(200, 140), kLineColor) << "recomposed immediately";
    Press(h, 200, 180);
    Release(h, 200, 180);
    View_SetTool(ITEM_RECTANGLE);
    Drag(h, 360, 60, 460, 120);
    View_SetTool(ITEM_CIRCLE);
    Drag(h, 520, 300, 560, 330);
    View_SetTool(ITEM_ANGLE);
    Drag(h, 60, 300, 200, 300);
    MoveTo(h, 120, 220, false);
    Press(h, 120, 220);
    Release(h, 120, 220);
    View_SetTool(ITEM_FREEHAND);
    Press(h, 300, 400);
    for (int i = 1; i <= 20; i++)
        MoveTo(h, 300 + 5 * i, 400 + (i % 5) * 4);
    Release(h, 400, 400);
    View_SetTool(ITEM_TEXT);
    gView.phase = 12;
    SendMessageW(h.view, WM_COMMAND, CMD_VIEW_TEXT_ITEM, (LPARAM) "Init");
    wcscpy(gView.newItem.text, L"Sample text");
    SendMessageW(h.view, WM_COMMAND, CMD_VIEW_TEXT_ITEM, (LPARAM) "OK");
    View_SetTool(0);

    ASSERT_EQ(gView.items.size(), 7u);
    const int kinds[] = {ITEM_LINE, ITEM_POINT_LINE, ITEM_RECTANGLE, ITEM_CIRCLE, ITEM_ANGLE, ITEM_FREEHAND, ITEM_TEXT};
    for (int i = 0; i < 7; i++)
        EXPECT_EQ(gView.items[(size_t)i].kind, kinds[i]);
    EXPECT_EQ(gView.items[1].x3, 200);
    EXPECT_EQ(gView.items[1].y3, 180);
    EXPECT_EQ(gView.items[5].points.size(), 21u);
    EXPECT_EQ(gView.items[6].x1, 220);
    h.Paint();
    EXPECT_GT(h.Count(kTextColor, {22, 42, 140, 70}), 20) << "line label below right of p1";
    EXPECT_GT(h.Count(kTextColor, {202, 182, 320, 210}), 20) << "D: label at p3";
    EXPECT_GT(h.Count(kTextColor, {362, 62, 460, 100}), 20) << "two rectangle lines";
    EXPECT_GT(h.Count(kTextColor, {62, 302, 140, 330}), 20) << "angle at the vertex";
    EXPECT_EQ(h.Pixel(200, 179), kLineColor) << "the parallel through p3";
    EXPECT_EQ(h.Pixel(515, 300), kLineColor) << "the circle's centre handle";
    EXPECT_EQ(h.Pixel(516, 300), kFrameColor);
    h.Screenshot(L"items");
}

TEST(ViewWindow, LabelsFlipAtTheRightAndBottomEdges)
{
    ViewHarness h(800, 600);
    h.StartFrames(640, 480);
    View_SetCalibration(1.0f, 0);
    View_SetTool(ITEM_LINE);
    Drag(h, 600, 470, 600, 400); // "70.00000mm" would cross both edges
    Drag(h, 600, 100, 630, 100); // crosses only the right edge
    View_SetTool(ITEM_CIRCLE);
    Drag(h, 100, 465, 130, 465); // three lines would cross the bottom
    h.Paint();
    EXPECT_EQ(h.Count(kTextColor, {602, 402, 640, 480}), 0);
    EXPECT_GT(h.Count(kTextColor, {500, 430, 598, 468}), 20);
    EXPECT_EQ(h.Count(kTextColor, {602, 80, 640, 125}), 0);
    EXPECT_GT(h.Count(kTextColor, {520, 102, 598, 125}), 20) << "left of the anchor, still below";
    EXPECT_EQ(h.Count(kTextColor, {0, 467, 640, 480}), 0);
    EXPECT_GT(h.Count(kTextColor, {102, 400, 220, 463}), 60);
    h.Screenshot(L"label-flips");
}

TEST(ViewWindow, ThePointerHoversSelectsMovesAndDeletes)
{
    ViewHarness h(800, 600);
    h.StartFrames(640, 480);
    View_SetTool(ITEM_LINE);
    Drag(h, 100, 100, 200, 100);
    Drag(h, 100, 104, 200, 104);
    View_SetTool(0);
    h.Paint();
    EXPECT_EQ(h.Pixel(95, 94), kFrameColor);
    MoveTo(h, 101, 103, false); // both hit: the lower index wins
    EXPECT_EQ(gView.hover, 0);
    EXPECT_EQ(h.Pixel(95, 95), kLineColor) << "the hovered handle's frame, at once";
    EXPECT_EQ(h.Pixel(96, 96), kFrameColor) << "framed, not filled";
    Press(h, 199, 101);
    MoveTo(h, 219, 111);
    Release(h, 219, 111);
    EXPECT_EQ(gView.selected, 0);
    EXPECT_EQ(gView.items[0].x1, 120);
    EXPECT_EQ(gView.items[0].y2, 110);
    EXPECT_EQ(h.Pixel(160, 110), kLineColor) << "moved before any paint";
    h.Key(VK_DELETE);
    ASSERT_EQ(gView.items.size(), 1u);
    EXPECT_EQ(gView.items[0].y1, 104);
    Press(h, 400, 400);
    Release(h, 400, 400);
    EXPECT_EQ(gView.selected, -1);
}

TEST(ViewWindow, DraggingEmptyAreaPansALargePictureAndTheBarsFollow)
{
    ViewHarness h(800, 600);
    h.StartFrames(1600, 1200);
    h.Paint();
    LONG style = GetWindowLongW(h.view, GWL_STYLE);
    EXPECT_TRUE((style & WS_HSCROLL) && (style & WS_VSCROLL));
    RECT client;
    GetClientRect(h.view, &client);
    EXPECT_EQ(client.right, 800 - GetSystemMetrics(SM_CXVSCROLL));
    int x = gView.scrollX, y = gView.scrollY;
    EXPECT_EQ(x, 400) << "centred after the format change";
    h.Press(400, 300);
    h.MoveTo(300, 250);
    h.Release(300, 250);
    EXPECT_EQ(gView.scrollX, x + 100);
    EXPECT_EQ(gView.scrollY, y + 50);
    EXPECT_EQ(GetScrollPos(h.view, SB_HORZ), x + 100);
    SendMessageW(h.view, WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 5000), 0);
    EXPECT_EQ(gView.scrollX, 1600 - client.right);
    SendMessageW(h.view, WM_VSCROLL, MAKEWPARAM(SB_TOP, 0), 0);
    EXPECT_EQ(gView.scrollY, 0);
    EXPECT_EQ(GetScrollPos(h.view, SB_VERT), 0);
    EXPECT_TRUE(gView.items.empty()) << "panning creates nothing";
}

TEST(ViewWindow, FittingAZoomTellsTheParent)
{
    ViewHarness h(900, 900);
    h.StartFrames(1280, 720);
    View_SetZoom(0);
    EXPECT_EQ(gView.zoom, 70);
    PumpMessages(20);
    EXPECT_TRUE(Posted(0x8005, 0));
    h.Paint();
    BITMAP bm = {};
    GetObjectW(gView.backBitmap, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, 896);
    EXPECT_EQ(bm.bmHeight, 504);
    EXPECT_EQ(h.Pixel(500, 300), kFrameColor);
}

TEST(ViewWindow, SpaceAsksTheParentForASnapshot)
{
    ViewHarness h(800, 600);
    h.Key(VK_SPACE);
    PumpMessages(20);
    EXPECT_TRUE(Posted(WM_COMMAND, CMD_OPEN_DEVICE_OR_SNAPSHOT_KEY));
}

TEST(ViewWindow, TheCalibrationLineEndsDragButTheLineStaysAtLeast200Pixels)
{
    ViewHarness h(800, 600);
    h.StartFrames(640, 480);
    gView.calibLength = 4800;
    h.Paint();
    ASSERT_EQ(gView.calibLeft, 170);
    ASSERT_EQ(gView.calibRight, 470);
    EXPECT_EQ(h.Pixel(170, 181), kLineColor);
    EXPECT_EQ(h.Pixel(470, 299), kLineColor);
    EXPECT_EQ(h.Pixel(300, 240), kLineColor);
    MoveTo(h, 171, 250, false);
    EXPECT_TRUE(gView.calibHoverLeft);
    EXPECT_EQ(h.Pixel(166, 210), kLineColor) << "arrow tip";
    EXPECT_EQ(h.Pixel(174, 270), kLineColor) << "arrow tip";
    h.Screenshot(L"calibration-line");
    Press(h, 171, 250);
    MoveTo(h, 372, 250); // 99 pixels: refused
    EXPECT_EQ(gView.calibLeft, 170);
    MoveTo(h, 271, 250);
    EXPECT_EQ(gView.calibLeft, 270);
    EXPECT_EQ(gView.calibLength, 200);
    EXPECT_EQ(h.Pixel(270, 200), kLineColor);
    Release(h, 271, 250);
    EXPECT_EQ(gView.tool, 0);
    Press(h, 469, 240);
    MoveTo(h, 640, 240); // outside the image: ignored
    MoveTo(h, 639, 240);
    EXPECT_EQ(gView.calibRight, 470) << "the right end may not reach the edge";
    MoveTo(h, 600, 240);
    EXPECT_EQ(gView.calibRight, 601);
    Release(h, 600, 240);
    EXPECT_TRUE(gView.items.empty());
}

TEST(ViewWindow, ThePendingTextIsOutlinedDraggedAndDestroyingTheViewResetsIt)
{
    ViewHarness h(800, 600);
    h.StartFrames(640, 480);
    View_SetTool(ITEM_TEXT);
    gView.phase = 12;
    SendMessageW(h.view, WM_COMMAND, CMD_VIEW_TEXT_ITEM, (LPARAM) "Init");
    EXPECT_EQ(gView.newItem.x1, 220);
    EXPECT_EQ(gView.newItem.y1, 138);
    SendMessageW(h.view, WM_COMMAND, CMD_VIEW_TEXT_ITEM, (LPARAM) "OK");
    EXPECT_TRUE(gView.items.empty()) << "no text, nothing committed";
    h.Paint();
    EXPECT_EQ(h.Pixel(222, 150), kLineColor) << "the box outline";
    Press(h, 230, 145);
    MoveTo(h, 250, 165);
    Release(h, 250, 165);
    EXPECT_EQ(gView.newItem.x1, 240);
    EXPECT_EQ(gView.newItem.y1, 158);
    wcscpy(gView.newItem.text, L"Hello");
    SendMessageW(h.view, WM_COMMAND, CMD_VIEW_TEXT_ITEM, (LPARAM) "OK");
    EXPECT_EQ(gView.items.size(), 1u);
    DestroyWindow(h.view);
    EXPECT_TRUE(gView.items.empty());
    EXPECT_TRUE(gView.frameBits.empty());
    EXPECT_EQ(gView.backBitmap, nullptr);
}

} // namespace
