#include "reports/picture_files.h"
#include "reports/snapshot.h"
#include "support/view_fixture.h"

#include <cstring>
#include <map>
#include <string>

namespace {

using Bytes = std::vector<uint8_t>;

uint32_t Little(const Bytes &file, size_t at, int size)
{
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; i--)
        value = value << 8 | file.at(at + i);
    return value;
}

struct TiffEntry {
    uint16_t type;
    uint32_t count, value; // value: the first value when it fits in the entry, else its offset
};

// The first directory of a little-endian TIFF, checked for ascending tags.
std::map<uint16_t, TiffEntry> Directory(const Bytes &file)
{
    std::map<uint16_t, TiffEntry> entries;
    EXPECT_EQ(std::string(file.begin(), file.begin() + 4), std::string("II*\0", 4));
    uint32_t at = Little(file, 4, 4), count = Little(file, at, 2);
    for (uint32_t i = 0, previous = 0; i < count; i++) {
        size_t entry = at + 2 + i * 12;
        uint16_t tag = (uint16_t)Little(file, entry, 2), type = (uint16_t)Little(file, entry + 2, 2);
        EXPECT_GT(tag, previous);
        previous = tag;
        entries[tag] = {type, Little(file, entry + 4, 4), Little(file, entry + 8, type == 3 ? 2 : 4)};
    }
    EXPECT_EQ(Little(file, at + 2 + count * 12, 4), 0u);
    return entries;
}

std::string Description(const Bytes &file, const TiffEntry &entry)
{
    return std::string(file.begin() + entry.value, file.begin() + entry.value + entry.count);
}

std::pair<uint32_t, uint32_t> RationalAt(const Bytes &file, uint32_t at)
{
    return {Little(file, at, 4), Little(file, at + 4, 4)};
}

TEST(TiffWriter, HoldsRgbRowsAndImageJsCalibrationOnlyWithAScale)
{
    const uint32_t pixels[6] = {0x112233, 0x445566, 0x778899, 0xAABBCC, 0xDDEEFF, 0x010203};
    Bytes file;
    ASSERT_TRUE(Tiff_Write(pixels, 3, 2, {40, 40, 0}, &file));
    auto tags = Directory(file);
    EXPECT_EQ(tags[256].value, 3u);
    EXPECT_EQ(tags[257].value, 2u);
    EXPECT_EQ(tags[258].count, 3u);
    EXPECT_EQ(Little(file, tags[258].value, 2) + Little(file, tags[258].value + 4, 2), 16u);
    EXPECT_EQ(tags[259].value, 1u); // uncompressed
    EXPECT_EQ(tags[262].value, 2u); // RGB
    EXPECT_EQ(tags[277].value, 3u);
    EXPECT_EQ(tags[278].value, 2u);
    EXPECT_EQ(tags[296].value, 1u); // no absolute unit: ImageJ takes its unit from the description
    EXPECT_EQ(Description(file, tags[270]), std::string("ImageJ=1.53t\nunit=mm\n", 22));
    EXPECT_EQ(RationalAt(file, tags[282].value), std::make_pair(40u, 1u));
    EXPECT_EQ(RationalAt(file, tags[283].value), std::make_pair(40u, 1u));
    ASSERT_EQ(tags[279].value, 18u);
    ASSERT_EQ(tags[273].value + 18u, file.size());
    const uint8_t rgb[18] = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88, 0x99,
                             0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF, 0x01, 0x02, 0x03};
    EXPECT_EQ(memcmp(&file[tags[273].value], rgb, 18), 0);

    ASSERT_TRUE(Tiff_Write(pixels, 3, 2, {1.5, 0.75, 1}, &file));
    tags = Directory(file);
    EXPECT_EQ(Description(file, tags[270]), std::string("ImageJ=1.53t\nunit=\\u00B5m\n", 27));
    EXPECT_EQ(RationalAt(file, tags[282].value), std::make_pair(15u, 10u));
    EXPECT_EQ(RationalAt(file, tags[283].value), std::make_pair(75u, 100u));

    ASSERT_TRUE(Tiff_Write(pixels, 3, 2, {-1, -1, 0}, &file));
    tags = Directory(file);
    for (uint16_t tag : {270, 282, 283, 296})
        EXPECT_FALSE(tags.count(tag)) << tag;
    EXPECT_FALSE(Tiff_Write(pixels, 0, 2, {-1, -1, 0}, &file));
    EXPECT_FALSE(Tiff_Write(pixels, 40000, 40000, {-1, -1, 0}, &file)); // beyond 32-bit offsets
}

TEST(TiffWriter, RationalsTakeTheShortestPowerOfTenThatHoldsTheValue)
{
    auto same = [](TiffRational r, uint32_t n, uint32_t d) { return r.numerator == n && r.denominator == d; };
    EXPECT_TRUE(same(Tiff_Rational(40), 40, 1));
    EXPECT_TRUE(same(Tiff_Rational(37.837837), 37837837, 1000000));
    EXPECT_TRUE(same(Tiff_Rational(1.0 / 3), 333333333, 1000000000)); // the finest there is
    EXPECT_TRUE(same(Tiff_Rational(5e9 / 7), 714285714, 1)); // none finer fits 32 bits
}

// A PNG's signature, IHDR, an empty IDAT and IEND.
Bytes SmallPng()
{
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    png.resize(png.size() + 13 + 4);
    for (const char *type : {"IDAT", "IEND"}) {
        png.insert(png.end(), {0, 0, 0, 0});
        png.insert(png.end(), type, type + 4);
        png.insert(png.end(), {0, 0, 0, 0});
    }
    return png;
}

TEST(PictureDensity, PngGetsOnePhysChunkInPixelsPerMetreBeforeItsPicture)
{
    EXPECT_EQ(Png_Crc((const uint8_t *)"IEND", 4), 0xAE426082u); // every PNG's last four bytes
    Bytes png = SmallPng();
    const size_t plain = png.size();
    ASSERT_TRUE(Png_SetDensity(&png, {40, 20, 0}));
    ASSERT_EQ(png.size(), plain + 21);
    const uint8_t phys[] = {0, 0, 0, 9, 'p', 'H', 'Y', 's', 0, 0, 0x9C, 0x40, 0, 0, 0x4E, 0x20, 1};
    EXPECT_EQ(memcmp(&png[33], phys, sizeof phys), 0) << "40000 and 20000 per metre, after IHDR";
    uint32_t crc = (uint32_t)png[50] << 24 | png[51] << 16 | png[52] << 8 | png[53];
    EXPECT_EQ(crc, Png_Crc(&png[37], 13));

    ASSERT_TRUE(Png_SetDensity(&png, {2, 2, 1})); // 2 px/um: replaced, not added
    EXPECT_EQ(png.size(), plain + 21);
    const uint8_t micrometres[] = {0, 0x1E, 0x84, 0x80};
    EXPECT_EQ(memcmp(&png[41], micrometres, 4), 0);

    Bytes notPng(40, 0), kept = notPng;
    EXPECT_FALSE(Png_SetDensity(&notPng, {40, 40, 0}));
    EXPECT_EQ(notPng, kept);
}

TEST(PictureDensity, JpegGetsJfifDotsPerCentimetreAndAHeaderWhereItHasNone)
{
    Bytes jfif = {0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0, 1, 1, 1, 0, 96, 0, 96, 0, 0, 0xFF, 0xD9};
    ASSERT_TRUE(Jpeg_SetDensity(&jfif, {40, 37.5, 0}));
    EXPECT_EQ(jfif.size(), 22u);
    const uint8_t density[] = {2, 400 >> 8, 400 & 0xFF, 375 >> 8, 375 & 0xFF};
    EXPECT_EQ(memcmp(&jfif[13], density, 5), 0);

    Bytes bare = {0xFF, 0xD8, 0xFF, 0xDB, 0, 2, 0xFF, 0xD9};
    ASSERT_TRUE(Jpeg_SetDensity(&bare, {40, 40, 0}));
    ASSERT_EQ(bare.size(), 26u);
    EXPECT_EQ(std::string(bare.begin() + 6, bare.begin() + 11), std::string("JFIF\0", 5));
    EXPECT_EQ(bare[13], 2);
    EXPECT_EQ(bare[20], 0xFF);
    EXPECT_EQ(bare[21], 0xDB) << "the rest follows the header";

    ASSERT_TRUE(Jpeg_SetDensity(&bare, {10, 10, 1})); // 100000 per cm does not fit 16 bits
    const uint8_t noSize[] = {0, 0, 1, 0, 1};
    EXPECT_EQ(memcmp(&bare[13], noSize, 5), 0);
    EXPECT_EQ(bare.size(), 26u);
}

struct SnapshotScale : ViewTest {};

TEST_F(SnapshotScale, IsTheCalibrationAtThePicturesSizeAndFollowsAnotherSize)
{
    PictureScale none = Snapshot_Scale(640, 480);
    EXPECT_LE(none.x, 0);
    Calibrate(37.5f, 1);
    PictureScale own = Snapshot_Scale(640, 480), half = Snapshot_Scale(320, 240);
    EXPECT_EQ(own.x, 37.5);
    EXPECT_EQ(own.y, 37.5);
    EXPECT_EQ(own.unit, 1);
    EXPECT_EQ(half.x, 18.75);
    EXPECT_EQ(half.y, 18.75);
}

} // namespace
