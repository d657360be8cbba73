#include "state/app_state.h"
#include "state/calibrations.h"
#include "app/mainwnd_logic.h"
#include "state/prompt.h"
#include "state/settings.h"
#include "app/toolbar_table.h"
#include "capture/camera_state.h"
#include "reports/snapshot.h"
#include "view/items.h"
#include "view/view_state.h"

#include <cstring>
#include <gtest/gtest.h>
#include <set>

namespace {

TEST(Toolbar, HasThirtyOneButtonsAndNineSeparatorsWithDistinctImages)
{
    int buttons = 0, separators = 0;
    std::set<int> images, icons, commands;
    for (const ToolbarEntry &e : kToolbar) {
        if (e.kind == TB_SEPARATOR) {
            separators++;
            continue;
        }
        buttons++;
        images.insert(e.image);
        icons.insert(e.icon);
        commands.insert(e.command);
    }
    EXPECT_EQ(buttons, 31);
    EXPECT_EQ(separators, 9);
    EXPECT_EQ(images.size(), 31u);
    EXPECT_EQ(*images.rbegin(), 30);
    EXPECT_EQ(icons.size(), 31u);
    EXPECT_EQ(commands.size(), 31u);
    EXPECT_EQ(Toolbar_TooltipId(3034), 1001);
    EXPECT_EQ(Toolbar_TooltipId(3029), 1028);
    EXPECT_EQ(Toolbar_TooltipId(3033), 1029);
    EXPECT_EQ(Toolbar_TooltipId(4242), 0);
    EXPECT_EQ(Toolbar_ToolOf(3024), 3); // rectangle
    EXPECT_EQ(Toolbar_ToolOf(3023), 4); // circle
    EXPECT_EQ(Toolbar_ToolOf(3030), 0);
    EXPECT_EQ(Toolbar_ToolOf(3028), -1);
}

TEST(StatusBar, PartsAndSliderFollowTheWindowWidth)
{
    int edges[STATUS_PARTS];
    Status_PartEdges(1600, 120, 189, edges);
    EXPECT_EQ(edges[0], 189);
    EXPECT_EQ(edges[1], 1240);
    EXPECT_EQ(edges[2], 1360);
    EXPECT_EQ(edges[3], 1480);
    EXPECT_EQ(edges[4], -1);
    Rect slider = Status_SliderRect(1600, 120, 21);
    EXPECT_EQ(slider.left, 1366);
    EXPECT_EQ(slider.top, 3);
    EXPECT_EQ(slider.right - slider.left, 110);
    EXPECT_EQ(slider.bottom - slider.top, 19);
}

TEST(StatusBar, TextsRoundTheFrameRateHalfUpAndSwapOrder)
{
    wchar_t text[STATUS_TEXT_CAPACITY];
    Status_SizeThenFps(text, STATUS_TEXT_CAPACITY, 1280, 720, 29.5f);
    EXPECT_STREQ(text, L"1280x720   30fps");
    Status_FpsThenSize(text, STATUS_TEXT_CAPACITY, 1280, 720, 29.49f);
    EXPECT_STREQ(text, L"29fps   1280x720");
}

struct ToolbarTexts : testing::Test {
    void SetUp() override
    {
        memset(gCalibrations, 0, sizeof gCalibrations);
        gApp.activeCalibration = -1;
        gView.scale = -1.0f;
        gCamera.currentFormat = {};
    }
};

TEST_F(ToolbarTexts, ResolutionTextNeedsAnOpenCameraAndASize)
{
    wchar_t text[BUTTON_TEXT_CAPACITY];
    gCamera.currentFormat = {kSubtypeMjpg, 1280, 720};
    Toolbar_ResolutionText(text, BUTTON_TEXT_CAPACITY, true);
    EXPECT_STREQ(text, L"1280x720");
    Toolbar_ResolutionText(text, BUTTON_TEXT_CAPACITY, false);
    EXPECT_STREQ(text, L"NA");
    gCamera.currentFormat.height = 0;
    Toolbar_ResolutionText(text, BUTTON_TEXT_CAPACITY, true);
    EXPECT_STREQ(text, L"NA");
}

TEST_F(ToolbarTexts, CalibrationTextShowsTheNameOrTheScale)
{
    wchar_t text[BUTTON_TEXT_CAPACITY];
    Toolbar_CalibrationText(text, BUTTON_TEXT_CAPACITY, true);
    EXPECT_STREQ(text, L"NA"); // no calibration
    gView.scale = 30.0f;
    Toolbar_CalibrationText(text, BUTTON_TEXT_CAPACITY, false);
    EXPECT_STREQ(text, L"NA"); // no camera
    Toolbar_CalibrationText(text, BUTTON_TEXT_CAPACITY, true);
    EXPECT_STREQ(text, L"30.000");
    gApp.activeCalibration = 2;
    Toolbar_CalibrationText(text, BUTTON_TEXT_CAPACITY, true);
    EXPECT_STREQ(text, L"30.000@3");
    wcscpy(gCalibrations[2].name, L"Lens A");
    Toolbar_CalibrationText(text, BUTTON_TEXT_CAPACITY, true);
    EXPECT_STREQ(text, L"Lens A");
}

TEST_F(ToolbarTexts, CalibrationMenuListsOnlyUsableSlots)
{
    for (auto &c : gCalibrations)
        c.pixelsPerUnit = -1.0f;
    gCalibrations[1] = {L"Lens A", 0, 300, 10.0f, 31457920, 20240115, 30.0f};
    gCalibrations[4] = {L"", 1, 300, 10.0f, 31457920, 20240115, 30.0f};
    gCalibrations[6] = {L"undated", 1, 300, 10.0f, 31457920, 0, 30.0f};
    gApp.activeCalibration = 4;
    gView.scale = 30.0f;
    std::vector<MenuItem> items = CalibrationMenu_Slots();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].id, 3041);
    EXPECT_STREQ(items[0].text, L"2 - Lens A");
    EXPECT_FALSE(items[0].checked);
    EXPECT_EQ(items[1].id, 3044);
    EXPECT_STREQ(items[1].text, L"5 - noname");
    EXPECT_TRUE(items[1].checked);
}

TEST(ExclusiveToggles, TurningOneOnTurnsTheOthersOffAndOffLeavesThem)
{
    int32_t a = 1, b = 0, c = 0;
    int32_t *const group[] = {&a, &b, &c};
    std::vector<int> cleared = Toggle_Exclusive(group, 3, 1, true);
    EXPECT_EQ(a, 0);
    EXPECT_EQ(b, 1);
    EXPECT_EQ(cleared, (std::vector<int>{0, 2}));
    EXPECT_TRUE(Toggle_Exclusive(group, 3, 1, false).empty());
    EXPECT_EQ(a + b + c, 0);
}

TEST(ItemRemoval, RemovesInReverseOrderAndClearsIndicesOnTheRemovedItem)
{
    gView.items.assign(3, MeasureItem{});
    for (int i = 0; i < 3; i++)
        gView.items[i].kind = i + 1;
    gView.selected = 2;
    gView.hover = 1;
    Items_RemoveLast();
    EXPECT_EQ(gView.items.size(), 2u);
    EXPECT_EQ(gView.items.back().kind, 2);
    EXPECT_EQ(gView.selected, -1);
    EXPECT_EQ(gView.hover, 1);
    Items_RemoveLast();
    EXPECT_EQ(gView.hover, -1);
    Items_RemoveAll();
    EXPECT_TRUE(gView.items.empty());
    Items_RemoveLast(); // nothing to remove
    EXPECT_TRUE(gView.items.empty());
}

TEST(SnapshotNames, CarryDateTimeAndMillisecondsAndTheFormat)
{
    wchar_t name[PATH_CAPACITY];
    LocalTime t = {2024, 1, 15, 9, 30, 5, 42};
    Snapshot_FormatFileName(name, PATH_CAPACITY, L"C:\\Pictures", t, 0);
    EXPECT_STREQ(name, L"C:\\Pictures\\20240115-093005-042.jpg");
    Snapshot_FormatFileName(name, PATH_CAPACITY, L"C:\\Pictures", t, 1);
    EXPECT_STREQ(name, L"C:\\Pictures\\20240115-093005-042.png");
    EXPECT_EQ(Snapshot_FormatOf(name), SNAPSHOT_PNG);
    wchar_t text[PROMPT_TEXT_CAPACITY];
    Snapshot_SavedText(text, PROMPT_TEXT_CAPACITY, name);
    EXPECT_STREQ(text, L"File saved: C:\\Pictures\\20240115-093005-042.png");
    Snapshot_FormatFileName(name, PATH_CAPACITY, L"C:\\Pictures", t, 2);
    EXPECT_STREQ(name, L"C:\\Pictures\\20240115-093005-042.tif");
    EXPECT_EQ(Snapshot_FormatOf(name), SNAPSHOT_TIFF);
    EXPECT_EQ(Snapshot_FormatOf(L"a.jpg"), SNAPSHOT_JPG);
    std::wstring deep = L"C:\\" + std::wstring(240, L'p'); // room for the folder, not the name
    EXPECT_FALSE(Snapshot_FormatFileName(name, PATH_CAPACITY, deep.c_str(), t, 0));
}

TEST(PromptWindow, IsCentredAndClosesAfterThirtyNineTicks)
{
    Rect r = Prompt_Placement(200, 18, 1000, 0, 31);
    EXPECT_EQ(r.left, 384);
    EXPECT_EQ(r.top, 31);
    EXPECT_EQ(r.right - r.left, 232);
    EXPECT_EQ(r.bottom - r.top, 42);
    int ticks = 0, shown = 0;
    while (!Prompt_Tick(38, &ticks))
        shown++;
    EXPECT_EQ(shown, 38); // closes at the 39th tick
    ticks = 0;
    for (int i = 0; i < 1000; i++)
        EXPECT_FALSE(Prompt_Tick(0, &ticks)); // untimed prompts stay
}

} // namespace
