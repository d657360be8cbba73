// The video writer the recording thread hands its frames to. The platform's
// writer (record/writer_win.cpp) tries Media Foundation's sink writer first
// and falls back to the FFmpeg-based writer where Media Foundation has no
// encoder; the host tests link a fake that records what it was given.
#pragma once
#include "base/geometry.h"
#include "record/recorder_state.h"
#include <cstdint>

// What a writer is asked to produce from frames of the given header.
struct WriterSetup {
    int32_t width, height; // of the video: the frames' sides rounded down to even
    int32_t stride;        // bytes from one frame row to the next, padding included
    int32_t bitRate;       // bit/s
    int32_t useH264;       // 1: H.264 in MP4; 0: WMV in ASF
    int32_t frameRateNumerator, frameRateDenominator;
    int32_t interlaceMode; // 2: progressive
    int32_t pixelAspectNumerator, pixelAspectDenominator;
};

// The media-type parameters for frames of this header.
WriterSetup Recorder_WriterSetup(const BitmapHeader &header, int32_t useH264);

// Opens a writer for gRecorder.path with the setup of gCamera's frame header
// and gRecorder.useH264; on success gRecorder holds it until
// Camera_CloseWriter. Returns the platform status, negative on failure.
int32_t Camera_CreateWriter();
// Writes one frame at the given time in the file, lasting the given duration
// (100-ns units); returns the platform status. Called by the recording thread
// only.
int32_t Camera_WriteFrame(const FrameCopy &frame, int64_t time, int64_t duration);
// Finishes the file and lets the writer go; returns the platform status,
// negative when the file could not be finished (it may then not play).
int32_t Camera_CloseWriter();

// A video of pictures the recorder did not take (a time-lapse series),
// written through the same writers on the calling thread: frames of the
// setup's size as Camera_WriteFrame takes them (24-bit rows, bottom row
// first, the setup's stride apart). Each returns the platform status,
// negative on failure; a file whose opening failed is not left behind.
// VideoFile_Close finishes the file and frees the writer whatever it returns.
struct VideoFile;
int32_t VideoFile_Open(const wchar_t *path, const WriterSetup &setup, VideoFile **file);
int32_t VideoFile_Write(VideoFile *file, const uint8_t *rows, int64_t time, int64_t duration);
int32_t VideoFile_Close(VideoFile *file);

// The recording thread's first and last calls around its use of the writer
// (on Windows: COM's multithreaded apartment while Media Foundation's sink
// writer writes). Writer_ThreadBegin returns the platform status, negative
// when the writer cannot be used on this thread.
int32_t Writer_ThreadBegin();
void Writer_ThreadEnd();
