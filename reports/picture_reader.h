// What a picture file says before it is decoded: its format, its size, whether
// all of it is there, and the scale a TIFF carries in ImageJ's calibration.
// Outside data: every offset and length is checked against the bytes.
#pragma once
#include "reports/picture_files.h"

#include <cstddef>
#include <cstdint>

enum PictureFormat { PICTURE_UNKNOWN, PICTURE_JPEG, PICTURE_PNG, PICTURE_BMP, PICTURE_TIFF };

enum PictureVerdict {
    PICTURE_READABLE,  // a complete picture of an allowed size
    PICTURE_EMPTY,     // no bytes
    PICTURE_NOT_ONE,   // none of JPEG, PNG, BMP, TIFF
    PICTURE_DAMAGED,   // such a file, but its size cannot be read or its data is cut off
    PICTURE_TOO_LARGE, // beyond Still_SizeAllowed
};

struct PictureFacts {
    PictureFormat format;
    int64_t width, height;
};

// Reads the format and the size from the header, and checks that the data
// the header points at lies within the bytes.
PictureVerdict Picture_Inspect(const uint8_t *bytes, size_t size, PictureFacts *facts);

// The scale of a TIFF in ImageJ's calibration: the unit in the description's
// "unit=" line (mm, cm, or micrometres written as micron, um, "\u00B5m" or
// µm) and the X resolution in pixels per that unit, turned into pixels per
// millimetre for cm. False, with none, for any other file or unit.
bool Tiff_ReadScale(const uint8_t *bytes, size_t size, PictureScale *scale);
