// The camera view window under Wine: composition into the back buffer,
// background, overlays, items, and editing with real window messages.
#include "base/commands.h"
#include "capture/camera_graph.h"
#include "state/view_api.h"
#include "view/view_state.h"
#include "view/view_win.h"
#include "view_harness.h"
#include "wine_support.h"

#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <utility>

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

// The overlays and the calibration line as the platform draws them: pens and
// label font really reach the back buffer. Where each line lies is the host
// tests' business; the screenshots are for a person to look at.
TEST(ViewWindow, EveryOverlayAndTheCalibrationLineAreDrawnWithTheirLabels)
{
    ViewHarness h(800, 600);
    h.StartFrames(640, 480);
    const RECT image = {0, 0, 640, 480}, belowCentre = {320, 242, 460, 270};
    const std::pair<bool *, std::wstring> overlays[] = {
        {&gView.showGrid, L"grid"}, {&gView.showCross, L"cross"}, {&gView.showCircles, L"circles"}};
    for (const auto &[overlay, name] : overlays) {
        SCOPED_TRACE(name);
        *overlay = true;
        View_SetCalibration(-1.0f, 0);
        h.Paint();
        EXPECT_GT(h.Count(kGridColor, image), 640);
        EXPECT_EQ(h.Count(kTextColor, image), 0);
        h.Screenshot((name + L"-uncalibrated").c_str());
        View_SetCalibration(10.0f, 0);
        h.Paint();
        EXPECT_GT(h.Count(kGridColor, image), 640);
        EXPECT_GT(h.Count(kTextColor, belowCentre), 10) << "the scale label";
        h.Screenshot((name + L"-calibrated").c_str());
        *overlay = false;
    }
    View_SetCalibration(-1.0f, 0);
    gView.calibLength = 4800;
    h.Paint();
    EXPECT_GT(h.Count(kLineColor, image), 300) << "the line and its two arrows";
    h.Screenshot(L"calibration-line");
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

// The view composes only what the window shows and leaves out what lies
// wholly outside it: scrolled into an enlarged picture of distinct pixels,
// the window shows what the whole composition (a snapshot as shown) has there.
TEST(ViewWindow, TheWindowShowsItsPartOfTheWholeComposition)
{
    ViewHarness h(500, 400);
    h.StartFrames(1920, 1080);
    View_SetCalibration(7.3f, 0);
    gView.showGrid = gView.showNumbers = true;
    for (int i = 0; i < 30; i++)
        gView.items.push_back(BenchItem(i));
    h.Paint();
    for (size_t i = 0; i < gView.frameBits.size(); i++)
        gView.frameBits[i] = (uint8_t)(i * 7 + i / 251);
    View_SetZoom(150);
    SendMessageW(h.view, WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 900), 0);
    SendMessageW(h.view, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 500), 0);
    ASSERT_EQ(gView.scrollX, 900);
    ASSERT_EQ(gView.scrollY, 500);
    int width, height, backWidth, backHeight;
    std::vector<COLORREF> shown = h.PaintClient(&width, &height, L"scrolled-part");
    const uint32_t *back = View_BackPixels(&backWidth, &backHeight);
    ASSERT_EQ(backWidth, 2880);
    int differing = 0, lines = 0;
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            uint32_t p = back[(size_t)(500 + y) * backWidth + 900 + x];
            COLORREF pixel = shown[(size_t)y * width + x];
            differing += RGB(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF) != pixel;
            lines += pixel == kLineColor;
        }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(lines, 100) << "items cross the shown part";
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
