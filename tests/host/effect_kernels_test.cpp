// The effect loops: the plain version against the formulas, the vector
// version byte for byte against the plain one.
#include "capture/effect_kernels.h"

#include <gtest/gtest.h>
#include <cstring>
#include <random>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

const std::vector<const EffectKernels *> kVectors = EffectKernels_Vectors();

TEST(LumaDivision, MultiplyAndShiftEqualsDivisionBy1000OverTheWholeRange)
{
    uint32_t wrong = 0;
    for (uint32_t x = 0; x <= 255 * 1000 + 500; x++)
        wrong += Luma_Divide1000(x) != x / 1000;
    EXPECT_EQ(wrong, 0u);
}

#if defined(__x86_64__)
TEST(EffectKernels, TheFastestVectorVersionIsChosenOnThisProcessor)
{
    ASSERT_FALSE(kVectors.empty());
    EXPECT_EQ(gEffectKernels, kVectors.front());
}
#endif

// Every BGR triple, one red value (65536 pixels) at a time.
TEST(EffectKernels, GrayAndBlackWhiteOfEveryColourFollowTheLumaFormulaInEveryVersion)
{
    Bytes in(3 * 65536), gray(in.size()), bw(in.size()), other(in.size());
    uint32_t wrongGray = 0, wrongBw = 0, vectorDiffers = 0;
    for (uint32_t r = 0; r < 256; r++) {
        for (uint32_t i = 0; i < 65536; i++) {
            in[3 * i] = (uint8_t)i;
            in[3 * i + 1] = (uint8_t)(i >> 8);
            in[3 * i + 2] = (uint8_t)r;
        }
        gPlainKernels.gray(in.data(), gray.data(), 65536);
        gPlainKernels.blackWhite(in.data(), bw.data(), 65536);
        for (uint32_t i = 0; i < 65536; i++) {
            uint32_t y = (299 * r + 587 * (i >> 8) + 114 * (i & 255) + 500) / 1000;
            uint8_t white = y > 127 ? 255 : 0;
            for (int c = 0; c < 3; c++) {
                wrongGray += gray[3 * i + c] != y;
                wrongBw += bw[3 * i + c] != white;
            }
        }
        for (const EffectKernels *vector : kVectors) {
            vector->gray(in.data(), other.data(), 65536);
            vectorDiffers += other != gray;
            vector->blackWhite(in.data(), other.data(), 65536);
            vectorDiffers += other != bw;
        }
    }
    EXPECT_EQ(wrongGray, 0u);
    EXPECT_EQ(wrongBw, 0u);
    EXPECT_EQ(vectorDiffers, 0u);
}

TEST(EffectKernels, NegativeOfEveryByteAndEmbossOfEveryBytePair)
{
    Bytes in(65536), below(65536), plain(65536), vector(65536);
    for (uint32_t i = 0; i < 65536; i++) {
        in[i] = (uint8_t)i;
        below[i] = (uint8_t)(i >> 8);
    }
    gPlainKernels.negative(in.data(), plain.data(), 256);
    for (int v = 0; v < 256; v++)
        ASSERT_EQ(plain[v], 255 - v);
    gPlainKernels.emboss(in.data(), below.data(), plain.data(), 65536);
    uint32_t wrong = 0;
    for (uint32_t i = 0; i < 65536; i++) {
        int v = (int)(i & 255) - (int)(i >> 8) + 128;
        wrong += plain[i] != (v < 0 ? 0 : v > 255 ? 255 : v);
    }
    EXPECT_EQ(wrong, 0u);
    EXPECT_EQ(plain[0x00FF], 255); // a difference of 128 or more
    EXPECT_EQ(plain[0x8000], 0);   // a difference of -128
    EXPECT_EQ(plain[0x8100], 0);   // below -128
    EXPECT_EQ(plain[0x7F00], 1);

    Bytes negative(65536);
    gPlainKernels.negative(in.data(), negative.data(), 65536);
    for (const EffectKernels *version : kVectors) {
        version->emboss(in.data(), below.data(), vector.data(), 65536);
        EXPECT_EQ(vector, plain) << version->name;
        version->negative(in.data(), vector.data(), 65536);
        EXPECT_EQ(vector, negative) << version->name;
    }
}

TEST(EffectKernels, MirrorReversesPixelsAndExpansionKeepsTheirByteOrder)
{
    const uint8_t in[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    uint8_t out[12];
    gPlainKernels.mirrorRow(in, out, 4);
    const uint8_t expected[12] = {10, 11, 12, 7, 8, 9, 4, 5, 6, 1, 2, 3};
    EXPECT_EQ(memcmp(out, expected, 12), 0);

    uint32_t pixels[2];
    gPlainKernels.expandRow(in, pixels, 2);
    EXPECT_EQ(pixels[0], 0x030201u);
    EXPECT_EQ(pixels[1], 0x060504u);
}

// Spans of every length up to a few vector blocks, at every alignment: the
// same bytes as the plain version, and nothing written past the span (the
// inputs end exactly at the span, so the sanitizer build sees overreads).
TEST(EffectKernels, VectorVersionMatchesForEveryLengthAndAlignment)
{
    std::mt19937 random(7);
    const size_t slack = 64;
    for (size_t pixels = 0; pixels <= 200; pixels++) {
        for (size_t offset = 0; offset < 4; offset++) {
            size_t bytes = 3 * pixels;
            Bytes inStore(offset + bytes), belowStore(offset + bytes);
            for (auto &b : inStore)
                b = (uint8_t)random();
            for (auto &b : belowStore)
                b = (uint8_t)random();
            const uint8_t *in = inStore.data() + offset, *below = belowStore.data() + offset;
            auto run = [&](const EffectKernels *k, int which) {
                Bytes out(offset + 4 * pixels + slack, 0xA5);
                uint8_t *o = out.data() + offset;
                switch (which) {
                case 5: k->expandRow(in, (uint32_t *)out.data(), pixels); break; // 32-bit pixels: aligned
                case 0: k->mirrorRow(in, o, pixels); break;
                case 1: k->gray(in, o, pixels); break;
                case 2: k->blackWhite(in, o, pixels); break;
                case 3: k->negative(in, o, bytes); break;
                default: k->emboss(in, below, o, bytes); break;
                }
                return out;
            };
            for (int which = 0; which < 6; which++) {
                Bytes plain = run(&gPlainKernels, which);
                for (size_t i = which == 5 ? 4 * pixels : offset + bytes; i < plain.size(); i++)
                    ASSERT_EQ(plain[i], 0xA5);
                for (const EffectKernels *version : kVectors)
                    ASSERT_EQ(run(version, which), plain)
                        << version->name << ", kernel " << which << ", " << pixels << " pixels, offset " << offset;
            }
        }
    }
}

} // namespace
