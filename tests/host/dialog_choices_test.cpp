// The Preferences colour lists, the Open-microscope format choice and the
// Recording dialog's decisions.
#include "state/settings.h"
#include "dialogs/open_formats.h"
#include "dialogs/preferences.h"
#include "dialogs/recording.h"

#include <gtest/gtest.h>

TEST(PreferencesColors, EveryPaletteColourHasItsItemAndAnythingElseIsGreen)
{
    for (int i = 0; i < PALETTE_SIZE; i++)
        EXPECT_EQ(Preferences_ColorAt(Preferences_ColorIndex(kPalette[i])), kPalette[i]) << i;
    EXPECT_EQ(Preferences_ColorIndex(0xFFFFFF), 3); // white
    EXPECT_EQ(Preferences_ColorIndex(0), 3);
    for (int outside : {-1, 12})
        EXPECT_EQ(Preferences_ColorAt(outside), 0x00FF00u) << outside;
}

static FormatMap Sizes(int count, const ClassId &subtype)
{
    static const int kWidths[] = {320, 640, 800, 1280, 1920};
    FormatMap map;
    for (int i = 0; i < count; i++)
        FormatMap_Add(&map, {subtype, kWidths[i], kWidths[i] * 3 / 4});
    return map;
}

TEST(OpenFormats, ThePreferredSizeElseTheMiddleEntryIsPreselected)
{
    EXPECT_EQ(OpenFormats_Preselect(Sizes(5, kSubtypeMjpg), 0, 0), 2);
    EXPECT_EQ(OpenFormats_Preselect(Sizes(4, kSubtypeMjpg), 0, 0), 2);
    EXPECT_EQ(OpenFormats_Preselect(Sizes(1, kSubtypeMjpg), 0, 0), 0);
    EXPECT_EQ(OpenFormats_Preselect(Sizes(5, kSubtypeMjpg), 640, 480), 1);
    EXPECT_EQ(OpenFormats_Preselect(Sizes(5, kSubtypeMjpg), 640, 360), 2) << "width alone does not match";
    EXPECT_EQ(OpenFormats_Preselect(FormatMap(), 640, 480), -1);
}

TEST(OpenFormats, MjpgOnlyForItemZeroOfADeviceThatHasIt)
{
    FormatMap mjpg = Sizes(4, kSubtypeMjpg), yuy2 = Sizes(2, kSubtypeYuy2), none;
    bool isMjpg = false;
    EXPECT_EQ(&OpenFormats_Map(mjpg, yuy2, 0, &isMjpg), &mjpg);
    EXPECT_TRUE(isMjpg);
    EXPECT_EQ(&OpenFormats_Map(mjpg, yuy2, 1, &isMjpg), &yuy2);
    EXPECT_FALSE(isMjpg);
    // A YUY2-only camera lists "YUY2" as item 0.
    EXPECT_EQ(&OpenFormats_Map(none, yuy2, 0, &isMjpg), &yuy2);
    EXPECT_FALSE(isMjpg);
    // The compression in use is preselected where the camera lists it.
    EXPECT_EQ(OpenFormats_CompressionItem(mjpg, yuy2, kSubtypeYuy2), 1);
    EXPECT_EQ(OpenFormats_CompressionItem(none, yuy2, kSubtypeYuy2), 0);
    EXPECT_EQ(OpenFormats_CompressionItem(mjpg, none, kSubtypeYuy2), 0);
    EXPECT_EQ(OpenFormats_CompressionItem(mjpg, yuy2, kSubtypeMjpg), 0);
}

TEST(RecordingDialog, ListsTicksElapsedTextsAndFileNames)
{
    EXPECT_EQ(Recording_LimitIndex(10), 1);
    EXPECT_EQ(Recording_LimitIndex(28800), 10);
    EXPECT_EQ(Recording_LimitIndex(45), 0) << "a stored value not listed shows as no limit";
    EXPECT_EQ(Recording_LimitAt(Recording_LimitIndex(45)), 0);
    EXPECT_EQ(Recording_SplitAt(3), 1800);
    EXPECT_EQ(Recording_SplitAt(-1), 0);

    const int64_t second = 10000000;
    EXPECT_EQ(Recording_Tick(10 * second - 1, 0, 10, 0), TICK_SHOW);
    EXPECT_EQ(Recording_Tick(10 * second, 10 * second, 10, 5), TICK_CLOSE) << "the limit before the split";
    EXPECT_EQ(Recording_Tick(700 * second, 300 * second, 0, 300), TICK_SPLIT);
    EXPECT_EQ(Recording_Tick(700 * second, 300 * second - 1, 0, 300), TICK_SHOW);
    EXPECT_EQ(Recording_Tick(9000 * second, 9000 * second, 0, 0), TICK_SHOW);

    wchar_t text[32];
    const std::pair<int64_t, const wchar_t *> times[] = {
        {0, L"0.0"}, {59999, L"59.9"}, {60000, L"1:00.0"}, {3725400, L"62:05.4"}};
    for (const auto &[milliseconds, expected] : times) {
        Recording_ElapsedText(milliseconds, text, 32);
        EXPECT_STREQ(text, expected);
    }

    wchar_t path[40];
    LocalTime at = {2024, 3, 7, 9, 5, 1, 0};
    EXPECT_TRUE(Recording_FileName(path, 40, L"C:\\Videos", at, 1));
    EXPECT_STREQ(path, L"C:\\Videos\\20240307-090501.mp4");
    EXPECT_TRUE(Recording_FileName(path, 40, L"C:\\Videos", at, 0));
    EXPECT_STREQ(path, L"C:\\Videos\\20240307-090501.wmv");
    EXPECT_FALSE(Recording_FileName(path, 20, L"C:\\Videos", at, 0));
}
