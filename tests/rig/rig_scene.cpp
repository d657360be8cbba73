#include "rig_scene.h"
#include "rig_codec.h"
#include "rig_depth.h"
#include "rig_shared.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

struct Tone {
    BYTE lut[3][256]; // blue, green, red
};

// In automatic mode the value is the one automatic mode arrived at.
LONG Control(int device, RigControl c)
{
    return Rig_Device(device)->control[c].value;
}

// Exposure and gain scale the light, gamma bends it, contrast spreads it
// about mid-grey, brightness shifts it and white balance tints it.
void Tone_Build(Tone *tone, int device)
{
    double exposure = std::pow(2.0, (Control(device, RigControl_Exposure) + 6) / 3.0);
    double gain = 1.0 + Control(device, RigControl_Gain) / 50.0;
    double gamma = 100.0 / Control(device, RigControl_Gamma);
    double contrast = Control(device, RigControl_Contrast) / 32.0;
    double brightness = Control(device, RigControl_Brightness);
    double warm = (4600 - Control(device, RigControl_WhiteBalance)) / 8000.0;
    const double tint[3] = {1.0 - warm, 1.0, 1.0 + warm};
    for (int v = 0; v < 256; v++) {
        double light = std::min(1.0, v / 255.0 * exposure * gain);
        double shaped = (std::pow(light, gamma) * 255.0 - 128.0) * contrast + 128.0 + brightness;
        for (int c = 0; c < 3; c++)
            tone->lut[c][v] = (BYTE)std::clamp(std::lround(shaped * tint[c]), 0L, 255L);
    }
}

void Fill(Scene *s, int x0, int y0, int x1, int y1, SceneColour colour)
{
    x0 = std::max(x0, 0), y0 = std::max(y0, 0);
    x1 = std::min(x1, s->width), y1 = std::min(y1, s->height);
    for (int y = y0; y < y1; y++) {
        BYTE *p = &s->frame[((size_t)y * s->width + x0) * 3];
        for (int x = x0; x < x1; x++, p += 3)
            p[0] = colour.b, p[1] = colour.g, p[2] = colour.r;
    }
}

SceneColour Toned(const Tone &tone, SceneColour c) { return {tone.lut[0][c.b], tone.lut[1][c.g], tone.lut[2][c.r]}; }

void PaintPart(void *context, uint8_t *bgr, int width, int height, int k)
{
    const Tone &tone = *(const Tone *)context;
    SceneColour light = Toned(tone, kSceneReliefLight[k]), dark = Toned(tone, kSceneReliefDark[k]);
    const uint8_t l[3] = {light.b, light.g, light.r}, d[3] = {dark.b, dark.g, dark.r};
    Depth_PaintPart(bgr, width, height, k, l, d);
}

void Scene_PaintBase(Scene *s, int device, const Tone &tone)
{
    const int w = s->width, h = s->height, p = Rig_PixelsPerMm(w);
    const int rulerTop = h / 4, tick = std::max(1, p / 10);
    Fill(s, 0, 0, w, h, Toned(tone, kScenePaper));
    Fill(s, p / 2, rulerTop, w - p / 2, rulerTop + 2 * p, Toned(tone, kSceneRuler));
    for (int k = 0; p * (k + 1) + tick <= w - p; k++) {
        int length = k % 10 == 0 ? 3 * p / 2 : k % 5 == 0 ? p : p / 2;
        int x = p * (k + 1);
        Fill(s, x, rulerTop, x + tick, rulerTop + length, Toned(tone, kSceneTick));
    }
    Fill(s, p / 2, p / 2, 3 * p / 2, 3 * p / 2, Toned(tone, kSceneRed));
    Fill(s, w - 3 * p / 2, h - 3 * p / 2, w - p / 2, h - p / 2, Toned(tone, kSceneBlue));
    const RigDeviceShared *d = Rig_Device(device);
    Depth_Focus(s->frame.data(), w, h, d->control[RigControl_Focus].value, d->relief != 0, PaintPart, (void *)&tone);
    s->base = s->frame;
}

} // namespace

int Scene_MarkColumn(int width, unsigned index)
{
    int step = std::max(1, width / 160);
    return (int)((unsigned long long)index * step % (unsigned)(width - Rig_PixelsPerMm(width)));
}

void Scene_Prepare(Scene *s, int device, int width, int height)
{
    LONG version = Rig_Device(device)->toneVersion;
    if (s->prepared && s->width == width && s->height == height && s->toneVersion == version)
        return;
    s->width = width;
    s->height = height;
    s->toneVersion = version;
    s->prepared = true;
    s->frame.assign((size_t)width * height * 3, 0);
    Tone tone;
    Tone_Build(&tone, device);
    Scene_PaintBase(s, device, tone);
    s->yuy2Stale = true;
}

POINT Scene_NumberBlock(int width, int height, int k)
{
    int p = Rig_PixelsPerMm(width);
    return {(k + 2) * p, height / 2 + p};
}

void Scene_Paint(Scene *s, unsigned index, LONG number)
{
    const int p = Rig_PixelsPerMm(s->width);
    s->bandTop = s->height / 2;
    s->bandRows = std::min(number ? 2 * p : p, s->height - s->bandTop);
    size_t offset = (size_t)s->bandTop * s->width * 3, bytes = (size_t)s->bandRows * s->width * 3;
    memcpy(&s->frame[offset], &s->base[offset], bytes);
    // The mark keeps its colour whatever the tone: it is what moves.
    int x = Scene_MarkColumn(s->width, index);
    Fill(s, x, s->bandTop, x + p, s->bandTop + p, kSceneMark);
    for (int k = 0; number && k < RIG_NUMBER_BITS; k++) {
        POINT at = Scene_NumberBlock(s->width, s->height, k);
        Fill(s, at.x, at.y, at.x + p, at.y + p, (number >> k) & 1 ? SceneColour{0, 0, 0} : SceneColour{255, 255, 255});
    }
}

const BYTE *Scene_Yuy2(Scene *s)
{
    s->yuy2.resize((size_t)s->width * s->height * 2);
    int top = s->yuy2Stale ? 0 : s->bandTop, rows = s->yuy2Stale ? s->height : s->bandRows;
    Bgr_ToYuy2(&s->frame[(size_t)top * s->width * 3], s->width, rows, &s->yuy2[(size_t)top * s->width * 2]);
    s->yuy2Stale = false;
    return s->yuy2.data();
}
