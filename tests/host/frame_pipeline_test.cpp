// The frame pipeline: effects into the frame buffer, the recorder's copies,
// the view's hand-over and the frame-rate meter (the recording thread's side of
// the queue: recorder_test).
#include "capture/camera_state.h"
#include "capture/effects.h"
#include "capture/frame_layout.h"
#include "capture/frame_pipeline.h"
#include "capture/frame_times.h"
#include "base/sync.h"
#include "record/recorder_state.h"
#include "support/fake_platform.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// A preview of W x H pixels as Camera_StartPreview leaves it, with the
// recorder's lock and event.
void Preview_Start(int32_t width, int32_t height)
{
    FakePlatform_Reset();
    FrameTimes_Clear(&gFrameTimes);
    gCamera.frameHeader = {};
    gCamera.frameHeader.biWidth = width;
    gCamera.frameHeader.biHeight = height;
    FrameLayout layout;
    FrameLayout_From(gCamera.frameHeader, &layout);
    gCamera.frameSize = layout.size;
    gCamera.frameBuffer.assign((size_t)gCamera.frameSize, 0xEE);
    gCamera.frameFresh = false;
    gCamera.frameLock = Lock_Create();
    static int graphStandIn;
    gCamera.graph = reinterpret_cast<IGraphBuilder *>(&graphStandIn);
    gCamera.mirror = gCamera.flipVertical = gCamera.gray = gCamera.blackWhite = gCamera.negative = gCamera.emboss = 0;
    gCamera.fps = 30.0f;
    gRecorder.queueLock = Lock_Create();
    gRecorder.frameEvent = Event_Create(true, false);
    gRecorder.recording = 0;
}

void Preview_Stop()
{
    for (FrameCopy &copy : gRecorder.frameQueue)
        free(copy.data);
    gRecorder.frameQueue.clear();
    gRecorder.recording = 0;
    gRecorder.droppedFrames = 0;
    Lock_Destroy(gRecorder.queueLock);
    Event_Destroy(gRecorder.frameEvent);
    Lock_Destroy(gCamera.frameLock);
    gCamera.frameBuffer.clear();
    gCamera.frameSize = 0;
    gCamera.graph = nullptr;
    Frame_Allocate = malloc;
}

Bytes FrameBuffer()
{
    return gCamera.frameBuffer;
}

// A frame whose every byte differs from its neighbours: byte i is i * 7 + 3.
Bytes Pattern(size_t size)
{
    Bytes frame(size);
    for (size_t i = 0; i < size; i++)
        frame[i] = (uint8_t)(i * 7 + 3);
    return frame;
}

// A frame of rows of 3 W bytes given as the grabber does, each row padded to
// a multiple of 4 bytes (with 0x55), and the pixels of such a frame back.
Bytes Padded(const Bytes &pixels, int32_t width)
{
    size_t row = 3 * (size_t)width, stride = (size_t)Frame_RowBytes(width);
    Bytes out(pixels.size() / row * stride, 0x55);
    for (size_t r = 0; r < pixels.size() / row; r++)
        memcpy(&out[r * stride], &pixels[r * row], row);
    return out;
}

Bytes Pixels(const Bytes &padded, int32_t width)
{
    size_t row = 3 * (size_t)width, stride = (size_t)Frame_RowBytes(width);
    Bytes out;
    for (size_t r = 0; r < padded.size() / stride; r++)
        out.insert(out.end(), padded.begin() + r * stride, padded.begin() + r * stride + row);
    return out;
}

Bytes MirroredRows(const Bytes &frame, int32_t width)
{
    Bytes out(frame.size());
    size_t stride = 3 * (size_t)width;
    for (size_t r = 0; r < frame.size() / stride; r++)
        for (size_t j = 0; j < (size_t)width; j++)
            memcpy(&out[r * stride + 3 * (width - 1 - j)], &frame[r * stride + 3 * j], 3);
    return out;
}

Bytes Gray(const Bytes &frame)
{
    Bytes out(frame.size());
    for (size_t i = 0; i < frame.size(); i += 3)
        out[i] = out[i + 1] = out[i + 2] = (uint8_t)((299 * frame[i + 2] + 587 * frame[i + 1] + 114 * frame[i] + 500) / 1000);
    return out;
}

Bytes Negative(const Bytes &frame)
{
    Bytes out(frame);
    for (uint8_t &b : out)
        b = (uint8_t)~b;
    return out;
}

void Preview(Bytes &frame)
{
    EXPECT_EQ(Camera_PreviewFrame(0.0, frame.data(), (int32_t)frame.size()), 0);
}

// What the pipeline makes of the effect switches, with the effect loops this
// processor runs (every version against the formulas: effect_kernels_test);
// 21 x 3 pixels make whole vector blocks and leftovers in every effect, and
// rows of 63 bytes padded to 64, whose padding no effect may take for pixels.
class FrameEffects : public testing::Test {
protected:
    static constexpr int32_t W = 21, H = 3;
    void SetUp() override { Preview_Start(W, H); }
    void TearDown() override { Preview_Stop(); }
    static Bytes In(const Bytes &pixels) { return Padded(pixels, W); }
    static Bytes Out() { return Pixels(FrameBuffer(), W); }
};

TEST_F(FrameEffects, WithoutFlagsTheFrameIsCopiedAndARepaintRequested)
{
    Bytes frame = In(Pattern(W * H * 3)), original = frame;
    Preview(frame);
    EXPECT_EQ(FrameBuffer(), original); // the padding too: one copy of the sample
    EXPECT_EQ(frame, original);
    EXPECT_EQ(gFake.frameRepaints, 1);
}

// The recorder's copy is the sample as it came, whatever the picture rules
// do to it after, with the picture flags and its time stamps beside it: the
// recording thread turns it as the view shows it.
TEST_F(FrameEffects, TheRecorderCopyIsTheIncomingSampleWithThePictureFlagsAndItsTimes)
{
    Bytes frame = In(Pattern(W * H * 3)), original = frame;
    gCamera.mirror = 1;
    gRecorder.recording = 1;
    gFake.precise = 123456789;
    EXPECT_EQ(Camera_PreviewFrame(2.5, frame.data(), (int32_t)frame.size()), 0);
    EXPECT_EQ(Out(), MirroredRows(Pixels(original, W), W));
    gCamera.gray = gCamera.flipVertical = 1;
    Preview(frame);
    EXPECT_EQ(frame, Padded(MirroredRows(Pixels(original, W), W), W)) << "mirrored in place for the effect";
    ASSERT_EQ(gRecorder.frameQueue.size(), 2u);
    for (const FrameCopy &copy : gRecorder.frameQueue)
        EXPECT_EQ(Bytes(copy.data, copy.data + copy.size), original);
    const FrameCopy &first = gRecorder.frameQueue[0], &second = gRecorder.frameQueue[1];
    EXPECT_TRUE(first.mirror && !first.upsideDown && second.mirror && second.upsideDown);
    EXPECT_EQ(first.sampleTime, 25000000);
    EXPECT_EQ(second.sampleTime, 0) << "no time stamp";
    EXPECT_EQ(first.arrivalTime, 123456789);
}

// With the mirror, each effect mirrors the incoming frame in place as it
// goes: the view shows the effect of the mirrored picture (the same bytes as
// mirroring first and applying the effect after).
TEST_F(FrameEffects, MirrorWithAnEffectEqualsMirroringThenApplyingTheEffect)
{
    std::atomic<int32_t> *flags[] = {&gCamera.gray, &gCamera.blackWhite, &gCamera.negative, &gCamera.emboss};
    for (std::atomic<int32_t> *flag : flags) {
        Bytes mirrored = In(Pattern(W * H * 3));
        Effect_MirrorInPlace(mirrored.data());
        *flag = 1;
        gCamera.frameBuffer.assign((size_t)gCamera.frameSize, 0xEE);
        Bytes expected = mirrored;
        Preview(expected);
        Bytes twoPasses = FrameBuffer();

        gCamera.mirror = 1;
        gCamera.frameBuffer.assign((size_t)gCamera.frameSize, 0xEE);
        Bytes frame = In(Pattern(W * H * 3));
        Preview(frame);
        EXPECT_EQ(FrameBuffer(), twoPasses) << flag - &gCamera.gray;
        EXPECT_EQ(frame, mirrored);
        gCamera.mirror = *flag = 0;
    }
    gCamera.gray = gCamera.mirror = 1;
    Bytes frame = In(Pattern(W * H * 3));
    Preview(frame);
    EXPECT_EQ(Out(), Gray(MirroredRows(Pattern(W * H * 3), W)));
}

// All four flags set, then cleared one by one in the order of precedence.
TEST_F(FrameEffects, OnlyTheFirstSetEffectInTheOrderGrayBlackWhiteNegativeEmbossApplies)
{
    Bytes original = Pattern(W * H * 3), frame = In(original);
    Bytes blackWhite = Gray(original), emboss(original.size(), 128);
    for (uint8_t &b : blackWhite)
        b = b > 127 ? 255 : 0;
    for (size_t i = 0; i + 3 * W < original.size(); i++)
        emboss[i] = (uint8_t)std::clamp(original[i] - original[i + 3 * W] + 128, 0, 255);
    gCamera.gray = gCamera.blackWhite = gCamera.negative = gCamera.emboss = 1;
    Preview(frame);
    EXPECT_EQ(Out(), Gray(original));
    gCamera.gray = 0;
    Preview(frame);
    EXPECT_EQ(Out(), blackWhite);
    gCamera.blackWhite = 0;
    Preview(frame);
    EXPECT_EQ(Out(), Negative(original));
    gCamera.negative = 0;
    gCamera.frameBuffer.assign((size_t)gCamera.frameSize, 0xEE);
    Preview(frame);
    EXPECT_EQ(Out(), emboss);
    EXPECT_EQ(frame, In(original));
}

TEST_F(FrameEffects, EmbossOfAUniformFrameIs128InEveryRow)
{
    Bytes frame = In(Bytes(W * H * 3, 77));
    gCamera.emboss = 1;
    Preview(frame);
    Bytes out = Out();
    size_t stride = 3 * W;
    EXPECT_EQ(out, Bytes(H * stride, 128)) << "the last row too, not the buffer's old content";

    // Rows against the next one: 10 - 200 clamps to 0, 200 - 10 to 255.
    Bytes rows(W * H * 3);
    for (size_t i = 0; i < rows.size(); i++)
        rows[i] = (i / stride) % 2 ? 200 : 10;
    frame = In(rows);
    Preview(frame);
    out = Out();
    EXPECT_EQ(Bytes(out.begin(), out.begin() + stride), Bytes(stride, 0));
    EXPECT_EQ(Bytes(out.begin() + stride, out.begin() + 2 * stride), Bytes(stride, 255));
}

TEST_F(FrameEffects, OneRowFramesAndNegativeHeights)
{
    Preview_Stop();
    Preview_Start(W, 1);
    Bytes row = In(Pattern(W * 3));
    Effect_Emboss(row.data());
    EXPECT_EQ(Out(), Bytes(W * 3, 128));

    // A top-down header has the same rows.
    gCamera.frameHeader.biHeight = -1;
    gCamera.mirror = 1;
    Effect_Negative(row.data());
    EXPECT_EQ(Out(), Negative(MirroredRows(Pattern(W * 3), W)));
}

class FramePipeline : public testing::Test {
protected:
    static constexpr int32_t W = 4, H = 2;
    void SetUp() override { Preview_Start(W, H); }
    void TearDown() override { Preview_Stop(); }
};

// The meter counts the sample, the recorder gets it, the view keeps the old frame.
TEST_F(FramePipeline, ASampleOfTheWrongLengthOnlyAdvancesTheMeterAndReachesTheRecorder)
{
    gRecorder.recording = 1;
    Bytes shorter = Pattern(W * H * 3 - 1);
    gFake.milliseconds = 5000;
    Preview(shorter);
    gFake.milliseconds = 5040;
    Preview(shorter);
    EXPECT_EQ(FrameBuffer(), Bytes(W * H * 3, 0xEE));
    EXPECT_FLOAT_EQ(gCamera.fps, 25.0f);
    ASSERT_EQ(gRecorder.frameQueue.size(), 2u);
    EXPECT_EQ(gRecorder.frameQueue[1].size, W * H * 3 - 1);
    EXPECT_EQ(Bytes(gRecorder.frameQueue[1].data, gRecorder.frameQueue[1].data + W * H * 3 - 1), shorter);
    EXPECT_EQ(gFake.frameRepaints, 2);

    gCamera.frameBuffer.clear();
    Bytes frame = Pattern(W * H * 3);
    Preview(frame);
    EXPECT_EQ(gRecorder.frameQueue.size(), 3u);
    EXPECT_EQ(gFake.frameRepaints, 3);

    // A held view: the recorder goes on, the view is not repainted.
    gCamera.viewHeld = true;
    Preview(frame);
    gCamera.viewHeld = false;
    EXPECT_EQ(gRecorder.frameQueue.size(), 4u);
    EXPECT_EQ(gFake.frameRepaints, 3);
}

void *FailingAllocate(size_t)
{
    return nullptr;
}

// Mirror rows are 3 W bytes; frame copies are larger.
void *RowsFailAllocate(size_t size)
{
    return size == 3 * 4 ? nullptr : malloc(size);
}

// Copies go to the recorder only while it records and when there is memory
// for them; the event is set only with a copy queued.
TEST_F(FramePipeline, RecorderCopiesNeedTheFlagAndMemoryAndTheMirrorIsSkippedWithoutMemory)
{
    Bytes frame = Pattern(W * H * 3), original = frame;
    Preview(frame);
    gRecorder.recording = 1;
    Frame_Allocate = FailingAllocate;
    Preview(frame);
    EXPECT_TRUE(gRecorder.frameQueue.empty());
    EXPECT_FALSE(Event_Wait(gRecorder.frameEvent, 0));
    EXPECT_EQ(gRecorder.droppedFrames, 1);

    Frame_Allocate = RowsFailAllocate;
    gCamera.mirror = 1;
    gCamera.gray = 1;
    Preview(frame);
    EXPECT_EQ(frame, original);
    EXPECT_EQ(FrameBuffer(), Gray(original));
    ASSERT_EQ(gRecorder.frameQueue.size(), 1u);
    EXPECT_NE(gRecorder.frameQueue[0].data, frame.data());
    EXPECT_TRUE(Event_Wait(gRecorder.frameEvent, 0));
}

// The view takes a frame by swapping buffers: only a new one, only of the
// graph's size; the next frame is written into the buffer it gave back.
TEST_F(FramePipeline, TakeFrameSwapsInOnlyANewFrameOfTheGraphsSize)
{
    Bytes first = Pattern(W * H * 3), second(W * H * 3, 9);
    Bytes view(W * H * 3, 1);
    EXPECT_EQ(Camera_TakeFrame(&view), 1); // nothing new yet
    EXPECT_EQ(view, Bytes(W * H * 3, 1));
    Preview(first);
    Bytes shorter(W * H * 3 - 1, 1);
    EXPECT_EQ(Camera_TakeFrame(&shorter), 0);
    EXPECT_EQ(shorter, Bytes(W * H * 3 - 1, 1));

    EXPECT_EQ(Camera_TakeFrame(&view), 1);
    EXPECT_EQ(view, first);
    EXPECT_EQ(FrameBuffer(), Bytes(W * H * 3, 1));
    EXPECT_EQ(Camera_TakeFrame(&view), 1);
    EXPECT_EQ(view, first);
    Preview(second);
    EXPECT_EQ(Camera_TakeFrame(&view), 1);
    EXPECT_EQ(view, second);
    EXPECT_EQ(FrameBuffer(), first);

    Preview(first);
    gCamera.graph = nullptr;
    EXPECT_EQ(Camera_TakeFrame(&view), 0);
    EXPECT_EQ(view, second);
}

TEST_F(FramePipeline, TheStillFramePostsTheStillMessage)
{
    Bytes frame = Pattern(W * H * 3);
    EXPECT_EQ(Camera_StillFrame(0.0, frame.data(), (int32_t)frame.size()), 0);
    EXPECT_EQ(gFake.stillPosts, 1);
    EXPECT_EQ(gFake.frameRepaints, 0);
    EXPECT_EQ(FrameBuffer(), Bytes(W * H * 3, 0xEE));
}

// The frame-rate meter, fed through the fake multimedia clock.
class FrameRate : public testing::Test {
protected:
    void SetUp() override { Preview_Start(4, 2); }
    void TearDown() override { Preview_Stop(); }
    float At(uint32_t milliseconds)
    {
        gFake.milliseconds = milliseconds;
        Camera_UpdateFps();
        return gCamera.fps;
    }
};

TEST_F(FrameRate, FramesEvery40MillisecondsGive25FromTheSecondFrameOn)
{
    EXPECT_EQ(At(100000), 30.0f); // one stamp: the reset value stays
    EXPECT_EQ(At(100040), 25.0f);
    for (uint32_t t = 100080; t <= 103000; t += 40)
        ASSERT_EQ(At(t), 25.0f) << t;
    EXPECT_EQ(gFrameTimes.count, 26u); // 1000 ms of stamps, both ends in
}

// The rate is (stamps - 1) * 1000 / (now - oldest) over the stamps at most
// 1000 ms old, in single precision; checked against a direct count.
TEST_F(FrameRate, UnevenFramesGiveTheRateOverTheLastSecond)
{
    std::vector<uint32_t> stamps;
    uint32_t t = 200000;
    float last = 30.0f;
    for (int i = 0; i < 400; i++) {
        t += 7 + (uint32_t)(i * i) % 53;
        stamps.push_back(t);
        size_t first = 0;
        while (t - stamps[first] > 1000)
            first++;
        size_t n = stamps.size() - first;
        if (n >= 2)
            last = (float)(double)((n - 1) * 1000) / (float)(double)(t - stamps[first]);
        ASSERT_EQ(At(t), last) << i;
    }
}

// One stamp in the window (after a pause) or stamps of one millisecond give
// no rate: the last one stays, finite and positive for the recorder.
TEST_F(FrameRate, APauseOrFramesInOneMillisecondKeepTheLastRate)
{
    At(300000);
    At(300040);
    EXPECT_EQ(At(301041), 25.0f); // 1001 ms later: alone in the window
    EXPECT_EQ(At(301141), 10.0f);
    At(303000);
    EXPECT_EQ(At(303000), 10.0f);
    EXPECT_EQ(At(303000), 10.0f);
    EXPECT_EQ(At(303010), 300.0f); // four stamps over 10 ms
}

// Ages are taken modulo 2^32, so the wrap of the clock (and its first second)
// changes nothing.
TEST_F(FrameRate, TheClockWrapAndItsFirstSecondGiveTheSameRates)
{
    EXPECT_EQ(At(0), 30.0f);
    EXPECT_EQ(At(40), 25.0f);
    FrameTimes_Clear(&gFrameTimes);
    At(0u - 2000);
    for (uint32_t t = 0u - 1960; t != 3000; t += 40)
        ASSERT_EQ(At(t), 25.0f) << t;
}

// Thousands of frames per second make the ring grow while it has wrapped.
TEST_F(FrameRate, ManyFramesPerMillisecondAreAllCounted)
{
    uint32_t t = 500000;
    for (; t < 502000; t++)
        At(t);
    for (; t < 503000; t++)
        for (int k = 0; k < 4; k++)
            At(t);
    EXPECT_EQ(gFrameTimes.count, 4u * 1000 + 1);
    EXPECT_EQ(gCamera.fps, 4000.0f); // 4001 stamps over the last 1000 ms
}

} // namespace
