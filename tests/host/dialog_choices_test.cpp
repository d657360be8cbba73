// The Preferences colour lists and the Open-microscope format choice.
#include "app/settings.h"
#include "dialogs/open_formats.h"
#include "dialogs/preferences.h"

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
}
