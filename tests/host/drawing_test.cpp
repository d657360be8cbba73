#include "support/view_fixture.h"
#include "view/drawing.h"
#include "view/items.h"
#include "base/commands.h"
#include "view/overlays.h"
#include "view/scale_bar.h"
#include "view/view_commands.h"
#include "view/view_platform.h"
#include "view/view_state.h"
#include "view/viewport.h"

#include <algorithm>

namespace {

using Drawing = ViewTest;

bool HasPenLine(int x1, int y1, int x2, int y2)
{
    for (const CanvasCall &c : ViewTest::Calls(CANVAS_PEN_LINE))
        if (c.r == Rect{x1, y1, x2, y2})
            return true;
    return false;
}

// The step of the 1-2-5 series nearest to 100 screen pixels, at every
// calibration (400 px over 10000 um once stopped at 50 um = 2 px) and zoom.
TEST_F(Drawing, TheRulerStepIsTheSeriesValueNearestTo100ScreenPixels)
{
    Calibrate(7.3f);
    EXPECT_EQ(gView.rulerStepPx, 73);
    EXPECT_FLOAT_EQ(gView.rulerStepValue, 10.0f);
    Calibrate(450.0f);
    EXPECT_EQ(gView.rulerStepPx, 90);
    EXPECT_FLOAT_EQ(gView.rulerStepValue, 0.2f);
    Calibrate(150.0f); // 0.5 -> 75 and 1 -> 150 are equally near: the smaller step stays
    EXPECT_EQ(gView.rulerStepPx, 75);
    Calibrate(0.04f); // 400 px over 10000 um
    EXPECT_EQ(gView.rulerStepPx, 80);
    EXPECT_FLOAT_EQ(gView.rulerStepValue, 2000.0f);
    Calibrate(40000.0f);
    EXPECT_EQ(gView.rulerStepPx, 80);
    EXPECT_FLOAT_EQ(gView.rulerStepValue, 0.002f);
    View_ApplyZoom(50); // 80 image px would be 40 on the screen: 0.005 mm, 100 there
    EXPECT_EQ(gView.rulerStepPx, 200);
    EXPECT_FLOAT_EQ(gView.rulerStepValue, 0.005f);
    View_ApplyZoom(100);
    Calibrate(-1.0f);
    EXPECT_EQ(gView.rulerStepPx, 0);
    EXPECT_EQ(gView.rulerStepValue, 0.0f);
}

// The largest 1-2-5 length within a fifth of the picture's width, exactly
// that many picture pixels long, in the bottom-right corner.
TEST_F(Drawing, TheScaleBarIsTheLargestSeriesLengthWithinAFifthOfTheWidth)
{
    ScaleBar bar;
    ASSERT_TRUE(ScaleBar_Choose(1280, 40, 0, &bar)); // 256 px = 6.4 mm
    EXPECT_EQ(bar.micrometres, 5000);
    EXPECT_EQ(bar.pixels, 200);
    ASSERT_TRUE(ScaleBar_Choose(1280, 8, 0, &bar));
    EXPECT_EQ(bar.micrometres, 20000);
    EXPECT_EQ(bar.pixels, 160);
    ASSERT_TRUE(ScaleBar_Choose(1280, 1, 1, &bar));
    EXPECT_EQ(bar.micrometres, 200);
    EXPECT_EQ(bar.pixels, 200);
    EXPECT_FALSE(ScaleBar_Choose(1280, -1, 0, &bar));

    gView.showScaleBar = true;
    View_DrawScene();
    EXPECT_TRUE(Calls(CANVAS_FILL).empty()) << "no bar without a calibration";
    Calibrate(40.0f, 0); // 640 / 5 = 128 px = 3.2 mm: 2 mm
    View_DrawScene();
    auto fills = Calls(CANVAS_FILL);
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_EQ(fills[0].r.right, 640 - 16);
    EXPECT_EQ(fills[0].r.bottom, 480 - 16);
    EXPECT_EQ(fills[1].r.right - fills[1].r.left, 80);
    EXPECT_EQ(fills[1].color, gView.lineColor);
    EXPECT_EQ(Texts(), std::vector<std::wstring>{L"2 mm"});
}

TEST_F(Drawing, TheUncalibratedGridHasLinesEvery100PixelsFromTheCentre)
{
    gView.showGrid = true;
    View_DrawScene();
    std::vector<int> rows, columns;
    for (const CanvasCall &c : Calls(CANVAS_PEN_LINE)) {
        if (c.r.left == 0 && c.r.right == 640 && c.r.top != 240)
            rows.push_back(c.r.top);
        if (c.r.top == 0 && c.r.bottom == 480 && c.r.left != 320)
            columns.push_back(c.r.left);
    }
    std::sort(rows.begin(), rows.end());
    std::sort(columns.begin(), columns.end());
    EXPECT_EQ(rows, (std::vector<int>{40, 140, 340, 440}));
    EXPECT_EQ(columns, (std::vector<int>{20, 120, 220, 420, 520, 620}));
    EXPECT_TRUE(HasPenLine(0, 240, 640, 240) && HasPenLine(320, 0, 320, 480)) << "axes";
    EXPECT_TRUE(Texts().empty()) << "no scale label without calibration";
}

TEST_F(Drawing, TheUncalibratedRulerTicksEvery10PixelsLongerEveryFifth)
{
    gView.showCross = true;
    View_DrawScene();
    EXPECT_TRUE(HasPenLine(316, 230, 320, 230));
    EXPECT_TRUE(HasPenLine(311, 290, 320, 290)) << "i = 5 is long";
    EXPECT_TRUE(HasPenLine(316, 470, 320, 470)) << "i = 23 is the last";
    EXPECT_FALSE(HasPenLine(316, 480, 320, 480));
    EXPECT_TRUE(HasPenLine(10, 236, 10, 240)) << "i = 31 on the left";
    EXPECT_TRUE(HasPenLine(620, 231, 620, 240)) << "i = 30 is long";
    EXPECT_EQ(Calls(CANVAS_PEN_LINE).size(), 2u + 2 * 23 + 2 * 31);
}

TEST_F(Drawing, TheCalibratedRulerTicksFromTheStepWithMinorTicks)
{
    Calibrate(7.3f); // S = 73
    gView.showCross = true;
    View_DrawScene();
    EXPECT_TRUE(HasPenLine(320, 167, 340, 167)) << "major above the centre";
    EXPECT_TRUE(HasPenLine(320, 313, 340, 313));
    EXPECT_TRUE(HasPenLine(393, 220, 393, 240)) << "major right of the centre";
    EXPECT_TRUE(HasPenLine(320, 167 + 37, 334, 167 + 37)) << "the long minor j = 5";
    EXPECT_TRUE(HasPenLine(320, 167 + 7, 328, 167 + 7)) << "offset(1) = 7.3 rounded";
    EXPECT_TRUE(HasPenLine(393 - 66, 240, 393 - 66, 232)) << "offset(9) = 65.7 rounded";
    EXPECT_TRUE(HasPenLine(320, 21, 340, 21)) << "k = 3";
    EXPECT_FALSE(HasPenLine(320, -52, 340, -52)) << "k = 4 is outside";
    EXPECT_TRUE(HasPenLine(320, -52 + 66, 328, -52 + 66)) << "yet its minors reach in";
    ASSERT_EQ(Texts(), std::vector<std::wstring>{L"10mm"});
    const CanvasCall label = Calls(CANVAS_TEXT)[0];
    EXPECT_EQ(label.font, FONT_CURRENT);
    EXPECT_EQ(label.r, (Rect{320 - 16 + 73, 242, 320 - 16 + 73 + 32, 242 + 16}));
}

TEST_F(Drawing, TheCalibratedGridAndCirclesUseTheStep)
{
    Calibrate(10.0f, 1); // 10 units = 100 pixels
    gView.showGrid = true;
    View_DrawScene();
    EXPECT_TRUE(HasPenLine(0, 140, 640, 140));
    EXPECT_TRUE(HasPenLine(20, 0, 20, 480));
    EXPECT_FALSE(HasPenLine(320, 140, 340, 140)) << "no major ticks";
    EXPECT_TRUE(HasPenLine(320, 190, 334, 190));
    EXPECT_EQ(Calls(CANVAS_TEXT)[0].r.left, 320 + (100 - 4 * 8) / 2);

    gFake.canvas.clear();
    gView.showGrid = false;
    gView.showCircles = true;
    View_DrawScene();
    auto circles = Calls(CANVAS_CIRCLE);
    ASSERT_EQ(circles.size(), 3u); // 640 / 200
    EXPECT_EQ(circles[2].r, (Rect{20, -60, 600, 600}));
    EXPECT_EQ(circles[2].pen, PEN_OVERLAY);
    EXPECT_TRUE(HasPenLine(320, 190, 334, 190)) << "minor ticks as for the grid";
    EXPECT_EQ(Texts(), std::vector<std::wstring>{L"10\u03bcm"});

    Calibrate(-1.0f);
    gFake.canvas.clear();
    View_DrawScene();
    EXPECT_EQ(Calls(CANVAS_CIRCLE).size(), 3u); // radii 100, 200, 300
}

// In image pixels at every zoom (the canvas maps them); handles keep their
// size on the screen.
TEST_F(Drawing, OverlaysItemsAndHandlesAreDrawnAtEveryZoom)
{
    gView.showCross = gView.showGrid = gView.showCircles = true;
    gView.items.push_back(Item(ITEM_LINE, 10, 10, 100, 10));
    View_ApplyZoom(150);
    View_DrawScene();
    EXPECT_TRUE(HasPenLine(0, 240, 640, 240)) << "the cross's axis, in image pixels";
    EXPECT_EQ(Calls(CANVAS_CIRCLE).size(), 3u);
    EXPECT_EQ(Calls(CANVAS_LINE).size(), 3u) << "the line and its end ticks";
    View_ApplyZoom(50);
    EXPECT_EQ(View_HandleRect(100, 100), (Rect{90, 90, 110, 110}));
}

TEST_F(Drawing, HandlesAreClippedToTheImageAndFilledWhenSelected)
{
    EXPECT_EQ(View_HandleRect(2, 3), (Rect{0, 0, 7, 8}));
    EXPECT_EQ(View_HandleRect(638, 479), (Rect{633, 474, 640, 480}));
    gView.items.push_back(Item(ITEM_RECTANGLE, 2, 3, 40, 50));
    gView.items.push_back(Item(ITEM_LINE, 100, 100, 200, 200));
    View_DrawScene();
    EXPECT_TRUE(Calls(CANVAS_FILL).empty());
    EXPECT_EQ(Calls(CANVAS_FRAME).size(), 1u) << "neither selected nor hovered: the outline only";
    gFake.canvas.clear();
    gView.selected = 0;
    gView.hover = 1;
    View_DrawScene();
    auto filled = Calls(CANVAS_FILL);
    ASSERT_EQ(filled.size(), 4u);
    EXPECT_EQ(filled[0].r, (Rect{0, 0, 7, 8}));
    EXPECT_EQ(Calls(CANVAS_FRAME).size(), 1u + 2) << "outline and the hovered line's handles";
}

TEST_F(Drawing, ARectangleAtLineWidth2IsTwoNestedFramesWithItsLabelAtTheTopLeft)
{
    Calibrate(10.0f);
    gView.lineWidth = 2;
    gView.items.push_back(Item(ITEM_RECTANGLE, 100, 50, 40, 10));
    View_DrawScene();
    auto frames = Calls(CANVAS_FRAME);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].r, (Rect{40, 10, 100, 50}));
    EXPECT_EQ(frames[1].r, (Rect{41, 11, 99, 49}));
    auto texts = Calls(CANVAS_TEXT);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].r, (Rect{42, 12, 42 + 11 * 7, 25}));
    EXPECT_EQ(texts[1].text, L"S:24.00mm^2");
    EXPECT_EQ(texts[1].r.top, 25);
}

TEST_F(Drawing, LinesHaveEndTicksAcrossThemAndLabelsThatFlipAtTheEdges)
{
    Calibrate(1.0f);
    gView.items.push_back(Item(ITEM_LINE, 600, 470, 600, 400));
    gView.items.push_back(Item(ITEM_LINE, 0, 0, 30, 40));
    View_DrawScene();
    auto lines = Calls(CANVAS_LINE);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0].pen, PEN_ITEM);
    EXPECT_EQ(lines[1].r, (Rect{588, 470, 612, 470}));
    EXPECT_EQ(lines[1].pen, PEN_THIN);
    // theta = atan2(40, 30): s = (int)(0.8 * 12) = 9, c = (int)(0.6 * 12) = 7
    EXPECT_EQ(lines[4].r, (Rect{-9, 7, 9, -7}));
    EXPECT_EQ(lines[5].r, (Rect{21, 47, 39, 33}));
    auto texts = Calls(CANVAS_TEXT);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, L"70.00000mm");
    EXPECT_EQ(texts[0].r, (Rect{598 - 70, 468 - 13, 598, 468})) << "moved left and up";
}

TEST_F(Drawing, PointToLineItemsDrawConnectorAndParallel)
{
    gView.items.push_back(Item(ITEM_POINT_LINE, 100, 100, 300, 100, 200, 180));
    gView.items.push_back(Item(ITEM_POINT_LINE, 0, 0, 10, 10, 10, 0));
    gView.items.push_back(Item(ITEM_POINT_LINE, 50, 50, 60, 70)); // no third point
    View_DrawScene();
    auto lines = Calls(CANVAS_LINE);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[1].r, (Rect{200, 180, 200, 100}));
    EXPECT_EQ(lines[2].r, (Rect{100, 180, 300, 180}));
    EXPECT_EQ(lines[4].r, (Rect{10, 0, 5, 5})) << "to the foot, thin";
    EXPECT_EQ(lines[4].pen, PEN_THIN);
    EXPECT_EQ(lines[5].r, (Rect{5, -5, 15, 5}));
    EXPECT_EQ(lines[6].r, (Rect{50, 50, 60, 70}));
}

TEST_F(Drawing, CirclesAnglesStrokesAndTexts)
{
    Calibrate(1.0f, 1);
    gView.items.push_back(Item(ITEM_CIRCLE, 630, 470, 633, 474));
    gView.items.push_back(Item(ITEM_ANGLE, 50, 50, 60, 50, 50, 60));
    MeasureItem stroke = Item(ITEM_FREEHAND, 0, 0, 0, 0);
    stroke.points = {{1, 1}, {5, 5}, {9, 1}};
    gView.items.push_back(stroke);
    gView.items.push_back(Item(ITEM_TEXT, 300, 300, 0, 0));
    View_DrawScene();
    auto circles = Calls(CANVAS_CIRCLE);
    ASSERT_EQ(circles.size(), 1u);
    EXPECT_EQ(circles[0].r, (Rect{625, 465, 10, 10}));
    auto frames = Calls(CANVAS_FRAME);
    ASSERT_EQ(frames.size(), 1u) << "the centre handle is always drawn; the text box is not";
    EXPECT_EQ(frames[0].r, (Rect{625, 465, 635, 475}));
    auto texts = Texts();
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(texts[3], L"90.000\u00b0");
    EXPECT_EQ(texts[4], gView.textPrompt);
    EXPECT_EQ(Calls(CANVAS_TEXT)[0].r.right, 628) << "the three lines flip left together";
    EXPECT_EQ(Calls(CANVAS_LINE).size(), 1u + 2) << "radius and arms";
    auto strokes = Calls(CANVAS_POLYLINE);
    ASSERT_EQ(strokes.size(), 1u);
    EXPECT_EQ(strokes[0].points, stroke.points);
}

// Switched on by the style, the measuring items are numbered as the reports
// number them, above and left of their first point, inside the picture.
TEST_F(Drawing, ItemNumbersSkipStrokesAndTextsAndStayInsideThePicture)
{
    MeasureItem stroke = Item(ITEM_FREEHAND, 0, 0, 0, 0);
    stroke.points = {{1, 1}, {5, 5}};
    gView.items = {Item(ITEM_TEXT, 300, 300, 0, 0), Item(ITEM_LINE, 100, 50, 140, 50), stroke,
                   Item(ITEM_RECTANGLE, 3, 4, 40, 40)};
    View_DrawScene();
    EXPECT_EQ(Calls(CANVAS_TEXT).size(), 1u) << "only the text item: numbers are off by default";
    View_ApplyStyle({0x00ff00, 0x0000ff, 1, 0xffffff, 10, 1});
    gFake.canvas.clear();
    View_DrawScene();
    auto texts = Calls(CANVAS_TEXT);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[1].text, L"1");
    EXPECT_EQ(texts[1].r, (Rect{91, 35, 98, 48})) << "7 x 13 up and left of (100, 50)";
    EXPECT_EQ(texts[2].text, L"2");
    EXPECT_EQ(texts[2].r, (Rect{5, 6, 12, 19})) << "moved right and down at the corner";
}

TEST_F(Drawing, TheItemBeingDrawnShowsOnlyWhileAGestureOrPhaseRuns)
{
    gView.tool = ITEM_LINE;
    gView.newItem = Item(ITEM_LINE, 100, 100, 100, 200);
    View_DrawScene();
    EXPECT_TRUE(gFake.canvas.empty());
    gView.mouseDown = true;
    View_DrawScene();
    auto lines = Calls(CANVAS_LINE);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].r, (Rect{68, 100, 132, 100})) << "long end ticks";
    gFake.canvas.clear();
    gView.mouseDown = false;
    gView.tool = ITEM_TEXT;
    gView.phase = 12;
    gView.newItem = Item(ITEM_TEXT, 10, 10, 0, 0);
    View_DrawScene();
    EXPECT_EQ(Calls(CANVAS_FRAME).size(), 1u) << "the pending text box is always outlined";
    gFake.canvas.clear();
    gView.tool = ITEM_CIRCLE;
    gView.phase = 0;
    gView.mouseDown = true;
    gView.newItem = Item(ITEM_CIRCLE, 100, 100, 120, 100);
    gView.selected = 0;
    View_DrawScene();
    EXPECT_EQ(Calls(CANVAS_FRAME).size(), 1u) << "its centre handle, framed";
}

TEST_F(Drawing, CalibrationModeDrawsOnlyTheCalibrationLine)
{
    gView.showGrid = true;
    gView.items.push_back(Item(ITEM_LINE, 10, 10, 100, 10));
    gView.calibLength = 4800;
    View_DrawScene();
    EXPECT_EQ(gView.calibLength, 300);
    EXPECT_EQ(gView.calibLeft, 170);
    EXPECT_EQ(gView.calibRight, 470);
    EXPECT_TRUE(Calls(CANVAS_LINE).empty());
    EXPECT_TRUE(HasPenLine(170, 240, 470, 240));
    EXPECT_TRUE(HasPenLine(470, 180, 470, 300));
    EXPECT_EQ(Calls(CANVAS_PEN_BEGIN)[0].width, 2);
    EXPECT_EQ(Texts(), std::vector<std::wstring>{L"300 pixels"});
    EXPECT_EQ(Calls(CANVAS_TEXT)[0].r.left, 174);
    EXPECT_TRUE(Calls(CANVAS_PEN_POLYLINE).empty());

    gFake.canvas.clear();
    gView.calibHoverRight = true;
    View_DrawScene();
    auto heads = Calls(CANVAS_PEN_POLYLINE);
    ASSERT_EQ(heads.size(), 4u);
    EXPECT_EQ(heads[0].points, (std::vector<Point>{{466, 210}, {462, 206}, {462, 214}, {466, 210}}));
    EXPECT_EQ(heads[3].points, (std::vector<Point>{{474, 270}, {478, 266}, {478, 274}, {474, 270}}));

    SetFrame(1920, 1080);
    gView.calibLength = 4800;
    View_DrawScene();
    EXPECT_EQ(gView.calibLeft, 640);
    EXPECT_EQ(gView.calibRight, 1280);
    EXPECT_EQ(gView.scrollX, (1920 - 800) / 2) << "scrolled back to the centre";
}

TEST_F(Drawing, StyleAndCalibrationCommandsTakeEffectAtOnceOnlyWithABackBuffer)
{
    ViewStyle style = {0x123456, 0x00ff00, 2, 0xff0000, 12, 0};
    EXPECT_TRUE(View_Command(CMD_VIEW_STYLE, (intptr_t)&style));
    EXPECT_EQ(gView.lineWidth, 2);
    EXPECT_EQ(gView.gridColor, 0x123456u);
    EXPECT_EQ(gFake.objectsDestroyed, 1);
    EXPECT_EQ(gFake.objectsCreated, 0) << "made with the next back buffer";
    gView.backBitmap = (HBITMAP__ *)1;
    View_Command(CMD_VIEW_STYLE, (intptr_t)&style);
    EXPECT_EQ(gFake.objectsCreated, 1);

    ViewCalibration calibration = {450.0f, 2};
    EXPECT_TRUE(View_Command(CMD_VIEW_CALIBRATION, (intptr_t)&calibration));
    EXPECT_STREQ(gView.unitText, L"\u03bcm");
    EXPECT_EQ(gView.rulerStepPx, 90);
    calibration = {-1.0f, 0};
    View_Command(CMD_VIEW_CALIBRATION, (intptr_t)&calibration);
    EXPECT_STREQ(gView.unitText, L"mm");
    EXPECT_FALSE(View_Command(CMD_VIEW_RESTART, 0)) << "the view's other commands are handled elsewhere";
}

} // namespace
