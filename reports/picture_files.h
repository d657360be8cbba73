// The bytes of snapshot files that carry the picture's scale: a baseline TIFF
// with ImageJ's calibration, and the density fields of PNG and JPEG files
// that another encoder wrote.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// The scale of the saved pixels: pixels per unit across and down, 0 or less
// for none; unit 0 millimetres, anything else micrometres (as
// Calibration::unit).
struct PictureScale {
    double x, y;
    int32_t unit;
};

struct TiffRational {
    uint32_t numerator, denominator;
};

// value (positive) as a fraction over a power of ten: the smallest that holds
// it to double precision, else the finest whose numerator fits 32 bits.
TiffRational Tiff_Rational(double value);

// A little-endian TIFF of 8-bit RGB in one uncompressed strip from top-down
// 32-bit rows (blue, green, red, unused). With a scale it holds what ImageJ
// writes and reads as its calibration: the description "ImageJ=1.53t\nunit=mm\n"
// (micrometres as the escaped "\u00B5m"), X and Y resolution in pixels per
// unit and resolution unit 1 (none). False when the picture is empty or too
// large for the format's 32-bit offsets.
bool Tiff_Write(const uint32_t *pixels, int width, int height, const PictureScale &scale,
                std::vector<uint8_t> *file);

// Sets the density of a PNG file (its pHYs chunk, in pixels per metre: put
// after IHDR, or replaced where the file has one) and of a JPEG file (the
// JFIF header's, in dots per centimetre: set, or a JFIF header put after the
// start of image where none is; a scale beyond its 16 bits as square pixels
// of no size). False, with the file unchanged, when it is not such a file or
// there is no scale (or, for PNG, one beyond its 32 bits).
bool Png_SetDensity(std::vector<uint8_t> *file, const PictureScale &scale);
bool Jpeg_SetDensity(std::vector<uint8_t> *file, const PictureScale &scale);

// CRC-32 as PNG chunks carry it.
uint32_t Png_Crc(const uint8_t *bytes, size_t size);
