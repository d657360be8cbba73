#include "reports/picture_files.h"

#include <cmath>
#include <cstring>

uint32_t Png_Crc(const uint8_t *bytes, size_t size)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; i++) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; bit++)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

// Pixels per unit as pixels per metre or per centimetre (divisor 100),
// rounded; 0 when that does not fit in limit.
static uint32_t Density(double pixelsPerUnit, int32_t unit, double divisor, double limit)
{
    double density = std::round(pixelsPerUnit * (unit == 0 ? 1e3 : 1e6) / divisor);
    return density >= 1 && density <= limit ? (uint32_t)density : 0;
}

static uint32_t Get32(const uint8_t *bytes)
{
    return (uint32_t)bytes[0] << 24 | (uint32_t)bytes[1] << 16 | (uint32_t)bytes[2] << 8 | bytes[3];
}

static void Set32(uint8_t *bytes, uint32_t value)
{
    for (int i = 0; i < 4; i++)
        bytes[i] = (uint8_t)(value >> (24 - 8 * i));
}

static const uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

bool Png_SetDensity(std::vector<uint8_t> *file, const PictureScale &scale)
{
    uint32_t x = Density(scale.x, scale.unit, 1, UINT32_MAX), y = Density(scale.y, scale.unit, 1, UINT32_MAX);
    std::vector<uint8_t> &png = *file;
    const size_t ihdrEnd = 8 + 12 + 13;
    if (!x || !y || png.size() < ihdrEnd || memcmp(png.data(), kPngSignature, 8) != 0 ||
        memcmp(&png[12], "IHDR", 4) != 0 || Get32(&png[8]) != 13)
        return false;
    uint8_t chunk[21] = {0, 0, 0, 9, 'p', 'H', 'Y', 's'};
    Set32(chunk + 8, x);
    Set32(chunk + 12, y);
    chunk[16] = 1; // the metre
    Set32(chunk + 17, Png_Crc(chunk + 4, 13));
    // pHYs must come before the first IDAT; one the encoder wrote is replaced.
    for (size_t at = ihdrEnd; at + 12 <= png.size();) {
        uint32_t length = Get32(&png[at]);
        if (length > png.size() - at - 12 || memcmp(&png[at + 4], "IDAT", 4) == 0)
            break;
        if (memcmp(&png[at + 4], "pHYs", 4) == 0 && length == 9) {
            memcpy(&png[at], chunk, sizeof chunk);
            return true;
        }
        at += 12 + length;
    }
    png.insert(png.begin() + ihdrEnd, chunk, chunk + sizeof chunk);
    return true;
}

bool Jpeg_SetDensity(std::vector<uint8_t> *file, const PictureScale &scale)
{
    uint32_t x = Density(scale.x, scale.unit, 100, 0xFFFF), y = Density(scale.y, scale.unit, 100, 0xFFFF);
    std::vector<uint8_t> &jpeg = *file;
    if (scale.x <= 0 || scale.y <= 0 || jpeg.size() < 4 || jpeg[0] != 0xFF || jpeg[1] != 0xD8)
        return false;
    // JFIF's APP0 comes right after the start of image: length 16, "JFIF",
    // version, units (2: per centimetre), X and Y density, no thumbnail.
    bool hasJfif = jpeg.size() >= 20 && jpeg[2] == 0xFF && jpeg[3] == 0xE0 && memcmp(&jpeg[6], "JFIF", 5) == 0;
    if (!hasJfif) {
        static const uint8_t kApp0[18] = {0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0, 1, 1};
        jpeg.insert(jpeg.begin() + 2, kApp0, kApp0 + sizeof kApp0);
    }
    // A scale beyond the field's 16 bits claims no size at all (unit 0:
    // square pixels) rather than the encoder's 96 per inch.
    bool fits = x && y;
    x = fits ? x : 1;
    y = fits ? y : 1;
    jpeg[13] = fits ? 2 : 0;
    jpeg[14] = (uint8_t)(x >> 8);
    jpeg[15] = (uint8_t)x;
    jpeg[16] = (uint8_t)(y >> 8);
    jpeg[17] = (uint8_t)y;
    return true;
}
