// The plain version of the effect loops: the reference the vector version is
// tested against, and the fallback on processors without it.
#include "capture/effect_kernels.h"

static void PlainMirrorRow(const uint8_t *in, uint8_t *out, size_t pixels)
{
    const uint8_t *from = in + 3 * pixels;
    for (size_t j = 0; j < pixels; j++) {
        from -= 3;
        out[3 * j] = from[0];
        out[3 * j + 1] = from[1];
        out[3 * j + 2] = from[2];
    }
}

static void PlainGray(const uint8_t *in, uint8_t *out, size_t pixels)
{
    for (size_t i = 0; i < 3 * pixels; i += 3) {
        uint8_t y = (uint8_t)Luma_Divide1000(Luma_Numerator(in[i], in[i + 1], in[i + 2]));
        out[i] = out[i + 1] = out[i + 2] = y;
    }
}

static void PlainBlackWhite(const uint8_t *in, uint8_t *out, size_t pixels)
{
    for (size_t i = 0; i < 3 * pixels; i += 3) {
        uint32_t y = Luma_Divide1000(Luma_Numerator(in[i], in[i + 1], in[i + 2]));
        out[i] = out[i + 1] = out[i + 2] = y > 127 ? 255 : 0;
    }
}

static void PlainNegative(const uint8_t *in, uint8_t *out, size_t bytes)
{
    for (size_t i = 0; i < bytes; i++)
        out[i] = (uint8_t)(255 - in[i]);
}

static void PlainEmboss(const uint8_t *in, const uint8_t *below, uint8_t *out, size_t bytes)
{
    for (size_t i = 0; i < bytes; i++) {
        int v = in[i] - below[i] + 128;
        out[i] = (uint8_t)(v < 0 ? 0 : v > 255 ? 255 : v);
    }
}

static void PlainExpandRow(const uint8_t *in, uint32_t *out, size_t pixels)
{
    for (size_t j = 0; j < pixels; j++, in += 3)
        out[j] = (uint32_t)in[2] << 16 | (uint32_t)in[1] << 8 | in[0];
}

const EffectKernels gPlainKernels = {"plain", PlainMirrorRow, PlainGray, PlainBlackWhite,
                                     PlainNegative, PlainEmboss, PlainExpandRow};

static const EffectKernels *BestKernels()
{
    std::vector<const EffectKernels *> vectors = EffectKernels_Vectors();
    return vectors.empty() ? &gPlainKernels : vectors.front();
}

const EffectKernels *gEffectKernels = BestKernels();
