#include "reports/picture_reader.h"

#include "view/view_source.h"

#include <cstring>
#include <string>

namespace {

struct Bytes {
    const uint8_t *data;
    size_t size;
    bool bigEndian;

    bool Has(size_t offset, size_t count) const { return offset <= size && count <= size - offset; }
    uint32_t U16(size_t at) const
    {
        if (!Has(at, 2))
            return 0;
        return bigEndian ? (uint32_t)(data[at] << 8 | data[at + 1]) : (uint32_t)(data[at] | data[at + 1] << 8);
    }
    uint32_t U32(size_t at) const
    {
        if (!Has(at, 4))
            return 0;
        uint32_t high = U16(bigEndian ? at : at + 2), low = U16(bigEndian ? at + 2 : at);
        return high << 16 | low;
    }
};

bool StartsWith(const uint8_t *bytes, size_t size, const char *magic, size_t length)
{
    return size >= length && memcmp(bytes, magic, length) == 0;
}

// PNG: the size in IHDR; complete when the chunks run to IEND within the bytes.
PictureVerdict InspectPng(const Bytes &b, PictureFacts *facts)
{
    if (!b.Has(8, 16) || memcmp(b.data + 12, "IHDR", 4) != 0)
        return PICTURE_DAMAGED;
    facts->width = b.U32(16);
    facts->height = b.U32(20);
    for (size_t at = 8; b.Has(at, 12);) {
        uint32_t length = b.U32(at);
        if (memcmp(b.data + at + 4, "IEND", 4) == 0)
            return PICTURE_READABLE;
        if (!b.Has(at + 12, length))
            break;
        at += 12 + (size_t)length;
    }
    return PICTURE_DAMAGED;
}

// JPEG: the size in the first start-of-frame marker; complete when an end of
// image follows the start of scan (the entropy-coded data stuffs every 0xFF).
PictureVerdict InspectJpeg(const Bytes &b, PictureFacts *facts)
{
    bool sized = false;
    size_t at = 2;
    while (b.Has(at, 4)) {
        if (b.data[at] != 0xFF)
            return PICTURE_DAMAGED;
        uint8_t marker = b.data[at + 1];
        if (marker == 0xFF) { // fill byte
            at++;
            continue;
        }
        size_t length = b.U16(at + 2);
        bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame && b.Has(at + 4, 5)) {
            facts->height = b.U16(at + 5);
            facts->width = b.U16(at + 7);
            sized = true;
        }
        if (marker == 0xDA) {
            for (size_t end = at + 2; b.Has(end, 2); end++)
                if (b.data[end] == 0xFF && b.data[end + 1] == 0xD9)
                    return sized ? PICTURE_READABLE : PICTURE_DAMAGED;
            return PICTURE_DAMAGED;
        }
        if (length < 2)
            return PICTURE_DAMAGED;
        at += 2 + length;
    }
    return PICTURE_DAMAGED;
}

// BMP: the size in the info header (or the OS/2 core header); complete when
// the pixels the header places lie within the bytes.
PictureVerdict InspectBmp(const Bytes &b, PictureFacts *facts)
{
    uint32_t pixelsAt = b.U32(10), headerSize = b.U32(14);
    if (!b.Has(14, headerSize) || headerSize < 12)
        return PICTURE_DAMAGED;
    bool core = headerSize == 12;
    int64_t width = core ? b.U16(18) : (int32_t)b.U32(18);
    int64_t height = core ? (int16_t)b.U16(20) : (int32_t)b.U32(22);
    uint32_t bits = b.U16(core ? 24 : 28), compression = core ? 0 : b.U32(30);
    facts->width = width;
    facts->height = height < 0 ? -height : height;
    if (width <= 0 || height == 0 || bits == 0)
        return PICTURE_DAMAGED;
    uint64_t stride = ((uint64_t)width * bits + 31) / 32 * 4;
    bool plain = compression == 0 || compression == 3; // BI_RGB, BI_BITFIELDS
    uint64_t pixelBytes = plain ? stride * (uint64_t)facts->height : b.U32(34);
    return pixelBytes <= b.size && b.Has(pixelsAt, (size_t)pixelBytes) ? PICTURE_READABLE : PICTURE_DAMAGED;
}

enum TiffTag : uint32_t {
    TAG_WIDTH = 256,
    TAG_HEIGHT = 257,
    TAG_DESCRIPTION = 270,
    TAG_STRIP_OFFSETS = 273,
    TAG_STRIP_BYTES = 279,
    TAG_X_RESOLUTION = 282,
    TAG_TILE_OFFSETS = 324,
    TAG_TILE_BYTES = 325,
};

// One entry of the first image file directory.
struct TiffEntry {
    uint32_t type, count;
    size_t value; // where its values begin: in the entry, or where it points
};

size_t TypeSize(uint32_t type)
{
    switch (type) {
    case 1: case 2: case 6: case 7: return 1; // BYTE, ASCII, SBYTE, UNDEFINED
    case 3: case 8: return 2;                 // SHORT, SSHORT
    case 4: case 9: case 11: return 4;        // LONG, SLONG, FLOAT
    case 5: case 10: case 12: return 8;       // RATIONAL, SRATIONAL, DOUBLE
    }
    return 0;
}

bool TiffOrder(const Bytes &b, Bytes *ordered)
{
    *ordered = b;
    if (StartsWith(b.data, b.size, "II*\0", 4))
        ordered->bigEndian = false;
    else if (StartsWith(b.data, b.size, "MM\0*", 4))
        ordered->bigEndian = true;
    else
        return false;
    return true;
}

// The entry of a tag in the first directory, its values within the bytes.
bool FindEntry(const Bytes &b, uint32_t tag, TiffEntry *entry)
{
    size_t directory = b.U32(4);
    if (!b.Has(directory, 2))
        return false;
    uint32_t entries = b.U16(directory);
    for (uint32_t i = 0; i < entries; i++) {
        size_t at = directory + 2 + 12 * (size_t)i;
        if (!b.Has(at, 12))
            return false;
        if (b.U16(at) != tag)
            continue;
        entry->type = b.U16(at + 2);
        entry->count = b.U32(at + 4);
        uint64_t bytes = (uint64_t)TypeSize(entry->type) * entry->count;
        entry->value = bytes <= 4 ? at + 8 : b.U32(at + 8);
        return bytes > 0 && bytes <= b.size && b.Has(entry->value, (size_t)bytes);
    }
    return false;
}

// The i-th value of a SHORT or LONG entry.
uint64_t Integer(const Bytes &b, const TiffEntry &entry, uint32_t i)
{
    return entry.type == 3 ? b.U16(entry.value + 2 * (size_t)i) : b.U32(entry.value + 4 * (size_t)i);
}

bool IntegerEntry(const Bytes &b, uint32_t tag, TiffEntry *entry)
{
    return FindEntry(b, tag, entry) && (entry->type == 3 || entry->type == 4);
}

// Every strip (or tile) the offsets and byte counts name lies within the bytes.
bool TiffDataPresent(const Bytes &b, uint32_t offsetsTag, uint32_t countsTag)
{
    TiffEntry offsets, counts;
    if (!IntegerEntry(b, offsetsTag, &offsets) || !IntegerEntry(b, countsTag, &counts) ||
        offsets.count != counts.count)
        return false;
    for (uint32_t i = 0; i < offsets.count; i++) {
        uint64_t at = Integer(b, offsets, i), length = Integer(b, counts, i);
        if (at > b.size || length > b.size - at)
            return false;
    }
    return true;
}

PictureVerdict InspectTiff(const Bytes &b, PictureFacts *facts)
{
    TiffEntry width, height;
    if (!IntegerEntry(b, TAG_WIDTH, &width) || !IntegerEntry(b, TAG_HEIGHT, &height))
        return PICTURE_DAMAGED;
    facts->width = (int64_t)Integer(b, width, 0);
    facts->height = (int64_t)Integer(b, height, 0);
    bool present = TiffDataPresent(b, TAG_STRIP_OFFSETS, TAG_STRIP_BYTES) ||
                   TiffDataPresent(b, TAG_TILE_OFFSETS, TAG_TILE_BYTES);
    return present ? PICTURE_READABLE : PICTURE_DAMAGED;
}

// The unit of ImageJ's "unit=" line: 0 millimetres, 1 micrometres, 10 for
// centimetres (read as millimetres), -1 for any other.
int DescriptionUnit(const std::string &description)
{
    size_t at = description.find("unit=");
    if (at == std::string::npos || (at > 0 && description[at - 1] != '\n'))
        return -1;
    size_t end = description.find('\n', at);
    std::string unit = description.substr(at + 5, end == std::string::npos ? std::string::npos : end - at - 5);
    if (unit == "mm")
        return 0;
    if (unit == "cm")
        return 10;
    // ImageJ escapes the micro sign; other writers put it in UTF-8 or Latin-1.
    if (unit == "micron" || unit == "um" || unit == "\\u00B5m" || unit == "\xC2\xB5m" || unit == "\xB5m")
        return 1;
    return -1;
}

} // namespace

PictureVerdict Picture_Inspect(const uint8_t *bytes, size_t size, PictureFacts *facts)
{
    *facts = {PICTURE_UNKNOWN, 0, 0};
    if (size == 0)
        return PICTURE_EMPTY;
    Bytes b = {bytes, size, true};
    PictureVerdict verdict;
    if (StartsWith(bytes, size, "\x89PNG\r\n\x1A\n", 8)) {
        facts->format = PICTURE_PNG;
        verdict = InspectPng(b, facts);
    } else if (StartsWith(bytes, size, "\xFF\xD8\xFF", 3)) {
        facts->format = PICTURE_JPEG;
        verdict = InspectJpeg(b, facts);
    } else if (StartsWith(bytes, size, "BM", 2)) {
        facts->format = PICTURE_BMP;
        b.bigEndian = false;
        verdict = InspectBmp(b, facts);
    } else if (TiffOrder(b, &b)) {
        facts->format = PICTURE_TIFF;
        verdict = InspectTiff(b, facts);
    } else {
        return PICTURE_NOT_ONE;
    }
    // The size is refused first: a huge picture is refused whatever else.
    if (facts->width > 0 && facts->height > 0 && !Still_SizeAllowed(facts->width, facts->height))
        return PICTURE_TOO_LARGE;
    return verdict == PICTURE_READABLE && (facts->width <= 0 || facts->height <= 0) ? PICTURE_DAMAGED : verdict;
}

bool Tiff_ReadScale(const uint8_t *bytes, size_t size, PictureScale *scale)
{
    *scale = {-1.0, -1.0, 0};
    Bytes b;
    TiffEntry description, resolution;
    if (!TiffOrder({bytes, size, false}, &b) || !FindEntry(b, TAG_DESCRIPTION, &description) ||
        description.type != 2 || !FindEntry(b, TAG_X_RESOLUTION, &resolution) || resolution.type != 5)
        return false;
    std::string text((const char *)bytes + description.value, description.count);
    int unit = DescriptionUnit(text.c_str()); // up to the terminator
    uint32_t numerator = b.U32(resolution.value), denominator = b.U32(resolution.value + 4);
    if (unit < 0 || numerator == 0 || denominator == 0)
        return false;
    double perUnit = (double)numerator / denominator / (unit == 10 ? 10.0 : 1.0);
    *scale = {perUnit, perUnit, unit == 10 ? 0 : unit};
    return true;
}
