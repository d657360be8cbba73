#include "state/language.h"
#include "reports/time_lapse.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <vector>

namespace {

const int64_t kSecond = 10000000;

TEST(TimeLapsePlan, IntervalsRunFromOneSecondToADayInTheirLargestWholeUnit)
{
    EXPECT_EQ(TimeLapse_Seconds(1, TIME_LAPSE_SECONDS), 1);
    EXPECT_EQ(TimeLapse_Seconds(90, TIME_LAPSE_MINUTES), 5400);
    EXPECT_EQ(TimeLapse_Seconds(24, TIME_LAPSE_HOURS), 86400);
    EXPECT_EQ(TimeLapse_Seconds(25, TIME_LAPSE_HOURS), 0);
    EXPECT_EQ(TimeLapse_Seconds(0, TIME_LAPSE_SECONDS), 0);
    EXPECT_EQ(TimeLapse_Seconds(86401, TIME_LAPSE_SECONDS), 0);
    EXPECT_EQ(TimeLapse_Seconds(2000000000, TIME_LAPSE_HOURS), 0); // no overflow into the range
    EXPECT_EQ(TimeLapse_Seconds(5, TIME_LAPSE_UNITS), 0);
    int32_t number, unit;
    for (int32_t seconds : {1, 59, 60, 90, 3600, 5400, 7200, 86400}) {
        TimeLapse_SplitSeconds(seconds, &number, &unit);
        EXPECT_EQ(TimeLapse_Seconds(number, unit), seconds) << seconds;
    }
    TimeLapse_SplitSeconds(5400, &number, &unit);
    EXPECT_EQ(number, 90);
    EXPECT_EQ(unit, TIME_LAPSE_MINUTES);
}

// Five pictures a second apart: one due at each second from the start, the
// last at 4 s; a series held up past several slots takes the latest one due
// (and never one beyond the plan).
TEST(TimeLapsePlan, EachSlotFallsDueOnceAndAHeldUpSeriesTakesTheLatest)
{
    TimeLapseSeries series = {};
    series.start = 100 * kSecond;
    series.interval = kSecond;
    series.planned = 5;
    EXPECT_EQ(TimeLapse_DueSlot(series, series.start - 1), -1);
    EXPECT_EQ(TimeLapse_DueSlot(series, series.start), 0);
    series.nextSlot = 1;
    EXPECT_EQ(TimeLapse_DueSlot(series, series.start + kSecond - 1), -1);
    EXPECT_EQ(TimeLapse_SecondsToNext(series, series.start + kSecond / 4), 1);
    EXPECT_EQ(TimeLapse_DueSlot(series, series.start + 3 * kSecond + 5), 3);
    EXPECT_EQ(TimeLapse_DueSlot(series, series.start + 60 * kSecond), 4);
    EXPECT_FALSE(TimeLapse_AllSlotsPassed(series));
    series.nextSlot = 5;
    EXPECT_TRUE(TimeLapse_AllSlotsPassed(series));
    series.planned = 0; // until stopped
    EXPECT_FALSE(TimeLapse_AllSlotsPassed(series));
    EXPECT_EQ(TimeLapse_DueSlot(series, series.start + 60 * kSecond), 60);
    EXPECT_EQ(TimeLapse_SecondsToNext(series, series.start + 60 * kSecond), 0);
}

TEST(TimeLapseFiles, TheSeriesFolderIsNamedByItsStartAndItsPicturesSortInOrder)
{
    wchar_t folder[PATH_CAPACITY], name[PATH_CAPACITY];
    ASSERT_TRUE(TimeLapse_SeriesFolder(folder, PATH_CAPACITY, L"D:\\pictures", LocalTime{2026, 3, 7, 9, 5, 2, 811}));
    EXPECT_STREQ(folder, L"D:\\pictures\\20260307-090502");
    std::vector<std::wstring> names;
    for (int32_t number : {10, 2, 99999, 1}) {
        ASSERT_TRUE(TimeLapse_PictureName(name, PATH_CAPACITY, folder, number, 1));
        names.push_back(name);
    }
    EXPECT_EQ(names[3], L"D:\\pictures\\20260307-090502\\000001.png");
    std::vector<std::wstring> sorted = names;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (std::vector<std::wstring>{names[3], names[1], names[0], names[2]}));
    ASSERT_TRUE(TimeLapse_PictureName(name, PATH_CAPACITY, folder, 3, 2));
    EXPECT_STREQ(name, L"D:\\pictures\\20260307-090502\\000003.tif");
    ASSERT_TRUE(TimeLapse_VideoName(name, PATH_CAPACITY, folder, 1));
    EXPECT_STREQ(name, L"D:\\pictures\\20260307-090502\\20260307-090502.mp4");
    ASSERT_TRUE(TimeLapse_VideoName(name, PATH_CAPACITY, folder, 0));
    EXPECT_STREQ(name, L"D:\\pictures\\20260307-090502\\20260307-090502.wmv");
    std::wstring deep(PATH_CAPACITY - 10, L'x');
    EXPECT_FALSE(TimeLapse_SeriesFolder(folder, PATH_CAPACITY, deep.c_str(), LocalTime{2026, 3, 7, 9, 5, 2, 0}));
}

TEST(TimeLapseTexts, TheCountSaysWhatWasPlannedAndSkippedAndTheWaitIsInMinutesAndSeconds)
{
    gLanguageTexts.clear(); // the English patterns
    TimeLapseSeries series = {};
    series.taken = 3;
    series.planned = 5;
    wchar_t text[128];
    TimeLapse_CountText(text, 128, series);
    EXPECT_STREQ(text, L"3 of 5");
    series.skipped = 2;
    TimeLapse_CountText(text, 128, series);
    EXPECT_STREQ(text, L"3 of 5 (2 skipped)");
    series.planned = 0;
    series.skipped = 0;
    TimeLapse_CountText(text, 128, series);
    EXPECT_STREQ(text, L"3");
    TimeLapse_DurationText(text, 128, 9);
    EXPECT_STREQ(text, L"0:09");
    TimeLapse_DurationText(text, 128, 3909);
    EXPECT_STREQ(text, L"1:05:09");
}

// A 3 x 2 picture as a 2 x 2 video frame: the bottom row first, blue, green,
// red, the odd column left out and the rows' padding untouched.
TEST(TimeLapseVideo, APictureBecomesBottomUpRowsOfTheVideosEvenWidth)
{
    const uint32_t pixels[] = {0x00112233, 0x00445566, 0x00FFFFFF, 0x00778899, 0x00AABBCC, 0x00FFFFFF};
    std::vector<uint8_t> rows(2 * 8, 0xEE);
    TimeLapse_VideoRows(pixels, 3, 2, 2, 8, rows.data());
    EXPECT_EQ(rows, (std::vector<uint8_t>{0x99, 0x88, 0x77, 0xCC, 0xBB, 0xAA, 0xEE, 0xEE, //
                                          0x33, 0x22, 0x11, 0x66, 0x55, 0x44, 0xEE, 0xEE}));
}

} // namespace
