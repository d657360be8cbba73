// The control panel's logic: dialog units, the content height and the scroll
// bar, scroll requests, the Color rows and power-line items, and what the
// Source boxes send.
#include "capture/camera_graph.h"
#include "panel/color.h"
#include "panel/panel_layout.h"
#include "panel/source.h"

#include <climits>
#include <gtest/gtest.h>
#include <string>

namespace {

struct PanelFrame : testing::Test {
    PanelRecord panel = {};
    void SetUp() override
    {
        PanelMetrics_Set(8, 16, 15); // header 28, margins 8, one line 15
        panel.sectionCount = PANEL_SECTIONS;
        for (int i = 0; i < PANEL_SECTIONS; i++)
            panel.sections[i] = {nullptr, gPanelMetrics.headerHeight, Section_ExpandedHeight(i), 0};
    }
};

TEST_F(PanelFrame, DialogUnitsRoundToTheNearestPixel)
{
    EXPECT_EQ(gPanelMetrics.headerHeight, 28);
    EXPECT_EQ(Number_MulDiv(126, 6, 4), 189);
    EXPECT_EQ(Number_MulDiv(7, 6, 4), 11);   // 10.5
    EXPECT_EQ(Number_MulDiv(-7, 6, 4), -11);
    PanelMetrics_Set(12, 24, 22); // 150 %: the same units, half as many pixels again
    EXPECT_EQ(Section_ExpandedHeight(1), 42 + 657);
}

TEST_F(PanelFrame, TheBarAppearsOnlyWhenTheContentIsTallerAndReachesExactlyTheRange)
{
    PanelScroll scroll = Panel_UpdateContent(&panel, 200);
    EXPECT_EQ(panel.contentHeight, 16 + 4 * 28);
    EXPECT_FALSE(scroll.shown);
    EXPECT_EQ(panel.scrollPos, 0);

    panel.sections[1].expanded = 1; // Color: 28 + 438
    scroll = Panel_UpdateContent(&panel, 200);
    int range = 16 + 3 * 28 + 466 - 200;
    ASSERT_TRUE(scroll.shown);
    EXPECT_EQ(scroll.maximum - scroll.page + 1, range);

    // Collapsing while at the bottom clamps to the new, smaller range.
    panel.sections[0].expanded = 1; // Source: 28 + 264
    Panel_UpdateContent(&panel, 200);
    panel.scrollPos = Panel_ScrollTarget(panel, 200, SCROLL_BOTTOM, 0);
    panel.sections[1].expanded = 0;
    scroll = Panel_UpdateContent(&panel, 200);
    EXPECT_EQ(panel.scrollPos, 16 + 3 * 28 + 292 - 200);
    EXPECT_EQ(scroll.position, panel.scrollPos);
    panel.sections[0].expanded = 0;
    EXPECT_FALSE(Panel_UpdateContent(&panel, 200).shown);
    EXPECT_EQ(panel.scrollPos, 0);
}

TEST_F(PanelFrame, ScrollRequestsMoveByLinesAndPagesAndStayInRange)
{
    panel.sections[1].expanded = 1;
    Panel_UpdateContent(&panel, 200);
    int range = panel.contentHeight - 200;
    panel.scrollPos = 100;
    EXPECT_EQ(Panel_ScrollTarget(panel, 200, Panel_WheelRequest(240), 0), 85); // one line, not two
    EXPECT_EQ(Panel_ScrollTarget(panel, 200, Panel_WheelRequest(0), 0), 115);
    EXPECT_EQ(Panel_ScrollTarget(panel, 200, SCROLL_PAGE_UP, 0), 40);
    EXPECT_EQ(Panel_ScrollTarget(panel, 200, SCROLL_THUMB_TRACK, 99999), range);
    EXPECT_EQ(Panel_ScrollTarget(panel, 200, 8 /* end scroll */, 0), 100);
    EXPECT_EQ(Panel_ScrollTarget(panel, 200, SCROLL_TOP, 0), 0);
    panel.scrollPos = 10;
    EXPECT_EQ(Panel_ScrollTarget(panel, 200, SCROLL_PAGE_UP, 0), 0);
}

struct ColorRows : testing::Test {
    void SetUp() override { Camera_ClearControls(); }
    void TearDown() override { Camera_ClearControls(); }
};

TEST_F(ColorRows, ARowMapsItsRangeOntoASliderFromZero)
{
    gCamera.exposure = {-13, -1, 1, -6, 2, -6, 1, 0};
    ColorRowView view = ColorRow_View(gCamera.exposure, L"Exposure");
    EXPECT_STREQ(view.label, L"Exposure  -6");
    EXPECT_EQ(view.sliderMax, 12);
    EXPECT_EQ(view.sliderPos, 7);
    EXPECT_TRUE(view.sliderEnabled && view.autoEnabled && !view.autoChecked);

    ControlWrite write = {};
    ASSERT_TRUE(ColorRow_SliderChange(CONTROL_EXPOSURE, 0, &write));
    EXPECT_EQ(write.value, -13);
    EXPECT_EQ(write.flags, CONTROL_FLAG_MANUAL);
    EXPECT_EQ(gCamera.exposure.value, -13);
    EXPECT_FALSE(ColorRow_SliderChange(CONTROL_EXPOSURE, 0, &write)) << "the stored value is not sent again";

    gCamera.saturation = {0, 200000, 1, 100000, 2, 150000, 0, 0};
    EXPECT_EQ(ColorRow_View(gCamera.saturation, L"Saturation").sliderMax, 200000);
    gCamera.hue = {INT_MIN, INT_MAX, 1, 0, 2, 0, 0, 0};
    EXPECT_EQ(ColorRow_View(gCamera.hue, L"Hue").sliderMax, INT_MAX);
}

TEST_F(ColorRows, AnUnsupportedPropertyShowsItsBareNameAndNoSlider)
{
    gCamera.gain = {0, 0, 0, 0, 0, 0, 1, 1};
    ColorRowView view = ColorRow_View(gCamera.gain, L"Gain");
    EXPECT_STREQ(view.label, L"Gain");
    EXPECT_FALSE(view.supported || view.sliderEnabled);
    EXPECT_TRUE(view.autoEnabled && view.autoChecked);
    gCamera.gain = {0, 100, 1, 0, 1, 0, 1, 1}; // supported but automatic
    EXPECT_FALSE(ColorRow_View(gCamera.gain, L"Gain").sliderEnabled);
}

std::wstring Items(const ControlRange &range, int *selected)
{
    PowerLineItems items = PowerLine_Items(range);
    *selected = items.selected;
    std::wstring all;
    for (const wchar_t *text : items.texts)
        all += std::wstring(text) + L";";
    return all;
}

TEST_F(ColorRows, ThePowerLineBoxListsFiftyAndSixtyHertzOrNotApplicable)
{
    int selected = -1;
    EXPECT_EQ(Items({1, 2, 1, 1, 2, 0, 0, 0}, &selected), L"50 Hz;60 Hz;");
    EXPECT_EQ(selected, 0);
    EXPECT_EQ(Items({0, 2, 1, 1, 2, 0, 0, 0}, &selected), L"N/A;");
    EXPECT_EQ(Items({1, 3, 1, 1, 2, 2, 0, 0}, &selected), L"50 Hz;60 Hz;");
    EXPECT_EQ(selected, 1);
    EXPECT_EQ(Items({1, 2, 0, 1, 2, 0, 0, 0}, &selected), L"50 Hz;60 Hz;") << "a zero step counts as one";
    EXPECT_EQ(Items({1, 2, -5, 1, 2, 0, 0, 0}, &selected), L"50 Hz;60 Hz;");
}

FormatMap Map(std::initializer_list<std::pair<int, int>> sizes, const ClassId &subtype)
{
    FormatMap map;
    for (auto [w, h] : sizes)
        FormatMap_Add(&map, {subtype, w, h});
    return map;
}

TEST(SourceBoxes, ACameraWithOnlyYuy2OffersThatAloneAndChoosingItSendsNothing)
{
    FormatMap mjpg, yuy2 = Map({{640, 480}}, kSubtypeYuy2);
    const wchar_t *items[2];
    ASSERT_EQ(Source_CompressionItems(mjpg, yuy2, items), 1);
    EXPECT_STREQ(items[0], L"YUY2");
    EXPECT_EQ(Source_CompressionSelection(false, mjpg), 0);
    EXPECT_EQ(Source_CompressionChoice(false, mjpg, 0), -1);

    mjpg = Map({{640, 480}}, kSubtypeMjpg);
    EXPECT_EQ(Source_CompressionSelection(false, mjpg), 1);
    EXPECT_EQ(Source_CompressionChoice(false, mjpg, 0), 1);
    EXPECT_EQ(Source_CompressionChoice(true, mjpg, 1), 0);
    EXPECT_EQ(Source_CompressionChoice(true, mjpg, 0), -1);
}

TEST(SourceBoxes, OnlyAnotherResolutionIsSentAndAnUnknownSizeShowsTheFirst)
{
    FormatMap map = Map({{1280, 720}, {640, 480}, {1920, 1080}}, kSubtypeMjpg);
    EXPECT_EQ(Source_SizeIndex(map, 1280, 720), 1);
    EXPECT_EQ(Source_SizeIndex(map, 800, 600), 0);
    EXPECT_EQ(Source_ResolutionChoice(map, 1, 1280, 720), -1);
    EXPECT_EQ(Source_ResolutionChoice(map, 2, 1280, 720), 2);
    EXPECT_EQ(Source_ResolutionChoice(map, -1, 1280, 720), -1);
}

} // namespace
