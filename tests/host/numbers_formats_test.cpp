#include "base/numbers.h"
#include "base/platform.h"
#include "base/text.h"
#include "capture/formats.h"
#include "capture/frame_layout.h"
#include "capture/media_format.h"
#include "support/fake_platform.h"

#include <gtest/gtest.h>
#include <climits>

namespace {

TEST(NumberReading, BehavesLikeThe32BitStrtolAndStrtoul)
{
    EXPECT_EQ(Number_ReadLong(L"  -42abc"), -42);
    EXPECT_EQ(Number_ReadLong(L"+7"), 7);
    EXPECT_EQ(Number_ReadLong(L"x12"), 0);
    EXPECT_EQ(Number_ReadLong(L""), 0);
    EXPECT_EQ(Number_ReadLong(L"2147483648"), INT32_MAX);
    EXPECT_EQ(Number_ReadLong(L"-2147483648"), INT32_MIN);
    EXPECT_EQ(Number_ReadLong(L"-99999999999999999999"), INT32_MIN);
    EXPECT_EQ(Number_ReadUnsignedLong(L"4294967295"), 4294967295u);
    EXPECT_EQ(Number_ReadUnsignedLong(L"4294967296"), 4294967295u);
    EXPECT_EQ(Number_ReadUnsignedLong(L"-1"), 4294967295u);
    EXPECT_EQ(Number_ReadUnsignedLong(L"1065353216,"), 1065353216u);
}

TEST(TextBuffers, FormattingAndCopyingNeverOverrunTheBufferAndTellWhenTheyCut)
{
    wchar_t small[8];
    EXPECT_FALSE(Text_Format(small, 8, L"%ls-%d", L"abcdef", 12345));
    EXPECT_STREQ(small, L"abcdef-");
    EXPECT_TRUE(Text_Format(small, 8, L"%d", 1234567));
    EXPECT_FALSE(Text_Copy(small, 8, L"0123456789"));
    EXPECT_STREQ(small, L"0123456");
    EXPECT_FALSE(Text_Append(small, 8, L"x"));
    EXPECT_STREQ(small, L"0123456");
    EXPECT_TRUE(Text_Copy(small, 8, L"0123456"));
    EXPECT_TRUE(Text_Append(small, 8, L""));
    wchar_t path[260];
    EXPECT_TRUE(Text_Format(path, 260, L"%ls\\Quorell Files", L"C:\\Users\\\u00e9"));
    EXPECT_STREQ(path, L"C:\\Users\\\u00e9\\Quorell Files");
    // A translated text is no format: only its first %s is replaced.
    EXPECT_TRUE(Text_Substitute(path, 260, L"%d: %s %s", L"D:\\x"));
    EXPECT_STREQ(path, L"%d: D:\\x %s");
    EXPECT_FALSE(Text_Substitute(small, 8, L"saved %s", L"C:\\a"));
    // Several values fill the marks in order; a value is never searched.
    const wchar_t *values[] = {L"a%s", L"b"};
    EXPECT_TRUE(Text_SubstituteAll(path, 260, L"%s at %s, %s", values, 2));
    EXPECT_STREQ(path, L"a%s at b, %s");
}

// A dated name that is taken gets the first free suffix before its
// extension (a folder of that name counts as taken, a dot in a folder's name
// is no extension); when none is free or fits, the name stays and the answer
// is no.
TEST(FreeFileNames, TakeTheFirstFreeSuffixUpToTheBound)
{
    FakePlatform_Reset();
    wchar_t path[40] = L"C:\\v.1\\20240115-093005.mp4";
    EXPECT_TRUE(File_MakeNameFree(path, 40));
    EXPECT_STREQ(path, L"C:\\v.1\\20240115-093005.mp4");
    gFake.files[L"C:\\v.1\\20240115-093005.mp4"] = {};
    gFake.folders.insert(L"C:\\v.1\\20240115-093005-2.mp4");
    EXPECT_TRUE(File_MakeNameFree(path, 40));
    EXPECT_STREQ(path, L"C:\\v.1\\20240115-093005-3.mp4");
    wchar_t bare[40] = L"C:\\v.1\\name";
    gFake.files[bare] = {};
    EXPECT_TRUE(File_MakeNameFree(bare, 40));
    EXPECT_STREQ(bare, L"C:\\v.1\\name-2");

    wchar_t full[40] = L"C:\\v.1\\20240115-093005.mp4";
    for (int suffix = 3; suffix <= FREE_NAME_LAST_SUFFIX; suffix++)
        gFake.files[L"C:\\v.1\\20240115-093005-" + std::to_wstring(suffix) + L".mp4"] = {};
    EXPECT_FALSE(File_MakeNameFree(full, 40));
    EXPECT_STREQ(full, L"C:\\v.1\\20240115-093005.mp4");
    wchar_t tight[13] = L"C:\\v.1\\name";
    EXPECT_FALSE(File_MakeNameFree(tight, 13)) << "\"name-2\" does not fit";
    EXPECT_STREQ(tight, L"C:\\v.1\\name");
}

VideoFormat Mjpg(int w, int h)
{
    return {kSubtypeMjpg, w, h};
}

FormatMap Map(std::initializer_list<VideoFormat> formats)
{
    FormatMap map;
    for (const auto &f : formats)
        FormatMap_Add(&map, f);
    return map;
}

TEST(DefaultFormat, PrefersTheUsualSizesThenTheMiddleEntry)
{
    VideoFormat chosen;
    ASSERT_TRUE(Formats_ChooseDefault(Map({Mjpg(1920, 1080), Mjpg(640, 480), Mjpg(1280, 720)}), {}, &chosen));
    EXPECT_EQ(chosen.width, 1280);
    ASSERT_TRUE(Formats_ChooseDefault(Map({Mjpg(1920, 1080), Mjpg(640, 480)}), {}, &chosen));
    EXPECT_EQ(chosen.width, 640);
    ASSERT_TRUE(Formats_ChooseDefault(Map({Mjpg(800, 600), Mjpg(1024, 768), Mjpg(1600, 1200)}), {}, &chosen));
    EXPECT_EQ(chosen.width, 1024);
    ASSERT_TRUE(Formats_ChooseDefault(Map({Mjpg(1600, 1200), Mjpg(2048, 1536)}), {}, &chosen));
    EXPECT_EQ(chosen.width, 2048);
}

TEST(DefaultFormat, UsesTheYuy2MapWhenThereIsNoMjpgFormat)
{
    FormatMap yuy2 = Map({{kSubtypeYuy2, 640, 480}, {kSubtypeYuy2, 800, 600}});
    VideoFormat chosen;
    ASSERT_TRUE(Formats_ChooseDefault({}, yuy2, &chosen));
    EXPECT_TRUE(ClassId_Equal(chosen.subtype, kSubtypeYuy2));
    EXPECT_EQ(chosen.width, 640);
    EXPECT_FALSE(Formats_ChooseDefault({}, {}, &chosen));
}

BitmapHeader Header(int32_t width, int32_t height)
{
    BitmapHeader header = {};
    header.biWidth = width;
    header.biHeight = height;
    return header;
}

TEST(FormatMaps, KeepTheFirstFormatOfAPixelCountInAscendingOrder)
{
    FormatMap map = Map({Mjpg(1280, 720), Mjpg(960, 960), Mjpg(640, 480)});
    ASSERT_EQ(map.size(), 2u);
    EXPECT_EQ(FormatMap_At(map, 0)->width, 640);
    EXPECT_EQ(FormatMap_At(map, 1)->width, 1280);
    EXPECT_EQ(FormatMap_At(map, 2), nullptr);
    EXPECT_EQ(FormatMap_IndexOf(map, 1280, 720), 1);
    EXPECT_EQ(FormatMap_IndexOf(map, 960, 960), -1);
    EXPECT_TRUE(Format_IsListed(640, 480));
    EXPECT_FALSE(Format_IsListed(320, 240));
    EXPECT_FALSE(Format_IsListed(1280, 479));
    EXPECT_FALSE(Format_IsListed(-1, 480));
    EXPECT_FALSE(Format_IsListed(65535, 65535));
}

// A driver's frame header decides every frame size: rows padded to 4 bytes,
// and sizes no microscope gives refused before anything is allocated.
TEST(FrameLayouts, RowsArePaddedAndAbsurdHeadersRefused)
{
    FrameLayout layout;
    EXPECT_TRUE(FrameLayout_From(Header(1366, 768), &layout));
    EXPECT_EQ(layout.stride, 4100);
    EXPECT_EQ(layout.size, 4100 * 768);
    EXPECT_TRUE(FrameLayout_From(Header(1365, -768), &layout));
    EXPECT_EQ(layout.height, 768);
    EXPECT_EQ(layout.stride, 4096);
    EXPECT_TRUE(FrameLayout_From(Header(640, 480), &layout));
    EXPECT_EQ(layout.size, 640 * 480 * 3);
    for (BitmapHeader bad : {Header(0, 480), Header(-640, 480), Header(640, 0), Header(65535, 65535),
                             Header(640, INT32_MIN), Header(INT32_MIN, 480)}) {
        EXPECT_FALSE(FrameLayout_From(bad, &layout));
        EXPECT_EQ(layout.size, 0);
    }

    // A format block shorter than the header its type places in it.
    uint8_t block[72 + sizeof(BitmapHeader)] = {};
    BitmapHeader header;
    EXPECT_TRUE(MediaFormat_Header(kFormatVideoInfo, block, 48 + sizeof header, &header));
    EXPECT_FALSE(MediaFormat_Header(kFormatVideoInfo, block, 48 + sizeof header - 1, &header));
    EXPECT_FALSE(MediaFormat_Header(kFormatVideoInfo2, block, 72 + sizeof header - 1, &header));
    EXPECT_FALSE(MediaFormat_Header(kFormatVideoInfo, nullptr, 0, &header));
}

} // namespace

// A stored float stands for the short decimal that was meant.
TEST(Numbers, TheShortestDecimalReadsBackAsTheSameFloat)
{
    EXPECT_EQ(Number_ShortestDecimal(0.04f), 0.04);
    EXPECT_EQ(Number_ShortestDecimal(33.3f), 33.3);
    EXPECT_EQ(Number_ShortestDecimal(400.0f), 400.0);
    EXPECT_EQ(Number_ShortestDecimal(1.0f / 3), 0.33333334);
    EXPECT_EQ((float)Number_ShortestDecimal(-1.0f), -1.0f);
}
