// The writer the recording thread hands its frames to, for the host tests: it
// records what it was asked and can fail or be slow on request.
#pragma once
#include "record/writer.h"
#include <cstdint>
#include <string>
#include <vector>

struct WrittenFrame {
    int64_t time, duration;
    uint32_t number; // the frame's first four bytes
};

struct FakeWriter {
    int32_t createStatus = 0; // what Camera_CreateWriter returns
    int writeDelayMs = 0;     // each write takes this long
    int writesBeforeFailure = -1; // from then on every write returns failStatus
    int32_t failStatus = 0;
    std::vector<WriterSetup> setups;
    std::vector<std::wstring> paths;
    std::vector<WrittenFrame> frames; // of every file since the reset
    int closes = 0;
    bool open = false;
};

extern FakeWriter gFakeWriter;

void FakeWriter_Reset();
