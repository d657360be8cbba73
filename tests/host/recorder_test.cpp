// The recorder: where frames lie in time (the timeline), how a recorded frame
// is turned, and through the writer seam the recording thread's times and
// durations, the drain before the file is closed, splits, short frames,
// failed writes and the queue's cap when the encoder is slower than the camera.
#include "base/sync.h"
#include "capture/camera_state.h"
#include "capture/frame_pipeline.h"
#include "capture/frame_times.h"
#include "record/orientation.h"
#include "record/recorder.h"
#include "record/recorder_state.h"
#include "record/timeline.h"
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

const int64_t d = 333333; // a frame at 30 fps, in 100-ns units

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
        Recorder_ResetTimeline();
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

    // A frame from the camera that carries its number in its first bytes,
    // captured at sampleTime on the graph's clock (100-ns units; 0: no time
    // stamp) and arriving at the precise clock's arrivalTime.
    static void Deliver(uint32_t number, int64_t sampleTime = 0, int64_t arrivalTime = 0, int32_t size = FRAME)
    {
        Bytes frame(size, 0);
        memcpy(frame.data(), &number, 4);
        gFake.precise = arrivalTime;
        Camera_PreviewFrame(sampleTime / 1e7, frame.data(), size);
    }

    // Waits until the recording thread has taken every queued frame.
    static void WaitUntilTaken()
    {
        for (int waited = 0; waited < 5000; waited++) {
            {
                ScopedLock hold(gRecorder.queueLock);
                if (gRecorder.frameQueue.empty())
                    return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
};

// A camera at 30 fps that drops to 10 fps in dim light, then a streaming
// thread held up for half a second that hands over the frames captured
// meanwhile in a burst: every frame lies at its capture time, and the
// running average of the steps follows the new rate.
TEST(RecorderTimeline, FramesLieAtTheirCaptureTimesThroughARateChangeAndABurst)
{
    Timeline timeline;
    Timeline_Reset(&timeline);
    const int64_t origin = 80000000; // the stream clock when the recording began
    std::vector<int64_t> captures;
    for (int k = 0; k < 30; k++)
        captures.push_back(origin + k * d);
    for (int k = 1; k <= 30; k++)
        captures.push_back(captures[29] + k * 1000000);
    int64_t slowAverage = 0;
    for (size_t i = 0; i < captures.size(); i++) {
        // Frames arrive 2 to 9 ms after their capture, on another clock.
        int64_t arrival = 5000000000 + captures[i] - origin + 20000 + 10000 * (int64_t)(i % 8);
        ASSERT_EQ(Timeline_Place(&timeline, captures[i], arrival), captures[i] - origin) << i;
        slowAverage = timeline.averageGap;
    }
    EXPECT_NEAR(slowAverage, 1000000, 50000) << "the last frame lasts about a tenth of a second";
    // Five frames captured during the stall arrive within a millisecond.
    const int64_t stallArrival = 9000000000;
    for (int k = 1; k <= 5; k++) {
        int64_t capture = captures.back() + k * 1000000;
        EXPECT_EQ(Timeline_Place(&timeline, capture, stallArrival + k * 2000), capture - origin) << k;
    }
}

// Times that do not advance get a millisecond's step (ASF keeps
// milliseconds), a frame without a time stamp is placed by its arrival, and
// a sample clock that begins again is tied to the timeline afresh.
TEST(RecorderTimeline, RepeatedMissingAndBackwardTimesStillGiveStrictlyIncreasingPlaces)
{
    Timeline timeline;
    Timeline_Reset(&timeline);
    EXPECT_EQ(Timeline_Place(&timeline, 50000000, 700000000), 0);
    EXPECT_EQ(Timeline_Place(&timeline, 50000000, 700003000), TIMELINE_MIN_STEP) << "the same time again";
    EXPECT_EQ(Timeline_Place(&timeline, 50000000 + d, 700000000 + d), d) << "back on the sample clock";
    EXPECT_EQ(Timeline_Place(&timeline, 0, 700000000 + 2 * d + 5000), 2 * d + 5000) << "no time stamp";
    EXPECT_EQ(Timeline_Place(&timeline, 50000000 + 3 * d, 700000000 + 3 * d + 90000), 3 * d);
    EXPECT_EQ(Timeline_Place(&timeline, 1000, 700000000 + 4 * d + 90000), 4 * d) << "the stream clock began again";
    EXPECT_EQ(Timeline_Place(&timeline, 1000 + d, 700000000 + 5 * d + 70000), 5 * d);

    // Frames with no time stamp that arrive within a millisecond of each other.
    Timeline_Reset(&timeline);
    for (int i = 0; i < 10; i++)
        EXPECT_EQ(Timeline_Place(&timeline, 0, 42 + 100 * i), i * TIMELINE_MIN_STEP) << i;
}

// A recorded frame turns as the view shows the picture; the odd width makes
// padded rows, which stay as they are, and the odd height a middle row.
TEST(RecorderOrientation, MirrorUpsideDownAndBothTurnThePixelsAndLeaveThePadding)
{
    const FrameLayout layout = {3, 3, 12, 36};
    auto pixel = [](int r, int j) { return (uint8_t)(16 * r + 4 * j); };
    Bytes frame(36, 0xAA);
    for (int r = 0; r < 3; r++)
        for (int j = 0; j < 3; j++)
            for (int k = 0; k < 3; k++)
                frame[r * 12 + 3 * j + k] = (uint8_t)(pixel(r, j) + k);
    for (int turn = 0; turn < 4; turn++) {
        bool mirror = turn & 1, upsideDown = turn & 2;
        Bytes turned = frame;
        Orientation_Apply(turned.data(), layout, mirror, upsideDown);
        for (int r = 0; r < 3; r++) {
            for (int j = 0; j < 3; j++) {
                int fromRow = upsideDown ? 2 - r : r, fromColumn = mirror ? 2 - j : j;
                for (int k = 0; k < 3; k++)
                    ASSERT_EQ(turned[r * 12 + 3 * j + k], pixel(fromRow, fromColumn) + k) << turn << r << j;
            }
            for (int k = 9; k < 12; k++)
                ASSERT_EQ(turned[r * 12 + k], 0xAA) << "padding " << turn;
        }
    }
}

TEST(RecorderRules, TheLastFramesFallbackDurationQueueCapacityAndTheBitRateByWidth)
{
    EXPECT_EQ(Recorder_FrameDuration(30.0f), 333333);
    EXPECT_EQ(Recorder_FrameDuration(7.5f), 1333333);
    EXPECT_EQ(Recorder_FrameDuration(3.2f), 2000000) << "at least 5 fps";

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

TEST_F(Recorder, AFailedWriterStartsNothingAndTheSetupIsTheNominalOne)
{
    gFakeWriter.createStatus = -5;
    EXPECT_EQ(Camera_SartRecord(), 0);
    EXPECT_EQ(gRecorder.recording, 0);
    EXPECT_EQ(gRecorder.startStatus, -5);
    Deliver(1);
    EXPECT_TRUE(gRecorder.frameQueue.empty());

    gFakeWriter.createStatus = 0;
    gRecorder.useH264 = 0;
    ASSERT_EQ(Camera_SartRecord(), 1);
    EXPECT_EQ(Camera_SartRecord(), 0) << "a second start while one records";
    ASSERT_EQ(gFakeWriter.setups.size(), 1u);
    const WriterSetup &setup = gFakeWriter.setups[0];
    EXPECT_EQ(setup.useH264, 0);
    EXPECT_EQ(setup.width * 10000 + setup.height, W * 10000 + H);
    EXPECT_EQ(setup.frameRateNumerator * 100 + setup.frameRateDenominator, 3001);
    EXPECT_EQ(setup.interlaceMode, 2);
    EXPECT_EQ(setup.pixelAspectNumerator * 100 + setup.pixelAspectDenominator, 101);
}

// Each frame is written at its capture time in the file and lasts until the
// next; a frame shorter than the header says is skipped and leaves a gap,
// which the frame before it spans; the last frame lasts the running average
// step. Frames still queued at the stop are all written, in order, before
// the file is closed. A split starts the new file at 0 while the total runs
// on, the file switch included.
TEST_F(Recorder, FramesLastUntilTheNextTheStopWritesTheQueueAndASplitStartsTheNewFileAtZero)
{
    gFakeWriter.writeDelayMs = 20; // frames are still queued at the stop
    wcscpy(gRecorder.path, L"first.mp4");
    ASSERT_EQ(Camera_SartRecord(), 1);
    const int64_t origin = 50000000;
    for (uint32_t i = 0; i < 10; i++)
        Deliver(i, origin + i * d, 0, i == 4 ? FRAME - 1 : FRAME);
    Stop();
    const std::vector<WrittenFrame> &frames = gFakeWriter.frames;
    ASSERT_EQ(frames.size(), 9u);
    EXPECT_EQ(gFakeWriter.closes, 1);
    for (size_t i = 0; i < 9; i++) {
        uint32_t number = (uint32_t)(i < 4 ? i : i + 1);
        EXPECT_EQ(frames[i].number, number);
        EXPECT_EQ(frames[i].time, number * d);
        if (i < 8) {
            EXPECT_EQ(frames[i].duration, frames[i + 1].time - frames[i].time) << i;
        }
    }
    EXPECT_EQ(frames[3].duration, 2 * d) << "over the skipped frame";
    EXPECT_GE(frames[8].duration, d);
    EXPECT_LE(frames[8].duration, d + d / 4);
    EXPECT_EQ(gRecorder.totalDuration, 9 * d);

    gFakeWriter.writeDelayMs = 0;
    wcscpy(gRecorder.path, L"second.mp4");
    ASSERT_EQ(Camera_SartRecord(), 1);
    Deliver(100, origin + 15 * d);
    Deliver(101, origin + 16 * d);
    Stop();
    ASSERT_EQ(frames.size(), 11u);
    EXPECT_EQ(frames[9].time, 0);
    EXPECT_EQ(frames[9].duration, d);
    EXPECT_EQ(frames[10].time, d);
    EXPECT_EQ(gRecorder.sampleTime, d);
    EXPECT_EQ(gRecorder.totalDuration, 16 * d);
    EXPECT_EQ(gFakeWriter.paths, (std::vector<std::wstring>{L"first.mp4", L"second.mp4"}));
    EXPECT_EQ(gFakeWriter.closes, 2);

    // A new recording begins its total again.
    Recorder_ResetTimeline();
    ASSERT_EQ(Camera_SartRecord(), 1);
    Deliver(200, origin + 40 * d);
    Deliver(201, origin + 41 * d);
    Stop();
    EXPECT_EQ(gRecorder.totalDuration, d);
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
        Deliver(i, 10000000 + i * d);
    for (int waited = 0; gRecorder.writeStatus == 0 && waited < 5000; waited++)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(gRecorder.writeStatus, -28);
    EXPECT_EQ(gRecorder.recording, 1) << "the UI thread stops it";
    WaitUntilTaken();
    int64_t total = gRecorder.totalDuration;
    Deliver(6, 10000000 + 6 * d);
    Stop();
    EXPECT_EQ(gFakeWriter.frames.size(), 3u);
    EXPECT_EQ(gFakeWriter.closes, 1);
    EXPECT_EQ(gRecorder.totalDuration, total) << "the time stands after the failure";
    EXPECT_EQ(total, 3 * d) << "where the last frame written ends";
    const std::wstring counts = gFake.debugLines.back();
    EXPECT_NE(counts.find(L"3 frames written, 0 dropped, 0 too short, 4 not written"), std::wstring::npos) << counts;

    gFakeWriter.writesBeforeFailure = -1;
    ASSERT_EQ(Camera_SartRecord(), 1);
    EXPECT_EQ(gRecorder.writeStatus, 0);
    Deliver(7, 10000000 + 7 * d);
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
// the frames that find it full are dropped and counted, and leave a gap: the
// frames written keep their capture times, each lasting until the next.
TEST_F(Recorder, ASlowWriterMakesTheQueueDropFramesThatLeaveAGapInTime)
{
    gFakeWriter.writeDelayMs = 4;
    ASSERT_EQ(Camera_SartRecord(), 1);
    const uint32_t delivered = 400;
    for (uint32_t i = 0; i < delivered; i++) {
        Deliver(i, 70000000 + i * d);
        ScopedLock hold(gRecorder.queueLock);
        ASSERT_LE(gRecorder.frameQueue.size(), 60u);
    }
    Stop();

    const std::vector<WrittenFrame> &frames = gFakeWriter.frames;
    EXPECT_GT(gRecorder.droppedFrames, 100);
    ASSERT_EQ(frames.size() + gRecorder.droppedFrames, delivered);
    for (size_t i = 0; i < frames.size(); i++) {
        ASSERT_EQ(frames[i].time, frames[i].number * d) << frames[i].number;
        if (i + 1 < frames.size()) {
            ASSERT_EQ(frames[i].time + frames[i].duration, frames[i + 1].time) << frames[i].number;
        }
    }
}

// What the UI thread reads while the streaming thread delivers and the
// recording thread writes, with the picture flags changing under them: the
// frame the view takes is always one whole frame, the rate stays positive,
// and the recording's times only grow, the file's never ahead of the total.
TEST_F(Recorder, TheUiThreadReadsFramesRateAndTimesWhileTheOtherThreadsRun)
{
    gCamera.frameBuffer.assign(FRAME, 0);
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
            gFake.precise += d;
            Bytes frame(FRAME, n); // every effect but emboss keeps it uniform
            Camera_PreviewFrame(0.0, frame.data(), FRAME);
            delivered++;
        }
    });

    std::atomic<int32_t> *flags[] = {&gCamera.mirror, &gCamera.gray, &gCamera.blackWhite, &gCamera.negative};
    int torn = 0, badRates = 0, timesBackwards = 0;
    int64_t lastTotal = 0;
    Bytes view(FRAME);
    for (int i = 0; i < 3000 || delivered < 1000; i++) {
        *flags[i % 4] = !*flags[i % 4];
        Camera_TakeFrame(&view);
        torn += std::count(view.begin(), view.end(), view[0]) != FRAME;
        badRates += !(gCamera.fps > 0.0f);
        int64_t sample = gRecorder.sampleTime, total = gRecorder.totalDuration;
        timesBackwards += sample > total || total < lastTotal;
        lastTotal = total;
    }
    Stop();
    streamingEnds = true;
    streaming.join();
    Lock_Destroy(gCamera.frameLock);
    gCamera.frameBuffer.clear();
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
