#include "rig_depth.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <vector>

namespace {

int PixelsPerMm(int width) { return width / 32; }

// Widths of three boxes whose sequence approximates a Gaussian of sigma
// (W. Jarosz's "fast image convolutions"): m boxes of width lower, the rest
// of width lower + 2, both odd.
void Boxes(double sigma, int radius[3])
{
    double ideal = std::sqrt(12.0 * sigma * sigma / 3 + 1);
    int lower = (int)std::floor(ideal);
    if (lower % 2 == 0)
        lower--;
    int upper = lower + 2;
    double m = (12 * sigma * sigma - 3.0 * lower * lower - 12.0 * lower - 9) / (-4.0 * lower - 4);
    int small = (int)std::lround(m);
    for (int i = 0; i < 3; i++)
        radius[i] = ((i < small ? lower : upper) - 1) / 2;
}

// One box pass over `count` values `stride` apart, reading beyond the ends
// as the end values; `line` is scratch of at least count values.
void BoxLine(uint8_t *values, int count, ptrdiff_t stride, int radius, std::vector<int> &line)
{
    line.resize(count);
    for (int i = 0; i < count; i++)
        line[i] = values[i * stride];
    auto at = [&](int i) { return line[std::clamp(i, 0, count - 1)]; };
    int width = 2 * radius + 1, sum = 0;
    for (int i = -radius; i <= radius; i++)
        sum += at(i);
    for (int i = 0; i < count; i++) {
        values[i * stride] = (uint8_t)((sum + width / 2) / width);
        sum += at(i + radius + 1) - at(i - radius);
    }
}

} // namespace

DepthRect Depth_Part(int width, int height, int k)
{
    int p = PixelsPerMm(width);
    return {(2 + 7 * k) * p, height / 2 + 3 * p, (7 + 7 * k) * p, height / 2 + 8 * p};
}

double Depth_Sigma(int width, int focus, int depth)
{
    return PixelsPerMm(width) * std::abs(focus - depth) / 100.0;
}

void Depth_PaintPart(uint8_t *bgr, int width, int height, int k, const uint8_t light[3], const uint8_t dark[3])
{
    DepthRect r = Depth_Part(width, height, k);
    int cell = std::max(2, PixelsPerMm(width) / 5);
    for (int y = std::max(r.y0, 0); y < std::min(r.y1, height); y++)
        for (int x = std::max(r.x0, 0); x < std::min(r.x1, width); x++) {
            const uint8_t *c = ((x - r.x0) / cell + (y - r.y0) / cell) % 2 ? dark : light;
            std::copy(c, c + 3, &bgr[((size_t)y * width + x) * 3]);
        }
}

void Depth_Blur(uint8_t *bgr, int width, int height, DepthRect a, double sigma)
{
    if (sigma < 0.5)
        return;
    a = {std::max(a.x0, 0), std::max(a.y0, 0), std::min(a.x1, width), std::min(a.y1, height)};
    if (a.x0 >= a.x1 || a.y0 >= a.y1)
        return;
    int radius[3];
    Boxes(sigma, radius);
    std::vector<int> line;
    const ptrdiff_t row = (ptrdiff_t)width * 3;
    for (int pass = 0; pass < 3; pass++)
        for (int y = a.y0; y < a.y1; y++)
            for (int c = 0; c < 3; c++)
                BoxLine(&bgr[y * row + a.x0 * 3 + c], a.x1 - a.x0, 3, radius[pass], line);
    for (int pass = 0; pass < 3; pass++)
        for (int x = a.x0; x < a.x1; x++)
            for (int c = 0; c < 3; c++)
                BoxLine(&bgr[a.y0 * row + x * 3 + c], a.y1 - a.y0, row, radius[pass], line);
}

void Depth_Focus(uint8_t *bgr, int width, int height, int focus, bool relief, DepthPaintPart paint, void *context)
{
    Depth_Blur(bgr, width, height, {0, 0, width, height}, Depth_Sigma(width, focus, RIG_RULER_DEPTH));
    for (int k = 0; relief && k < RIG_RELIEF_PARTS; k++) {
        paint(context, bgr, width, height, k);
        double sigma = Depth_Sigma(width, focus, kReliefDepth[k]);
        // The margin stays within the gap of 2p between parts, so that no
        // part's blur reaches into another.
        int margin = std::min((int)std::ceil(3 * sigma), PixelsPerMm(width));
        DepthRect r = Depth_Part(width, height, k);
        Depth_Blur(bgr, width, height, {r.x0 - margin, r.y0 - margin, r.x1 + margin, r.y1 + margin}, sigma);
    }
}
