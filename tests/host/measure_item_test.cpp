#include "support/view_fixture.h"
#include "view/items.h"
#include "view/labels.h"
#include "view/view_state.h"

#include <climits>
#include <cmath>
#include <cstring>

namespace {

using MeasureItems = ViewTest;

std::vector<std::wstring> Labels(const MeasureItem &item)
{
    wchar_t lines[3][LABEL_CAPACITY];
    int n = MeasureItem_Labels(item, lines);
    return std::vector<std::wstring>(lines, lines + n);
}

using Lines = std::vector<std::wstring>;

TEST_F(MeasureItems, LabelsCarryTheCalibratedValuesInTheirFormats)
{
    Calibrate(2.0f, 0);
    EXPECT_EQ(Labels(Item(ITEM_LINE, 10, 10, 13, 14)), Lines{L"2.50000mm"});
    Calibrate(10.0f, 0);
    EXPECT_EQ(Labels(Item(ITEM_RECTANGLE, 100, 50, 40, 10)), (Lines{L"6.00x4.00mm", L"S:24.00mm^2"}));
    Calibrate(1.0f, 1);
    MeasureItem circle = Item(ITEM_CIRCLE, 0, 0, 3, 4);
    EXPECT_EQ(Labels(circle), (Lines{L"R:5.00000\u03bcm", L"C:31.41593\u03bcm", L"S:78.53982\u03bcm^2"}));
    EXPECT_EQ(MeasureItem_CircleRadius(circle), 5);
    Calibrate(1.0f, 2);
    EXPECT_EQ(Labels(Item(ITEM_POINT_LINE, 0, 0, 10, 10, 10, 0)), Lines{L"D:7.07107\u03bcm"});
    EXPECT_EQ(Labels(Item(ITEM_POINT_LINE, 0, 5, 10, 5, 3, 9)), Lines{L"D:4.00000\u03bcm"});
}

TEST_F(MeasureItems, WithoutCalibrationOnlyTheAngleIsLabelled)
{
    for (int kind : {ITEM_LINE, ITEM_POINT_LINE, ITEM_RECTANGLE, ITEM_CIRCLE})
        EXPECT_TRUE(Labels(Item(kind, 0, 0, 30, 40, 5, 5)).empty()) << kind;
    EXPECT_EQ(Labels(Item(ITEM_ANGLE, 0, 0, 10, 0, 0, 10)), Lines{L"90.000\u00b0"});
    EXPECT_TRUE(Labels(Item(ITEM_ANGLE, 0, 0, 10, 0)).empty()) << "third point not placed";
    Calibrate(1.0f);
    EXPECT_TRUE(Labels(Item(ITEM_POINT_LINE, 0, 0, 10, 0)).empty());
}

TEST_F(MeasureItems, AnglesStayWithinZeroTo180Degrees)
{
    EXPECT_FLOAT_EQ(MeasureItem_Angle(0, 0, 10, 0, 0, 10), 90.0f);
    EXPECT_FLOAT_EQ(MeasureItem_Angle(0, 0, 0, 10, 10, 0), 90.0f);
    EXPECT_NEAR(MeasureItem_Angle(0, 0, 10, 0, -10, -1), 174.289f, 0.0005f);
    EXPECT_NEAR(MeasureItem_Angle(0, 0, -10, 1, -10, -1), 11.421f, 0.0005f); // across the ±180° seam
    EXPECT_EQ(MeasureItem_Angle(5, 5, 9, 5, 20, 5), 0.0f);
}

TEST_F(MeasureItems, PointToLineDistanceIsCalibratedAndZeroWithoutAThirdPoint)
{
    MeasureItem oblique = Item(ITEM_POINT_LINE, 0, 0, 10, 10, 10, 0);
    EXPECT_FLOAT_EQ(MeasureItem_PointLineDistance(oblique), (float)std::sqrt(50.0)) << "pixels without calibration";
    Calibrate(2.0f);
    EXPECT_FLOAT_EQ(MeasureItem_PointLineDistance(oblique), (float)(std::sqrt(50.0) / 2));
    EXPECT_FLOAT_EQ(MeasureItem_PointLineDistance(Item(ITEM_POINT_LINE, 5, 0, 5, 10, 1, 3)), 2.0f);
    EXPECT_FLOAT_EQ(MeasureItem_PointLineDistance(Item(ITEM_POINT_LINE, 0, 0, 10, 10)), 0.0f);
    Point foot = MeasureItem_PerpendicularFoot(oblique);
    EXPECT_EQ(foot.x, 5);
    EXPECT_EQ(foot.y, 5);
}

TEST_F(MeasureItems, PixelLengthsAreExactAlongTheAxes)
{
    EXPECT_EQ(MeasureItem_PixelLength(3, 7, 3, -2), 9.0f);
    EXPECT_EQ(MeasureItem_PixelLength(8, 1, 2, 1), 6.0f);
    EXPECT_EQ(MeasureItem_PixelLength(0, 0, 3, 4), 5.0f);
    // Points far apart: squares beyond 32 bits, and differences beyond them.
    EXPECT_NEAR(MeasureItem_PixelLength(0, 0, 50000, 50000), 70710.68f, 0.01f);
    EXPECT_EQ(MeasureItem_PixelLength(INT32_MIN, 5, INT32_MAX, 5), 4294967295.0);
    EXPECT_EQ(MeasureItem_CircleRadius(Item(ITEM_CIRCLE, 0, 0, 1, 1)), 1); // 1.414 + 0.49
    EXPECT_EQ(MeasureItem_CircleRadius(Item(ITEM_CIRCLE, 0, 0, 2, 1)), 2); // 2.236 + 0.49
}

TEST_F(MeasureItems, HitRectanglesFollowTheKind)
{
    MeasureItem rect = Item(ITEM_RECTANGLE, 100, 50, 40, 10);
    for (Point corner : {Point{100, 50}, Point{40, 10}, Point{100, 10}, Point{40, 50}})
        EXPECT_TRUE(MeasureItem_IsHit(rect, corner.x + 4, corner.y - 5));
    EXPECT_FALSE(MeasureItem_IsHit(rect, 105, 50)) << "right edge is exclusive";
    EXPECT_FALSE(MeasureItem_IsHit(rect, 70, 30));

    MeasureItem distance = Item(ITEM_POINT_LINE, 0, 0, 50, 0, 20, 30);
    EXPECT_EQ(distance.hitRects[2], (Rect{16, 26, 24, 34}));
    EXPECT_EQ(distance.hitRects[3], (Rect{0, 0, 0, 0}));
    EXPECT_EQ(Item(ITEM_CIRCLE, 9, 9, 20, 9).hitRects[2], (Rect{0, 0, 0, 0}));

    MeasureItem stroke = Item(ITEM_FREEHAND, 0, 0, 0, 0);
    stroke.points = {{30, 30}};
    MeasureItem_UpdateHitRects(&stroke);
    EXPECT_FALSE(MeasureItem_IsHit(stroke, 30, 30)) << "a single point cannot be grabbed";
    stroke.points = {{30, 30}, {60, 35}, {90, 40}};
    MeasureItem_UpdateHitRects(&stroke);
    EXPECT_TRUE(MeasureItem_IsHit(stroke, 30, 30));
    EXPECT_TRUE(MeasureItem_IsHit(stroke, 94, 44));
    EXPECT_TRUE(MeasureItem_IsHit(stroke, 60, 37)) << "on the stroke, within 4 pixels";
    EXPECT_FALSE(MeasureItem_IsHit(stroke, 60, 42));

    MeasureItem text = Item(ITEM_TEXT, 10, 20, 0, 0);
    int promptWidth = (int)wcslen(gView.textPrompt) * gFake.labelCharWidth;
    EXPECT_EQ(text.hitRects[0], (Rect{10, 20, 10 + promptWidth + 4, 20 + gFake.labelHeight + 4}));
    wcscpy(text.text, L"abc");
    MeasureItem_UpdateHitRects(&text);
    EXPECT_EQ(text.hitRects[0].right, 10 + 3 * gFake.labelCharWidth + 4);
}

TEST_F(MeasureItems, ShiftingMovesEveryPointOfTheKind)
{
    MeasureItem angle = Item(ITEM_ANGLE, 1, 2, 3, 4, -1, 6);
    MeasureItem_Shift(&angle, 10, -1);
    EXPECT_EQ(angle.x1, 11); EXPECT_EQ(angle.y2, 3); EXPECT_EQ(angle.x3, 9); EXPECT_EQ(angle.y3, 5);
    MeasureItem text = Item(ITEM_TEXT, 1, 2, 3, 4);
    MeasureItem_Shift(&text, 5, 5);
    EXPECT_EQ(text.x1, 6); EXPECT_EQ(text.x2, 3);
    MeasureItem stroke = Item(ITEM_FREEHAND, 0, 0, 0, 0);
    stroke.points = {{1, 1}, {2, 2}};
    MeasureItem_Shift(&stroke, -1, 3);
    EXPECT_EQ(stroke.points[1], (Point{1, 5}));
}

TEST_F(MeasureItems, TheListCommitsCopiesDeletesInOrderAndHitTestsLowestIndexFirst)
{
    gView.newItem = Item(ITEM_LINE, 10, 10, 40, 10);
    View_CommitNewItem();
    gView.newItem = Item(ITEM_CIRCLE, 12, 12, 80, 80);
    View_CommitNewItem();
    gView.newItem.x1 = 500; // the committed copy keeps its own points
    EXPECT_EQ(gView.items[1].x1, 12);
    EXPECT_EQ(View_HitTest(14, 10), 0) << "both overlap here";
    EXPECT_EQ(View_HitTest(78, 82), 1);
    EXPECT_EQ(View_HitTest(300, 300), -1);
    View_DeleteItem(5);
    EXPECT_EQ(gView.items.size(), 2u);
    View_DeleteItem(0);
    ASSERT_EQ(gView.items.size(), 1u);
    EXPECT_EQ(gView.items[0].kind, ITEM_CIRCLE);
}

// Micrometres below 1 mm, millimetres from 1 mm on, whatever the unit.
TEST(Labels, ScaleLabelsAreInMicrometresBelowAMillimetre)
{
    wchar_t text[LABEL_CAPACITY];
    Label_ScaleText(text, 0.2f, 0);
    EXPECT_STREQ(text, L"200\u03bcm");
    Label_ScaleText(text, 0.99999994f, 0);
    EXPECT_STREQ(text, L"1mm");
    Label_ScaleText(text, 5000.0f, 1);
    EXPECT_STREQ(text, L"5mm");
    Label_ScaleText(text, 50.0f, 1);
    EXPECT_STREQ(text, L"50\u03bcm");
    Label_ScaleText(text, 0.5, 1);
    EXPECT_STREQ(text, L"0.5\u03bcm");
    Label_ScaleText(text, 0.00002, 0);
    EXPECT_STREQ(text, L"0.02\u03bcm");
}

TEST(Labels, BoxesFlipAtTheRightAndBottomEdges)
{
    EXPECT_EQ(Label_Box(100, 100, 50, 10, 640, 480), (Rect{102, 102, 152, 112}));
    EXPECT_EQ(Label_Box(600, 100, 50, 10, 640, 480), (Rect{548, 102, 598, 112}));
    EXPECT_EQ(Label_Box(100, 475, 50, 10, 640, 480), (Rect{102, 463, 152, 473}));
    const TextSize sizes[3] = {{40, 10}, {60, 11}, {20, 12}};
    Rect boxes[3];
    Label_Boxes(600, 470, sizes, 3, 640, 480, boxes);
    EXPECT_EQ(boxes[0], (Rect{558, 458, 598, 468})) << "first line nearest the anchor";
    EXPECT_EQ(boxes[1], (Rect{538, 447, 598, 458}));
    EXPECT_EQ(boxes[2], (Rect{578, 435, 598, 447}));
    Label_Boxes(10, 440, sizes, 3, 640, 480, boxes); // 442 + 10 + 12 + 13 = 477: fits
    EXPECT_EQ(boxes[2], (Rect{12, 463, 32, 475}));
    Label_Boxes(10, 445, sizes, 3, 640, 480, boxes); // counted with a pixel between lines: flips
    EXPECT_EQ(boxes[0].bottom, 443);
}

} // namespace
