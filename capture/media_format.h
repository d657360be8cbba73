// Reading a capture capability's media type: which formats the program
// accepts and where their bitmap header lies.
#pragma once
#include "base/geometry.h"
#include "capture/formats.h"
#include <cstddef>

extern const ClassId kMediaTypeVideo;   // MEDIATYPE_Video
extern const ClassId kSubtypeRgb24;     // MEDIASUBTYPE_RGB24
extern const ClassId kFormatVideoInfo;  // FORMAT_VideoInfo: header at byte 48
extern const ClassId kFormatVideoInfo2; // FORMAT_VideoInfo2: header at byte 72

// The bitmap header of a VideoInfo or VideoInfo2 format block; false for
// any other format type or a block too short to hold it.
bool MediaFormat_Header(const ClassId &formatType, const uint8_t *block, size_t size,
                        BitmapHeader *header);

// Accepts a video type of subtype MJPG or YUY2 with a VideoInfo or VideoInfo2
// block, and gives its format (subtype, width, height).
bool MediaFormat_Read(const ClassId &majorType, const ClassId &subtype, const ClassId &formatType,
                      const uint8_t *block, size_t size, VideoFormat *format);
