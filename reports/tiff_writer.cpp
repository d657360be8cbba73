#include "reports/picture_files.h"

#include <cmath>
#include <cstring>
#include <initializer_list>
#include <string>

TiffRational Tiff_Rational(double value)
{
    TiffRational best = {0, 1};
    for (uint32_t denominator = 1;; denominator *= 10) {
        double numerator = std::round(value * denominator);
        if (numerator > UINT32_MAX)
            break;
        best = {(uint32_t)numerator, denominator};
        if (std::fabs(numerator / denominator - value) <= value * 1e-15 || denominator == 1000000000u)
            break;
    }
    return best;
}

namespace {

enum TiffType : uint16_t { TIFF_ASCII = 2, TIFF_SHORT = 3, TIFF_LONG = 4, TIFF_RATIONAL = 5 };

struct Entry {
    uint16_t tag;
    TiffType type;
    uint32_t count;
    std::vector<uint8_t> value; // little-endian; placed after the directory when longer than 4 bytes
};

void Put16(std::vector<uint8_t> *bytes, uint32_t value)
{
    bytes->push_back((uint8_t)value);
    bytes->push_back((uint8_t)(value >> 8));
}

void Put32(std::vector<uint8_t> *bytes, uint32_t value)
{
    Put16(bytes, value & 0xFFFF);
    Put16(bytes, value >> 16);
}

Entry Shorts(uint16_t tag, std::initializer_list<uint32_t> values)
{
    Entry entry = {tag, TIFF_SHORT, (uint32_t)values.size(), {}};
    for (uint32_t value : values)
        Put16(&entry.value, value);
    return entry;
}

Entry Long(uint16_t tag, uint32_t value)
{
    Entry entry = {tag, TIFF_LONG, 1, {}};
    Put32(&entry.value, value);
    return entry;
}

Entry Rational(uint16_t tag, double value)
{
    TiffRational rational = Tiff_Rational(value);
    Entry entry = {tag, TIFF_RATIONAL, 1, {}};
    Put32(&entry.value, rational.numerator);
    Put32(&entry.value, rational.denominator);
    return entry;
}

Entry Ascii(uint16_t tag, const std::string &text)
{
    Entry entry = {tag, TIFF_ASCII, (uint32_t)text.size() + 1, {}};
    entry.value.assign(text.begin(), text.end());
    entry.value.push_back(0);
    return entry;
}

// Entries in the ascending tag order TIFF requires; StripOffsets is filled
// in once the pixels' place is known.
std::vector<Entry> Entries(int width, int height, const PictureScale &scale)
{
    uint32_t stripBytes = (uint32_t)width * (uint32_t)height * 3;
    bool calibrated = scale.x > 0 && scale.y > 0;
    std::vector<Entry> entries = {Long(256, (uint32_t)width), Long(257, (uint32_t)height),
                                  Shorts(258, {8, 8, 8}), Shorts(259, {1}), Shorts(262, {2})};
    if (calibrated) // ImageJ escapes what is not ASCII, as it does the micro sign
        entries.push_back(Ascii(270, scale.unit == 0 ? "ImageJ=1.53t\nunit=mm\n" : "ImageJ=1.53t\nunit=\\u00B5m\n"));
    for (Entry entry : {Long(273, 0), Shorts(277, {3}), Long(278, (uint32_t)height), Long(279, stripBytes)})
        entries.push_back(entry);
    if (calibrated) {
        entries.push_back(Rational(282, scale.x));
        entries.push_back(Rational(283, scale.y));
    }
    entries.push_back(Shorts(284, {1}));
    if (calibrated)
        entries.push_back(Shorts(296, {1}));
    return entries;
}

void PutPixels(std::vector<uint8_t> *file, const uint32_t *pixels, size_t count)
{
    size_t at = file->size();
    file->resize(at + count * 3);
    uint8_t *out = file->data() + at;
    for (size_t i = 0; i < count; i++, out += 3) {
        out[0] = (uint8_t)(pixels[i] >> 16);
        out[1] = (uint8_t)(pixels[i] >> 8);
        out[2] = (uint8_t)pixels[i];
    }
}

} // namespace

bool Tiff_Write(const uint32_t *pixels, int width, int height, const PictureScale &scale,
                std::vector<uint8_t> *file)
{
    if (width <= 0 || height <= 0 || (uint64_t)width * (uint64_t)height * 3 > UINT32_MAX - (1u << 16))
        return false;
    std::vector<Entry> entries = Entries(width, height, scale);
    file->clear();
    file->insert(file->end(), {'I', 'I', 42, 0});
    Put32(file, 8);
    // The directory, then the values that do not fit in it, then the pixels,
    // each on an even offset.
    uint32_t directoryEnd = 8 + 2 + (uint32_t)entries.size() * 12 + 4;
    uint32_t next = directoryEnd;
    for (const Entry &entry : entries)
        if (entry.value.size() > 4)
            next += ((uint32_t)entry.value.size() + 1) & ~1u;
    for (Entry &entry : entries)
        if (entry.tag == 273)
            entry.value = {(uint8_t)next, (uint8_t)(next >> 8), (uint8_t)(next >> 16), (uint8_t)(next >> 24)};
    Put16(file, (uint32_t)entries.size());
    uint32_t outside = directoryEnd;
    for (const Entry &entry : entries) {
        Put16(file, entry.tag);
        Put16(file, entry.type);
        Put32(file, entry.count);
        if (entry.value.size() > 4) {
            Put32(file, outside);
            outside += ((uint32_t)entry.value.size() + 1) & ~1u;
        } else {
            std::vector<uint8_t> inline4 = entry.value;
            inline4.resize(4);
            file->insert(file->end(), inline4.begin(), inline4.end());
        }
    }
    Put32(file, 0); // no further directory
    for (const Entry &entry : entries)
        if (entry.value.size() > 4) {
            file->insert(file->end(), entry.value.begin(), entry.value.end());
            if (entry.value.size() & 1)
                file->push_back(0);
        }
    PutPixels(file, pixels, (size_t)width * (size_t)height);
    return true;
}
