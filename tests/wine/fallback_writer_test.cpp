// The fallback video writer under Wine. The files it writes stay in
// fallback-videos/ of the build tree, where the Linux ffprobe and ffmpeg read
// them back (tests/wine/check_fallback_videos.py, run by CTest after this).
#include "record/fallback_writer_win.h"
#include "wine_support.h"

#include <gtest/gtest.h>
#include <cstdio>
#include <vector>

namespace {

// What the recorder asks of a writer for frames of this size.
WriterSetup VideoSetup(int32_t width, int32_t height, int32_t useH264)
{
    BitmapHeader header = {};
    header.biWidth = width;
    header.biHeight = height;
    return Recorder_WriterSetup(header, useH264);
}

// Neutral grey with a red square at the top left of the picture, bottom row
// first and rows padded to 4 bytes as the camera delivers it; a bright bar
// moves along the bottom so the frames differ.
std::vector<uint8_t> Picture(int width, int height, int stride, int frame)
{
    std::vector<uint8_t> bits((size_t)stride * height, 128);
    for (int y = 0; y < height; y++) {
        int top = height - 1 - y; // the DIB's row y is this far from the top
        for (int x = 0; x < width; x++) {
            uint8_t *pixel = &bits[(size_t)y * stride + (size_t)x * 3];
            if (top < 96 && x < 96) {
                pixel[0] = 0, pixel[1] = 0, pixel[2] = 255;
            } else if (top >= height - 32 && (x + frame * 8) % width < 64) {
                pixel[0] = pixel[1] = pixel[2] = 255;
            }
        }
    }
    return bits;
}

// Writes frames with uneven durations and lists each frame's time stamp and
// duration beside the video, for the check on the Linux side.
void WriteVideo(const std::wstring &path, int32_t useH264, int frames, int width, int height)
{
    WriterSetup setup = VideoSetup(width, height, useH264);
    FallbackWriter *writer = nullptr;
    ASSERT_EQ(FallbackWriter_Open(path.c_str(), setup, &writer), 0);
    FILE *timings = _wfopen((path + L".times").c_str(), L"w");
    ASSERT_NE(timings, nullptr);
    const int64_t durations[] = {333333, 400000, 250000, 666666, 333334};
    int64_t time = 0;
    for (int i = 0; i < frames; i++) {
        int64_t duration = durations[i % 5];
        std::vector<uint8_t> bits = Picture(width, height, setup.stride, i);
        ASSERT_EQ(FallbackWriter_Write(writer, bits.data(), time, duration), 0) << "frame " << i;
        fprintf(timings, "%lld %lld\n", (long long)time, (long long)duration);
        time += duration;
    }
    fclose(timings);
    EXPECT_EQ(FallbackWriter_Close(writer), 0) << "the file was not finished";
    EXPECT_TRUE(Path_IsFile(path));
}

TEST(FallbackWriter, WritesH264AndWmvUnderANonAsciiName)
{
    // Always fresh, so that the check never reads a file of an earlier run.
    Folder_RemoveTree(L"fallback-videos");
    ASSERT_TRUE(CreateDirectoryW(L"fallback-videos", nullptr));
    WriteVideo(L"fallback-videos\\Pr\u00fcfung \u00b5m \u6d4b\u91cf.mp4", 1, 90, 1280, 720);
    // Rows of 4098 bytes padded to 4100.
    WriteVideo(L"fallback-videos\\Pr\u00fcfung \u00b5m \u6d4b\u91cf.wmv", 0, 30, 1366, 768);
}

TEST(FallbackWriter, AFailedOpenReturnsNegativeAndLeavesNoFile)
{
    ScratchFolder folder(L"fallback-failures");
    std::wstring unwritable = folder.path + L"\\missing folder\\video.mp4";
    FallbackWriter *writer = reinterpret_cast<FallbackWriter *>(1);
    EXPECT_LT(FallbackWriter_Open(unwritable.c_str(), VideoSetup(1280, 720, 1), &writer), 0);
    EXPECT_EQ(writer, nullptr);
    // A writable place, but a size no encoder takes.
    std::wstring refused = folder.path + L"\\video.wmv";
    EXPECT_LT(FallbackWriter_Open(refused.c_str(), VideoSetup(0, 0, 0), &writer), 0);
    EXPECT_FALSE(Path_IsFile(refused));
}

// Timed (scripts/bench): frames per second each encoder takes at 720p and
// 1080p, a moving picture, conversion included.
TEST(FallbackWriterBenchmark, DISABLED_EncodingRate)
{
    ScratchFolder folder(L"fallback-bench");
    const int sizes[][2] = {{1280, 720}, {1920, 1080}};
    const int frames = 150;
    for (const auto &size : sizes) {
        std::vector<std::vector<uint8_t>> pictures;
        for (int i = 0; i < 30; i++)
            pictures.push_back(Picture(size[0], size[1], size[0] * 3, i)); // no padding at these widths
        for (int32_t useH264 = 1; useH264 >= 0; useH264--) {
            std::wstring path = folder.path + (useH264 ? L"\\bench.mp4" : L"\\bench.wmv");
            FallbackWriter *writer = nullptr;
            ASSERT_EQ(FallbackWriter_Open(path.c_str(), VideoSetup(size[0], size[1], useH264), &writer), 0);
            LARGE_INTEGER frequency, start, end;
            QueryPerformanceFrequency(&frequency);
            QueryPerformanceCounter(&start);
            for (int i = 0; i < frames; i++)
                ASSERT_EQ(FallbackWriter_Write(writer, pictures[i % 30].data(), i * 333333LL, 333333), 0);
            FallbackWriter_Close(writer);
            QueryPerformanceCounter(&end);
            double seconds = (double)(end.QuadPart - start.QuadPart) / (double)frequency.QuadPart;
            printf("%s %dx%d: %.0f frames/s\n", useH264 ? "H.264" : "WMV2 ", size[0], size[1], frames / seconds);
        }
    }
}

} // namespace
