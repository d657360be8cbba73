#include "base/commands.h"
#include "support/view_fixture.h"
#include "view/editing.h"
#include "state/view_api.h"
#include "view/view_state.h"
#include "view/viewport.h"

#include <cstring>

namespace {

// The 640 x 480 frame sits at (80, 60) in the 800 x 600 client area; the
// helpers take image pixels.
struct Editing : ViewTest {
    static void Down(int x, int y) { View_ButtonDown(x + 80, y + 60); }
    static void Move(int x, int y, bool button = true) { View_PointerMove(x + 80, y + 60, button); }
    static void Up() { View_ButtonUp(); }
    static void Drag(int x1, int y1, int x2, int y2)
    {
        Down(x1, y1);
        Move((x1 + x2) / 2, (y1 + y2) / 2);
        Move(x2, y2);
        Up();
    }
    static void Tool(int tool) { View_ChooseTool(tool); }
};

TEST_F(Editing, LinesRectanglesAndCirclesArePressDragRelease)
{
    for (int tool : {ITEM_LINE, ITEM_RECTANGLE, ITEM_CIRCLE}) {
        Tool(tool);
        Drag(100, 100, 150, 130);
    }
    ASSERT_EQ(gView.items.size(), 3u);
    for (int i = 0; i < 3; i++) {
        const MeasureItem &item = gView.items[(size_t)i];
        EXPECT_EQ(item.kind, i == 0 ? ITEM_LINE : i == 1 ? ITEM_RECTANGLE : ITEM_CIRCLE);
        EXPECT_EQ(item.x1, 100); EXPECT_EQ(item.y1, 100);
        EXPECT_EQ(item.x2, 150); EXPECT_EQ(item.y2, 130);
        EXPECT_TRUE(MeasureItem_IsHit(item, 150, 130)) << "hit rectangles made at commit";
    }
    EXPECT_EQ(gFake.captures, 3);
    EXPECT_FALSE(gFake.captured);
    EXPECT_GE(gFake.recomposes, 6) << "each drag step is shown at once";
}

TEST_F(Editing, DegeneratePressesAreCommittedAndPressesOutsideTheImageAreNot)
{
    Tool(ITEM_RECTANGLE);
    Down(10, 10);
    Up();
    ASSERT_EQ(gView.items.size(), 1u);
    View_ButtonDown(20, 20); // the grey margin
    Up();
    EXPECT_EQ(gView.items.size(), 1u);
}

// Items keep image coordinates at every zoom: the press maps through it,
// centred at 50 %, scrolled at 200 %.
TEST_F(Editing, ItemsAreDrawnAtEveryZoomInImagePixels)
{
    Tool(ITEM_LINE);
    View_ApplyZoom(50); // 320 x 240 centred in the 800 x 600 client, from (240, 180)
    View_ButtonDown(280, 200);
    View_PointerMove(440, 200, true);
    Up();
    View_ApplyZoom(200);
    gView.scrollX = 100;
    View_ButtonDown(0, 60);
    View_PointerMove(40, 60, true);
    Up();
    ASSERT_EQ(gView.items.size(), 2u);
    EXPECT_EQ((Rect{gView.items[0].x1, gView.items[0].y1, gView.items[0].x2, gView.items[0].y2}),
              (Rect{80, 40, 400, 40}));
    EXPECT_EQ((Rect{gView.items[1].x1, gView.items[1].y1, gView.items[1].x2, gView.items[1].y2}),
              (Rect{50, 30, 70, 30}));
    EXPECT_TRUE(MeasureItem_IsHit(gView.items[1], 52, 32)) << "grab boxes of 5 screen pixels";
    EXPECT_FALSE(MeasureItem_IsHit(gView.items[1], 45, 35));
}

TEST_F(Editing, FreehandCollectsEveryPosition)
{
    Tool(ITEM_FREEHAND);
    Down(10, 10);
    Move(11, 12);
    Move(700, 12); // outside: ignored
    Move(15, 20);
    Up();
    ASSERT_EQ(gView.items.size(), 1u);
    EXPECT_EQ(gView.items[0].points, (std::vector<Point>{{10, 10}, {11, 12}, {15, 20}}));

    Down(30, 30); // a single click
    Up();
    Down(40, 40);
    Move(40, 40); // a move message without movement
    Up();
    EXPECT_EQ(gView.items.size(), 1u) << "a stroke needs two points";
}

TEST_F(Editing, PointToLineTakesItsThirdPointFromThePointerUntilTheNextClick)
{
    Calibrate(2.0f);
    Tool(ITEM_POINT_LINE);
    Drag(100, 100, 300, 100);
    EXPECT_EQ(gView.phase, 2);
    EXPECT_TRUE(gView.items.empty());
    Move(200, 180, false);
    EXPECT_EQ(gView.newItem.x3, 200);
    EXPECT_EQ(gView.newItem.y3, 180);
    EXPECT_FLOAT_EQ(MeasureItem_PointLineDistance(gView.newItem), 40.0f);
    Down(250, 250); // commits where the pointer last was
    ASSERT_EQ(gView.items.size(), 1u);
    EXPECT_EQ(gView.items[0].x3, 200);
    EXPECT_EQ(gView.phase, 0);
    Up();
    EXPECT_EQ(gView.items.size(), 1u);

    Tool(ITEM_ANGLE);
    Drag(50, 50, 90, 50);
    EXPECT_EQ(gView.phase, 5);
    Move(50, 10, false);
    Down(0, 0);
    ASSERT_EQ(gView.items.size(), 2u);
    EXPECT_FLOAT_EQ(MeasureItem_Angle(50, 50, 90, 50, gView.items[1].x3, gView.items[1].y3), 90.0f);
}

TEST_F(Editing, AViewResetDropsTheHalfDrawnItemAndItsPhase)
{
    Tool(ITEM_ANGLE);
    Drag(50, 50, 90, 50);
    Move(50, 10, false);
    View_Reset(); // a new resolution, or the camera unplugged and plugged in again
    View_SetFrameFormat();
    Down(200, 200);
    Up();
    EXPECT_TRUE(gView.items.empty());
    EXPECT_EQ(gView.phase, ITEM_ANGLE) << "the click began a new angle";
    EXPECT_EQ(gView.newItem.x1, 200);

    gView.calibLength = 300, gView.calibLeft = 170, gView.calibRight = 470;
    Tool(TOOL_POINTER);
    Move(171, 240, false);
    Down(171, 240); // grabs the calibration line's left end
    ASSERT_EQ(gView.tool, TOOL_CALIB_LEFT);
    View_Reset();
    EXPECT_EQ(gView.tool, TOOL_POINTER) << "no end of the line stays grabbed";
}

TEST_F(Editing, ChangingTheToolDiscardsTheItemBeingDrawn)
{
    Tool(ITEM_ANGLE);
    Drag(50, 50, 90, 50);
    Tool(ITEM_LINE);
    EXPECT_EQ(gView.phase, 0);
    EXPECT_EQ(gView.newItem.x3, -1);
    EXPECT_EQ(gView.newItem.x2, 0);
    Move(60, 60, false);
    Down(60, 60);
    Up();
    ASSERT_EQ(gView.items.size(), 1u);
    EXPECT_EQ(gView.items[0].kind, ITEM_LINE);
}

TEST_F(Editing, ThePointerSelectsMovesAndDeletesTheLowestIndexFirst)
{
    for (int i = 0; i < 4; i++) {
        Tool(ITEM_LINE);
        Drag(100, 100 + 10 * i, 200, 100 + 10 * i);
        Tool(0);
    }
    Move(101, 104, false); // items 0 and 1 overlap here
    EXPECT_EQ(gView.hover, 0);
    Move(150, 150, false);
    EXPECT_EQ(gView.hover, -1);
    Move(200, 126, false);
    EXPECT_EQ(gView.hover, 3);

    Down(199, 111); // the end-point handle moves that point alone
    EXPECT_EQ(gView.selected, 1);
    Move(209, 121);
    Move(700, 121); // outside: ignored
    Up();
    EXPECT_EQ((Rect{gView.items[1].x1, gView.items[1].y1, gView.items[1].x2, gView.items[1].y2}),
              (Rect{100, 110, 210, 120}));
    EXPECT_TRUE(MeasureItem_IsHit(gView.items[1], 210, 120));
    EXPECT_EQ(gView.dragItem, nullptr);

    View_KeyDown(46);
    ASSERT_EQ(gView.items.size(), 3u);
    EXPECT_EQ(gView.items[1].y1, 120) << "the former item 2";
    EXPECT_EQ(gView.hover, 3) << "kept until the pointer moves";
    EXPECT_EQ(gView.selected, -1);
    View_KeyDown(8);
    EXPECT_EQ(gView.items.size(), 3u) << "nothing selected";
    Down(150, 131); // elsewhere on a stroke: the whole item
    EXPECT_EQ(gView.selected, 2);
    Move(160, 141);
    Up();
    EXPECT_EQ((Rect{gView.items[2].x1, gView.items[2].y1, gView.items[2].x2, gView.items[2].y2}),
              (Rect{110, 140, 210, 140}));

    Down(400, 400); // empty image area: deselects and starts a pan
    EXPECT_TRUE(gView.mouseDown);
    EXPECT_EQ(gView.lastPoint, (Point{480, 460}));
}

TEST_F(Editing, SelectingAgainAndDeletingKeepsHoverOnlyWhenItWasAnotherItem)
{
    Tool(ITEM_CIRCLE);
    Drag(300, 300, 330, 300);
    Tool(0);
    Move(330, 300, false);
    Down(330, 300);
    Up();
    View_KeyDown(46);
    EXPECT_EQ(gView.hover, -1);
    EXPECT_TRUE(gView.items.empty());
}

TEST_F(Editing, DraggingEmptyAreaPansALargePicture)
{
    SetFrame(1600, 1200);
    View_UpdateScrollBars(); // 783 x 583 of it are visible
    View_ButtonDown(400, 300);
    View_PointerMove(300, 250, true);
    EXPECT_EQ(gView.scrollX, 100);
    EXPECT_EQ(gView.scrollY, 50);
    View_PointerMove(350, 250, true);
    EXPECT_EQ(gView.scrollX, 50);
    View_ButtonUp();
    View_PointerMove(0, 0, true);
    EXPECT_EQ(gView.scrollX, 50) << "the pan ended";
}

TEST_F(Editing, CalibrationEndsDragButTheLineStaysAtLeast200Pixels)
{
    gView.calibLength = 300, gView.calibLeft = 170, gView.calibRight = 470;
    Move(171, 240, false);
    EXPECT_TRUE(gView.calibHoverLeft);
    EXPECT_EQ(gFake.recomposes, 1);
    Down(171, 240);
    EXPECT_EQ(gView.tool, TOOL_CALIB_LEFT);
    Move(221, 240);
    EXPECT_EQ(gView.calibLeft, 220);
    EXPECT_EQ(gView.calibLength, 250);
    Move(290, 240); // 181 pixels: refused as a whole
    EXPECT_EQ(gView.calibLeft, 220);
    Move(271, 240);
    EXPECT_EQ(gView.calibLength, 200);
    Move(272, 240);
    EXPECT_EQ(gView.calibLength, 200);
    Up();
    EXPECT_EQ(gView.tool, 0);

    Down(469, 200);
    EXPECT_EQ(gView.tool, TOOL_CALIB_RIGHT);
    Move(639, 200); // would reach the right edge
    EXPECT_EQ(gView.calibRight, 470);
    Move(638, 200);
    EXPECT_EQ(gView.calibRight, 639);
    EXPECT_EQ(gView.calibLength, 369);
    Up();
    Down(300, 240); // on the line, not an end
    EXPECT_EQ(gView.tool, 0);
    Up();
}

TEST_F(Editing, ThePendingTextIsPlacedCommittedAndDraggedByItsBox)
{
    SetFrame(1280, 720); // 783 x 583 visible
    Tool(ITEM_TEXT);
    gView.phase = 12;
    View_TextItemCommand("Init");
    EXPECT_EQ(gView.newItem.kind, ITEM_TEXT);
    EXPECT_EQ(gView.newItem.x1, 540);
    EXPECT_EQ(gView.newItem.y1, 138);
    View_TextItemCommand("OK");
    EXPECT_TRUE(gView.items.empty()) << "no text yet";
    wcscpy(gView.newItem.text, L"hello");
    View_TextItemCommand("Cancel");
    EXPECT_TRUE(gView.items.empty());
    View_TextItemCommand("OK");
    ASSERT_EQ(gView.items.size(), 1u);
    EXPECT_STREQ(gView.items[0].text, L"hello");

    View_ButtonDown(541, 139); // scrolled to 0: the window point is the image point
    EXPECT_EQ(gView.dragItem, &gView.newItem);
    View_PointerMove(561, 149, true);
    View_ButtonUp();
    EXPECT_EQ(gView.newItem.x1, 560);
    EXPECT_EQ(gView.newItem.y1, 148);
    EXPECT_EQ(gView.items[0].x1, 540) << "the committed copy stays";
}

TEST_F(Editing, SpaceAsksTheMainWindowForASnapshot)
{
    View_KeyDown(32);
    View_KeyDown(65);
    EXPECT_EQ(gFake.parentCommands, std::vector<int>{CMD_OPEN_DEVICE_OR_SNAPSHOT_KEY});
    Down(1, 1);
    EXPECT_EQ(gFake.focusRequests, 1);
}

} // namespace

// A double click on a text item changes it in the Input-text dialog: it
// leaves the list while the dialog is open and comes back at its index,
// changed by OK, as it was by Cancel, removed when emptied.
TEST_F(Editing, ADoubleClickChangesATextItemInPlace)
{
    gView.items.push_back(Item(ITEM_LINE, 10, 10, 100, 10));
    MeasureItem text = Item(ITEM_TEXT, 200, 200, 0, 0);
    wcscpy(text.text, L"old");
    gView.items.push_back(text);
    gView.items.push_back(Item(ITEM_LINE, 10, 300, 100, 300));
    auto edit = [](const wchar_t *newText, const char *action) {
        Tool(0);
        ASSERT_TRUE(View_DoubleClick(205 + 80, 205 + 60));
        EXPECT_EQ(gFake.parentCommands.back(), CMD_EDIT_TEXT_ITEM);
        Tool(ITEM_TEXT);
        View_TextItemCommand("Init");
        EXPECT_EQ(gView.items.size(), 2u) << "out of the list while it changes";
        wcscpy(gView.newItem.text, newText);
        View_TextItemCommand(action);
    };
    EXPECT_FALSE(View_DoubleClick(50 + 80, 10 + 60)) << "not a text item";
    edit(L"new", "OK");
    ASSERT_EQ(gView.items.size(), 3u);
    EXPECT_STREQ(gView.items[1].text, L"new");
    EXPECT_EQ(gView.items[1].x1, 200);
    edit(L"other", "Cancel");
    EXPECT_STREQ(gView.items[1].text, L"new");
    edit(L"", "OK");
    EXPECT_EQ(gView.items.size(), 2u);
    EXPECT_EQ(gView.items[1].y1, 300);
}
