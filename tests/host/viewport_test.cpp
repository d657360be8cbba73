#include "capture/camera_state.h"
#include "support/view_fixture.h"
#include "view/view_platform.h"
#include "state/view_api.h"
#include "view/view_state.h"
#include "view/viewport.h"

namespace {

using Viewport = ViewTest;

TEST(ZoomFitting, TakesTheSmallerRatioTruncatedWithin50To200)
{
    EXPECT_EQ(View_FitZoom(900, 900, 1280, 720), 70);
    EXPECT_EQ(View_FitZoom(1300, 1000, 640, 480), 200);
    EXPECT_EQ(View_FitZoom(300, 900, 1280, 720), 50);
    EXPECT_EQ(View_FitZoom(800, 600, 0, 0), 100) << "nothing to fit";
    EXPECT_EQ(View_ZoomedSize(1280, 70), 896);
    EXPECT_EQ(View_ZoomedSize(641, 150), 961);
}

TEST_F(Viewport, ZoomRequestsOutside50To200FitAndTellTheParent)
{
    View_ApplyZoom(50);
    EXPECT_EQ(gView.zoom, 50);
    EXPECT_EQ(gView.displayWidth, 320);
    EXPECT_FALSE(gView.fitToWindow);
    EXPECT_EQ(gFake.zoomFittedPosts, 0);
    View_ApplyZoom(201); // 800 x 600 client: 1.25
    EXPECT_EQ(gView.zoom, 125);
    EXPECT_EQ(gView.displayHeight, 600);
    EXPECT_TRUE(gView.fitToWindow);
    EXPECT_EQ(gFake.zoomFittedPosts, 1);
    View_ApplyZoom(49);
    EXPECT_EQ(gFake.zoomFittedPosts, 1) << "fitting again gives the same zoom";
    int invalidations = gFake.invalidations;
    View_ApplyZoom(125);
    EXPECT_FALSE(gView.fitToWindow) << "the flag follows every request";
    EXPECT_EQ(gFake.invalidations, invalidations) << "same zoom: no repaint";
    View_ApplyZoom(200);
    EXPECT_EQ(gView.zoom, 200);
}

TEST_F(Viewport, AZoomChangeDropsTheBackBuffer)
{
    gView.backBitmap = (HBITMAP__ *)1;
    View_ApplyZoom(150);
    EXPECT_EQ(gFake.backBufferDestroyed, 1);
    View_ApplyZoom(150);
    EXPECT_EQ(gFake.backBufferDestroyed, 1);
}

TEST_F(Viewport, ResizingRefitsOnlyWhileFitting)
{
    View_ApplyZoom(0);
    ASSERT_EQ(gView.zoom, 125);
    gFake.viewWidth = 1000, gFake.viewHeight = 1000;
    View_OnSize(false);
    EXPECT_EQ(gView.zoom, 156);
    View_ApplyZoom(100);
    gFake.viewWidth = 400;
    View_OnSize(false);
    EXPECT_EQ(gView.zoom, 100);
}

TEST_F(Viewport, TheVerticalBarCanMakeTheHorizontalOneNecessary)
{
    // 810 wide in 800: the horizontal bar takes 17 of the 600 rows, and 590
    // rows no longer fit, so the vertical bar comes too.
    SetFrame(810, 590);
    View_UpdateScrollBars();
    EXPECT_TRUE(gView.hScrollShown);
    EXPECT_TRUE(gView.vScrollShown);
    ASSERT_EQ(gFake.scrollCalls.size(), 2u);
    const ScrollCall &h = gFake.scrollCalls[0];
    EXPECT_EQ(h.page, 50);
    EXPECT_EQ(h.maximum, 810 + 50 - 783 - 1) << "largest position 810 - 783";
    const ScrollCall &v = gFake.scrollCalls[1];
    EXPECT_EQ(v.maximum, 590 + 50 - 583 - 1);

    SetFrame(790, 590); // fits with neither bar
    View_UpdateScrollBars();
    EXPECT_FALSE(gView.hScrollShown || gView.vScrollShown);
    EXPECT_TRUE(gFake.scrollCalls.empty());

    SetFrame(790, 700); // the vertical bar leaves 783 columns: 790 no longer fits
    View_UpdateScrollBars();
    EXPECT_TRUE(gView.hScrollShown && gView.vScrollShown);
}

TEST_F(Viewport, ScrollPositionsStayWithinTheRange)
{
    SetFrame(1000, 900);
    View_UpdateScrollBars(); // client 783 x 583
    View_Scroll(SCROLL_HORZ, 5, 5000);
    EXPECT_EQ(gView.scrollX, 217);
    EXPECT_EQ(gFake.recomposes, 1);
    View_Scroll(SCROLL_HORZ, 1, 0);
    EXPECT_EQ(gFake.recomposes, 1) << "already at the end";
    View_Scroll(SCROLL_HORZ, 2, 0);
    EXPECT_EQ(gView.scrollX, 167);
    View_Scroll(SCROLL_VERT, 7, 0);
    EXPECT_EQ(gView.scrollY, 317);
    View_Scroll(SCROLL_VERT, 0, 0);
    EXPECT_EQ(gView.scrollY, 312);
    View_Scroll(SCROLL_VERT, 6, 0);
    EXPECT_EQ(gView.scrollY, 0);
    View_Scroll(SCROLL_VERT, 8, 0); // SB_ENDSCROLL
    EXPECT_EQ(gView.scrollY, 0);
    EXPECT_FALSE(gFake.scrollCalls.back().range) << "positions only";
    SetFrame(640, 480);
    View_UpdateScrollBars();
    EXPECT_EQ(gView.scrollX, 0);
}

TEST_F(Viewport, AFormatChangeCentresALargeFrameAndPostsTheSize)
{
    gCamera.frameHeader = BitmapHeader{40, 1920, -1080, 1, 24, 0, 0, 0, 0, 0, 0};
    Calibrate(3.0f);
    View_SetFrameFormat();
    EXPECT_EQ(gView.imageHeight, 1080);
    EXPECT_EQ(gView.frameSize, 1920 * 1080 * 3);
    EXPECT_EQ(gView.bitmapInfo.bmiHeader.biHeight, -1080) << "the header as found";
    EXPECT_EQ(gView.scale, -1.0f);
    EXPECT_EQ(gView.rulerStepPx, 0);
    EXPECT_EQ(gFake.sizePosts, 1);
    View_OnSize(true);
    EXPECT_EQ(gView.scrollX, (1920 - 800) / 2) << "centred with the bar-less client";
    EXPECT_TRUE(gView.hScrollShown && gView.vScrollShown);
    EXPECT_EQ(gView.scrollY, (1080 - 600) / 2);
}

TEST_F(Viewport, ResetReturnsToTheNoCameraState)
{
    gView.items.resize(3);
    gView.selected = 1, gView.hover = 2;
    gView.dragItem = &gView.items[0];
    View_ApplyZoom(150);
    View_Reset();
    EXPECT_TRUE(gView.items.empty());
    EXPECT_TRUE(gView.frameBits.empty());
    EXPECT_EQ(gView.dragItem, nullptr);
    EXPECT_EQ(gView.selected, -1);
    EXPECT_EQ(gView.hover, -1);
    EXPECT_EQ(gView.displayWidth, 0);
    EXPECT_EQ(gView.zoom, 100);
    EXPECT_EQ(gFake.backBufferDestroyed, 1);
}

TEST_F(Viewport, WindowPointsMapToImagePixelsCentredByTheImageSize)
{
    Rect client = {0, 0, 800, 600};
    Point p;
    EXPECT_TRUE(View_MapPoint(&p, client, 80, 60));
    EXPECT_EQ(p, (Point{0, 0}));
    EXPECT_FALSE(View_MapPoint(&p, client, 79, 300));
    EXPECT_FALSE(View_MapPoint(&p, client, 720, 300)) << "right edge is outside";
    EXPECT_TRUE(View_MapPoint(&p, client, 719, 539));
    gView.scrollX = 100;
    EXPECT_TRUE(View_MapPoint(&p, {0, 0, 500, 600}, 0, 60));
    EXPECT_EQ(p.x, 100);
}

TEST_F(Viewport, PanningScrollsAgainstThePointerWithinTheRange)
{
    SetFrame(1600, 1200);
    View_UpdateScrollBars(); // client 783 x 583
    gView.lastPoint = {400, 300};
    View_Pan(400, 300);
    EXPECT_EQ(gFake.recomposes, 0);
    View_Pan(350, 280); // dragged left and up: the picture follows
    EXPECT_EQ(gView.scrollX, 50);
    EXPECT_EQ(gView.scrollY, 20);
    EXPECT_EQ(gFake.recomposes, 1);
    gView.lastPoint = {350, 280};
    View_Pan(450, 380); // beyond the start: clamped at 0, nothing changes
    View_Pan(450, 380);
    gView.lastPoint = {450, 380};
    View_Pan(500, 400);
    EXPECT_EQ(gView.scrollX, 0);
    EXPECT_EQ(gFake.recomposes, 2);
}

TEST(Background, MarginsAndBorderSurroundASmallFrame)
{
    BackgroundLayout b = View_BackgroundLayout(1000, 600, 640, 480);
    ASSERT_EQ(b.greyCount, 4);
    EXPECT_EQ(b.grey[0], (Rect{0, 0, 180, 600}));
    EXPECT_EQ(b.grey[1], (Rect{820, 0, 1000, 600}));
    EXPECT_EQ(b.grey[2], (Rect{0, 0, 1000, 60}));
    EXPECT_EQ(b.grey[3], (Rect{0, 540, 1000, 600}));
    ASSERT_EQ(b.blackCount, 4);
    EXPECT_EQ(b.black[0], (Rect{177, 57, 180, 543}));
    EXPECT_EQ(b.black[1], (Rect{820, 57, 823, 543}));
    EXPECT_EQ(b.black[2], (Rect{177, 57, 823, 60}));
    EXPECT_EQ(b.black[3], (Rect{177, 540, 823, 543}));

    b = View_BackgroundLayout(1000, 480, 640, 479); // one spare row: the bars reach 0
    EXPECT_EQ(b.black[0], (Rect{177, 0, 180, 480}));
    EXPECT_EQ(b.black[2], (Rect{177, -3, 823, 0}));
    b = View_BackgroundLayout(600, 400, 1280, 720);
    EXPECT_EQ(b.greyCount, 0);
    EXPECT_EQ(b.blackCount, 0);
}

TEST(Background, TheBackBufferIsCentredOrScrolled)
{
    BlitSpan centred = View_BlitSpan(false, 1000, 640, 0);
    EXPECT_EQ(centred.destination, 180);
    EXPECT_EQ(centred.length, 640);
    BlitSpan scrolled = View_BlitSpan(true, 783, 1920, 300);
    EXPECT_EQ(scrolled.destination, 0);
    EXPECT_EQ(scrolled.source, 300);
    EXPECT_EQ(scrolled.length, 783);
}

} // namespace
