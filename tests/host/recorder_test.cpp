// The recorder through its writer seam: starting, the recording thread's
// timeline, the drain before the file is closed, splits, short frames and the
// queue's cap when the encoder is slower than the camera.
#include "base/sync.h"
#include "capture/camera_state.h"
#include "capture/frame_pipeline.h"
#include "capture/frame_times.h"
#include "record/recorder.h"
#include "record/recorder_state.h"
#include "support/fake_platform.h"
#include "support/fake_writer.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// A running preview of W x H pixels with the recorder's lock and events, as
// Camera_StartPreview leaves it.
class Recorder : public testing::Test {
protected:
    static constexpr int32_t W = 8, H = 4, FRAME = W * H * 3;
    void SetUp() override
    {
        FakePlatform_Reset();
        FakeWriter_Reset();
        FrameTimes_Clear(&gFrameTimes);
        gCamera.frameHeader = {};
        gCamera.frameHeader.biWidth = W;
        gCamera.frameHeader.biHeight = H;
        gCamera.fps = 30.0f;
        gRecorder.queueLock = Lock_Create();
        gRecorder.frameEvent = Event_Create(true, false);
        gRecorder.stoppedEvent = Event_Create(true, false);
        gRecorder.recording = 0;
        gRecorder.useH264 = 1;
        gRecorder.totalDuration = 0;
    }
    void TearDown() override
    {
        Stop();
        Lock_Destroy(gRecorder.queueLock);
        Event_Destroy(gRecorder.frameEvent);
        Event_Destroy(gRecorder.stoppedEvent);
        gRecorder.queueLock = nullptr;
        gRecorder.frameEvent = gRecorder.stoppedEvent = nullptr;
    }

    // What Camera_StopRecord does, without the message loop around its wait.
    static void Stop()
    {
        if (!gRecorder.recording)
            return;
        gRecorder.recording = 0;
        ASSERT_TRUE(Event_Wait(gRecorder.stoppedEvent, 10000)) << "the recording thread did not end";
        Event_Reset(gRecorder.stoppedEvent);
    }

    // A frame from the camera that carries its number in its first bytes.
    static void Deliver(uint32_t number, int32_t size = FRAME)
    {
        Bytes frame(size, 0);
        memcpy(frame.data(), &number, 4);
        Camera_PreviewFrame(0.0, frame.data(), size);
    }
};

TEST(RecorderRules, FrameDurationsQueueCapacityAndTheBitRateByWidth)
{
    EXPECT_EQ(Recorder_FrameDuration(30.0f), 333333);
    EXPECT_EQ(Recorder_FrameDuration(25.0f), 400000);
    EXPECT_EQ(Recorder_FrameDuration(15.0f), 666666);
    EXPECT_EQ(Recorder_FrameDuration(7.5f), 1333333);
    EXPECT_EQ(Recorder_FrameDuration(5.0f), 2000000);

    EXPECT_EQ(Recorder_QueueCapacity(30.0f, 1280 * 720 * 3), 60);
    EXPECT_EQ(Recorder_QueueCapacity(29.7f, 640 * 480 * 3), 60);
    EXPECT_EQ(Recorder_QueueCapacity(25.0f, 3840 * 2160 * 3), 10); // 256 MB of 4K frames
    EXPECT_EQ(Recorder_QueueCapacity(0.5f, 1280 * 720 * 3), 2);

    const int32_t widths[] = {720, 721, 1280, 1281}, rates[] = {1800000, 3500000, 3500000, 8500000};
    for (int i = 0; i < 4; i++) {
        BitmapHeader header = {};
        header.biWidth = widths[i];
        header.biHeight = -480;
        WriterSetup setup = Recorder_WriterSetup(header, i % 2);
        EXPECT_EQ(setup.bitRate, rates[i]) << widths[i];
        EXPECT_EQ(setup.useH264, i % 2);
        EXPECT_EQ(setup.height, 480);
    }
    // Encoders take even sizes: an odd last column and row are left out, and
    // the rows are still read at the frame's own padded stride.
    BitmapHeader odd = {};
    odd.biWidth = 1365;
    odd.biHeight = 767;
    WriterSetup setup = Recorder_WriterSetup(odd, 1);
    EXPECT_EQ(setup.width, 1364);
    EXPECT_EQ(setup.height, 766);
    EXPECT_EQ(setup.stride, 4096);
}

TEST_F(Recorder, AFailedWriterStartsNothingAndASlowRateIsRaisedToFive)
{
    gFakeWriter.createStatus = -5;
    EXPECT_EQ(Camera_SartRecord(), 0);
    EXPECT_EQ(gRecorder.recording, 0);
    EXPECT_EQ(gRecorder.startStatus, -5);
    Deliver(1);
    EXPECT_TRUE(gRecorder.frameQueue.empty());

    gFakeWriter.createStatus = 0;
    gCamera.fps = 3.2f;
    gRecorder.useH264 = 0;
    ASSERT_EQ(Camera_SartRecord(), 1);
    EXPECT_EQ(gCamera.fps, 5.0f);
    EXPECT_EQ(gRecorder.frameDuration, 2000000);
    EXPECT_EQ(Camera_SartRecord(), 0) << "a second start while one records";
    ASSERT_EQ(gFakeWriter.setups.size(), 1u);
    const WriterSetup &setup = gFakeWriter.setups[0];
    EXPECT_EQ(setup.useH264, 0);
    EXPECT_EQ(setup.width * 10000 + setup.height, W * 10000 + H);
    EXPECT_EQ(setup.frameRateNumerator * 100 + setup.frameRateDenominator, 3001);
    EXPECT_EQ(setup.interlaceMode, 2);
    EXPECT_EQ(setup.pixelAspectNumerator * 100 + setup.pixelAspectDenominator, 101);
}

// Frames still queued when the stop comes are all written, in order, before
// the file is closed; a frame shorter than the header says is skipped but its
// time passes; after a split the new file starts at 0 and the total runs on.
TEST_F(Recorder, TheStopWritesTheQueueFirstAndASplitStartsTheNewFileAtZero)
{
    gFakeWriter.writeDelayMs = 20; // frames are still queued at the stop
    wcscpy(gRecorder.path, L"first.mp4");
    ASSERT_EQ(Camera_SartRecord(), 1);
    for (uint32_t i = 0; i < 10; i++)
        Deliver(i, i == 4 ? FRAME - 1 : FRAME);
    Stop();
    const int64_t d = 333333;
    ASSERT_EQ(gFakeWriter.frames.size(), 9u);
    EXPECT_EQ(gFakeWriter.closes, 1);
    for (size_t i = 0; i < 9; i++) {
        uint32_t number = (uint32_t)(i < 4 ? i : i + 1);
        EXPECT_EQ(gFakeWriter.frames[i].number, number);
        EXPECT_EQ(gFakeWriter.frames[i].time, number * d);
        EXPECT_EQ(gFakeWriter.frames[i].duration, d);
    }
    EXPECT_EQ(gRecorder.totalDuration, 10 * d);

    gFakeWriter.writeDelayMs = 0;
    gCamera.fps = 25.0f;
    wcscpy(gRecorder.path, L"second.mp4");
    ASSERT_EQ(Camera_SartRecord(), 1);
    Deliver(100);
    Deliver(101);
    Stop();
    ASSERT_EQ(gFakeWriter.frames.size(), 11u);
    EXPECT_EQ(gFakeWriter.frames[9].time, 0);
    EXPECT_EQ(gFakeWriter.frames[10].time, 400000);
    EXPECT_EQ(gRecorder.totalDuration, 10 * d + 800000);
    EXPECT_EQ(gFakeWriter.paths, (std::vector<std::wstring>{L"first.mp4", L"second.mp4"}));
    EXPECT_EQ(gFakeWriter.closes, 2);
}

// A write that fails (a full disk): nothing more goes into the file, the
// times stop at what it holds, the status waits for the UI thread, and the
// stop still closes the file; the next start begins without the failure.
TEST_F(Recorder, AFailedWriteEndsTheWritingAndTheStopClosesTheFile)
{
    gFakeWriter.writesBeforeFailure = 3;
    gFakeWriter.failStatus = -28;
    ASSERT_EQ(Camera_SartRecord(), 1);
    for (uint32_t i = 0; i < 6; i++)
        Deliver(i);
    for (int waited = 0; gRecorder.writeStatus == 0 && waited < 5000; waited++)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(gRecorder.writeStatus, -28);
    EXPECT_EQ(gRecorder.recording, 1) << "the UI thread stops it";
    Deliver(6);
    Stop();
    EXPECT_EQ(gFakeWriter.frames.size(), 3u);
    EXPECT_EQ(gFakeWriter.closes, 1);
    EXPECT_EQ(gRecorder.totalDuration, 3 * 333333);
    EXPECT_EQ(gRecorder.sampleTime, 3 * 333333);
    const std::wstring counts = gFake.debugLines.back();
    EXPECT_NE(counts.find(L"3 frames written, 0 dropped, 0 too short, 4 not written"), std::wstring::npos) << counts;

    gFakeWriter.writesBeforeFailure = -1;
    ASSERT_EQ(Camera_SartRecord(), 1);
    EXPECT_EQ(gRecorder.writeStatus, 0);
    Deliver(7);
    Stop();
    EXPECT_EQ(gFakeWriter.frames.size(), 4u);
}

// The streaming thread queues frames as fast as it can while the recording
// thread writes them; then the flag is cleared, the recording thread writes
// the rest and ends, and the streaming thread goes on queueing nothing.
TEST_F(Recorder, NoFrameIsLostOrDuplicatedBetweenTheStreamingAndTheRecordingThread)
{
    gCamera.fps = 100000.0f; // a cap far away
    ASSERT_EQ(Camera_SartRecord(), 1);
    std::atomic<uint32_t> produced{0};
    std::atomic<bool> streamingEnds{false};
    std::thread streaming([&] {
        for (uint32_t i = 0; !streamingEnds; i++) {
            Deliver(i);
            produced++;
        }
    });
    while (produced < 5000)
        std::this_thread::yield();
    Stop();
    uint32_t producedAtStop = produced;
    while (produced < producedAtStop + 500)
        std::this_thread::yield();
    streamingEnds = true;
    streaming.join();

    ASSERT_GE(gFakeWriter.frames.size(), 5000u);
    EXPECT_LE(gFakeWriter.frames.size(), producedAtStop + 1);
    for (uint32_t i = 0; i < gFakeWriter.frames.size(); i++)
        ASSERT_EQ(gFakeWriter.frames[i].number, i);
    EXPECT_TRUE(gRecorder.frameQueue.empty());
    EXPECT_EQ(gRecorder.droppedFrames, 0);
}

// A writer slower than the camera: the queue stops at two seconds of frames,
// the frames that find it full are dropped and counted, and the next written
// frame lasts their time too, so the file's timeline matches the frames
// delivered.
TEST_F(Recorder, ASlowWriterMakesTheQueueDropFramesWhileTheTimelineKeepsUp)
{
    gFakeWriter.writeDelayMs = 4;
    ASSERT_EQ(Camera_SartRecord(), 1);
    const uint32_t delivered = 400;
    for (uint32_t i = 0; i < delivered; i++) {
        Deliver(i);
        ScopedLock hold(gRecorder.queueLock);
        ASSERT_LE(gRecorder.frameQueue.size(), 60u);
    }
    // Until every frame is written or dropped, read from the recorder (the
    // writer's list belongs to the recording thread until it ends): written
    // frames and the drops they took over are on the timeline, the rest wait.
    const int64_t d = 333333;
    auto handled = [] {
        ScopedLock hold(gRecorder.queueLock);
        return gRecorder.totalDuration / d + gRecorder.pendingDrops;
    };
    while (handled() < delivered)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    Deliver(delivered); // after the last drops: it takes their time
    Stop();

    const std::vector<WrittenFrame> &frames = gFakeWriter.frames;
    EXPECT_GT(gRecorder.droppedFrames, 100);
    ASSERT_EQ(frames.size() + gRecorder.droppedFrames, delivered + 1);
    int64_t end = 0;
    for (const WrittenFrame &frame : frames) {
        // Back to back, each ending where its delivery ends.
        ASSERT_EQ(frame.time, end) << frame.number;
        end = frame.time + frame.duration;
        ASSERT_EQ(end, (frame.number + 1) * d) << frame.number;
    }
    EXPECT_EQ(gRecorder.totalDuration, (delivered + 1) * d);
}

// What the UI thread reads while the streaming thread delivers and the
// recording thread writes, with the picture flags changing under them: the
// view's copy is always one whole frame, the rate stays positive, and the
// recording's times only grow, the file's never ahead of the total.
TEST_F(Recorder, TheUiThreadReadsFramesRateAndTimesWhileTheOtherThreadsRun)
{
    uint8_t buffer[FRAME] = {};
    gCamera.frameBuffer = buffer;
    gCamera.frameSize = FRAME;
    gCamera.frameLock = Lock_Create();
    static int graphStandIn;
    gCamera.graph = reinterpret_cast<IGraphBuilder *>(&graphStandIn);
    ASSERT_EQ(Camera_SartRecord(), 1);
    std::atomic<bool> streamingEnds{false};
    std::atomic<int> delivered{0};
    std::thread streaming([&] {
        for (uint8_t n = 0; !streamingEnds; n++) {
            gFake.milliseconds += 33;
            Bytes frame(FRAME, n); // every effect but emboss keeps it uniform
            Camera_PreviewFrame(0.0, frame.data(), FRAME);
            delivered++;
        }
    });

    std::atomic<int32_t> *flags[] = {&gCamera.mirror, &gCamera.gray, &gCamera.blackWhite, &gCamera.negative};
    int torn = 0, badRates = 0, timesBackwards = 0;
    int64_t lastTotal = 0;
    for (int i = 0; i < 3000 || delivered < 1000; i++) {
        *flags[i % 4] = !*flags[i % 4];
        Bytes copy(FRAME);
        int32_t capacity = FRAME;
        Camera_CopyFrame(copy.data(), &capacity);
        torn += std::count(copy.begin(), copy.end(), copy[0]) != FRAME;
        badRates += !(gCamera.fps > 0.0f);
        int64_t sample = gRecorder.sampleTime, total = gRecorder.totalDuration;
        timesBackwards += sample > total || total < lastTotal;
        lastTotal = total;
    }
    Stop();
    streamingEnds = true;
    streaming.join();
    Lock_Destroy(gCamera.frameLock);
    gCamera.frameBuffer = nullptr;
    gCamera.frameSize = 0;
    gCamera.frameLock = nullptr;
    gCamera.graph = nullptr;
    for (std::atomic<int32_t> *flag : flags)
        *flag = 0;

    EXPECT_EQ(torn, 0);
    EXPECT_EQ(badRates, 0);
    EXPECT_EQ(timesBackwards, 0);
    EXPECT_GT(gFakeWriter.frames.size(), 0u);
}

} // namespace
