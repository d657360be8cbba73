// The fallback video writer, on FFmpeg's libraries with OpenH264: H.264 in
// MP4, or WMV (version 2) in ASF, for where Media Foundation has no encoder
// (the N editions of Windows, Wine).
#pragma once
#include "record/writer.h"
#include <cstdint>

struct FallbackWriter;

// Creates the file at path and an encoder for the setup; negative status on
// failure, with nothing left behind.
int32_t FallbackWriter_Open(const wchar_t *path, const WriterSetup &setup, FallbackWriter **writer);
// Encodes one frame: height rows of width x 3 bytes (B, G, R), each starting
// the setup's stride after the one before, bottom row first as in a DIB, shown at time for duration (100-ns units).
int32_t FallbackWriter_Write(FallbackWriter *writer, const uint8_t *frame, int64_t time, int64_t duration);
// Flushes the encoder, finalises the file and frees the writer; negative
// status when the file could not be finished.
int32_t FallbackWriter_Close(FallbackWriter *writer);
