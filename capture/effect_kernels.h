// The inner loops of the picture effects over spans of RGB24 bytes, in a plain
// version and in versions for the processor's vector instructions. The
// effects use gEffectKernels, chosen once at start-up from what the processor
// offers; every version gives the same bytes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

struct EffectKernels {
    const char *name;
    // Writes the pixels of one row in reverse order, each pixel's 3 bytes
    // unchanged; in and out do not overlap.
    void (*mirrorRow)(const uint8_t *in, uint8_t *out, size_t pixels);
    // Every pixel becomes its luma Y in all three bytes.
    void (*gray)(const uint8_t *in, uint8_t *out, size_t pixels);
    // Every pixel becomes 255, 255, 255 when Y > 127, else 0, 0, 0.
    void (*blackWhite)(const uint8_t *in, uint8_t *out, size_t pixels);
    // out[i] = 255 - in[i].
    void (*negative)(const uint8_t *in, uint8_t *out, size_t bytes);
    // out[i] = in[i] - below[i] + 128, clamped to 0...255.
    void (*emboss)(const uint8_t *in, const uint8_t *below, uint8_t *out, size_t bytes);
    // Every pixel's bytes B, G, R become one 32-bit pixel 0x00RRGGBB, as the
    // view's 32-bit bitmap holds it.
    void (*expandRow)(const uint8_t *in, uint32_t *out, size_t pixels);
};

extern const EffectKernels gPlainKernels;

// The vector versions this processor can run, fastest first; none on
// processors other than x86.
std::vector<const EffectKernels *> EffectKernels_Vectors();

// The version the effects use: the fastest there is.
extern const EffectKernels *gEffectKernels;

// Y = (299 R + 587 G + 114 B + 500) / 1000, truncating. The division is done
// as floor(floor(x / 8) / 125) = ((x >> 3) * 33555) >> 22, exact for every x
// up to 255 * 1000 + 500 (x >> 3 then fits 16 bits, which the vector version
// needs) and within 32 bits.
inline uint32_t Luma_Divide1000(uint32_t x)
{
    return ((x >> 3) * 33555u) >> 22;
}

inline uint32_t Luma_Numerator(uint32_t b, uint32_t g, uint32_t r)
{
    return 299 * r + 587 * g + 114 * b + 500;
}

// Y > 127 exactly when the numerator is at least 128 000.
enum : uint32_t { LUMA_WHITE_NUMERATOR = 128000 };
