// Capture formats: the subtypes the program asks for, the per-device format
// maps and the choice of a default format.
#pragma once
#include "base/guid.h"
#include <cstdint>
#include <map>

// MEDIASUBTYPE_MJPG {47504A4D-0000-0010-8000-00AA00389B71} and
// MEDIASUBTYPE_YUY2 {32595559-0000-0010-8000-00AA00389B71}.
extern const ClassId kSubtypeMjpg;
extern const ClassId kSubtypeYuy2;

struct VideoFormat {
    ClassId subtype;
    int32_t width;
    int32_t height;
};

// Formats by ascending pixel count; the first format of a pixel count stays.
using FormatMap = std::map<int32_t, VideoFormat>;

int32_t Format_PixelCount(int32_t width, int32_t height);

// Inserts unless a format of the same pixel count is already there.
void FormatMap_Add(FormatMap *map, const VideoFormat &format);

// The index-th entry in ascending order, or nullptr.
const VideoFormat *FormatMap_At(const FormatMap &map, int index);

// The index of the entry of exactly that size, or -1.
int FormatMap_IndexOf(const FormatMap &map, int32_t width, int32_t height);

// The default among the formats of a device: 1280x720, else 640x480, else
// 1920x1080, else the middle entry of the MJPG map, or of the YUY2 map when
// there are no MJPG formats. False when both maps are empty.
bool Formats_ChooseDefault(const FormatMap &mjpg, const FormatMap &yuy2, VideoFormat *chosen);

// Whether a listed capability is offered to the user: at least 640x480 and
// no side beyond what a frame may have (a negative size is a driver's error).
bool Format_IsListed(int32_t width, int32_t height);

// The format the next preview start asks for; MJPG 640x480 at first.
extern VideoFormat gRequestedFormat;
