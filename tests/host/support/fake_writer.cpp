#include "support/fake_writer.h"

#include "capture/camera_state.h"

#include <chrono>
#include <cstring>
#include <thread>

FakeWriter gFakeWriter;

void FakeWriter_Reset()
{
    gFakeWriter = FakeWriter();
}

int32_t Camera_CreateWriter()
{
    if (gFakeWriter.createStatus < 0)
        return gFakeWriter.createStatus;
    gFakeWriter.setups.push_back(Recorder_WriterSetup(gCamera.frameHeader, gRecorder.useH264));
    gFakeWriter.paths.push_back(gRecorder.path);
    gFakeWriter.open = true;
    return 0;
}

int32_t Camera_WriteFrame(const FrameCopy &frame, int64_t time, int64_t duration)
{
    if (gFakeWriter.writeDelayMs)
        std::this_thread::sleep_for(std::chrono::milliseconds(gFakeWriter.writeDelayMs));
    if (gFakeWriter.writesBeforeFailure >= 0 && (int)gFakeWriter.frames.size() >= gFakeWriter.writesBeforeFailure)
        return gFakeWriter.failStatus;
    uint32_t number = 0;
    memcpy(&number, frame.data, sizeof number);
    gFakeWriter.frames.push_back({time, duration, number});
    return 0;
}

int32_t Camera_CloseWriter()
{
    gFakeWriter.closes++;
    gFakeWriter.open = false;
    return 0;
}

// The host's threads need no preparing.
int32_t Writer_ThreadBegin()
{
    return 0;
}

void Writer_ThreadEnd() {}
