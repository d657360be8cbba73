#include "stack/fusion.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

void Gray_FromBgr(GrayLevel *level, const uint8_t *bgr, ptrdiff_t stride, int width, int height)
{
    level->width = width, level->height = height;
    level->pixels.resize((size_t)width * height);
    for (int y = 0; y < height; y++) {
        const uint8_t *in = bgr + y * stride;
        uint8_t *out = &level->pixels[(size_t)y * width];
        for (int x = 0; x < width; x++, in += 3)
            out[x] = (uint8_t)((29 * in[0] + 150 * in[1] + 77 * in[2]) >> 8);
    }
}

void Gray_Halve(GrayLevel *half, const GrayLevel &full)
{
    half->width = full.width / 2, half->height = full.height / 2;
    half->pixels.resize((size_t)half->width * half->height);
    for (int y = 0; y < half->height; y++) {
        const uint8_t *a = &full.pixels[(size_t)2 * y * full.width], *b = a + full.width;
        uint8_t *out = &half->pixels[(size_t)y * half->width];
        for (int x = 0; x < half->width; x++)
            out[x] = (uint8_t)((a[2 * x] + a[2 * x + 1] + b[2 * x] + b[2 * x + 1] + 2) >> 2);
    }
}

// Mean absolute difference of previous(x, y) and frame(x + dx, y + dy) over
// the rows and columns `margin` inside the edges, every `step`th.
uint64_t Difference(const GrayLevel &previous, const GrayLevel &frame, int dx, int dy, int margin, int step)
{
    uint64_t sum = 0, count = 0;
    for (int y = margin; y < previous.height - margin; y += step) {
        const uint8_t *a = &previous.pixels[(size_t)y * previous.width];
        const uint8_t *b = &frame.pixels[(size_t)(y + dy) * frame.width + dx];
        uint32_t row = 0;
        for (int x = margin; x < previous.width - margin; x += step)
            row += (uint32_t)std::abs(a[x] - b[x]);
        sum += row, count++;
    }
    return count ? sum / count : UINT64_MAX;
}

// The squared Laplacian of the luma summed over the window around each pixel.
void Measure(Fusion *f)
{
    const GrayLevel &g = f->levels[0];
    const int w = f->width, h = f->height, r = FUSION_MEASURE_RADIUS;
    // Squared Laplacian (0 at the picture's edge), then each row's window sums.
    std::vector<uint32_t> &m = f->measure;
    std::vector<uint32_t> energy(w);
    for (int y = 0; y < h; y++) {
        uint32_t *row = &m[(size_t)y * w];
        std::fill(energy.begin(), energy.end(), 0u);
        if (y > 0 && y < h - 1) {
            const uint8_t *c = &g.pixels[(size_t)y * w], *up = c - w, *down = c + w;
            for (int x = 1; x < w - 1; x++) {
                int l = 4 * c[x] - c[x - 1] - c[x + 1] - up[x] - down[x];
                energy[x] = (uint32_t)(l * l);
            }
        }
        uint32_t sum = 0;
        for (int x = 0; x < r && x < w; x++)
            sum += energy[x];
        for (int x = 0; x < w; x++) {
            if (x + r < w)
                sum += energy[x + r];
            if (x - r - 1 >= 0)
                sum -= energy[x - r - 1];
            row[x] = sum;
        }
    }
    // The columns' window sums, row by row, in place: a row is overwritten
    // only after the last window that needs it (r rows further down).
    std::vector<uint32_t> &col = f->columns;
    std::fill(col.begin(), col.end(), 0u);
    std::vector<uint32_t> window((size_t)(r + 1) * w); // the last r + 1 rows as they were
    for (int y = 0; y < r && y < h; y++)
        for (int x = 0; x < w; x++)
            col[x] += m[(size_t)y * w + x];
    for (int y = 0; y < h; y++) {
        uint32_t *kept = &window[(size_t)(y % (r + 1)) * w];
        if (y + r < h) {
            const uint32_t *add = &m[(size_t)(y + r) * w];
            for (int x = 0; x < w; x++)
                col[x] += add[x];
        }
        if (y - r - 1 >= 0) {
            const uint32_t *drop = &window[(size_t)((y - r - 1) % (r + 1)) * w];
            for (int x = 0; x < w; x++)
                col[x] -= drop[x];
        }
        uint32_t *row = &m[(size_t)y * w];
        memcpy(kept, row, (size_t)w * sizeof(uint32_t));
        memcpy(row, col.data(), (size_t)w * sizeof(uint32_t));
    }
}

// Takes each pixel of the frame whose measure beats the kept one.
void Choose(Fusion *f, const uint8_t *bgr, ptrdiff_t stride)
{
    const int w = f->width, h = f->height, ox = f->offsetX, oy = f->offsetY;
    const int x0 = std::max(0, -ox), x1 = std::min(w, w - ox);
    for (int y = std::max(0, -oy); y < std::min(h, h - oy); y++) {
        const uint32_t *m = &f->measure[(size_t)(y + oy) * w + ox];
        const uint8_t *in = bgr + (y + oy) * stride + (ptrdiff_t)ox * 3;
        uint32_t *best = &f->best[(size_t)y * w];
        uint8_t *out = &f->picture[(size_t)y * w * 3];
        for (int x = x0; x < x1; x++)
            if (m[x] > best[x] || f->frames == 0) {
                best[x] = m[x];
                memcpy(&out[x * 3], &in[x * 3], 3);
            }
    }
}

} // namespace

void Fusion_Begin(Fusion *f, int width, int height)
{
    Fusion_End(f);
    f->width = width, f->height = height;
    f->picture.assign((size_t)width * height * 3, 0);
    f->best.assign((size_t)width * height, 0);
    f->measure.resize((size_t)width * height);
    f->columns.resize(width);
}

void Fusion_Match(const GrayLevel previous[FUSION_LEVELS], const GrayLevel frame[FUSION_LEVELS], int *dx, int *dy)
{
    int bx = 0, by = 0;
    for (int l = FUSION_LEVELS - 1; l >= 0; l--) {
        int reach = l == FUSION_LEVELS - 1 ? FUSION_SEARCH_RANGE >> l : 1;
        bx *= 2, by *= 2;
        if (l == FUSION_LEVELS - 1)
            bx = by = 0;
        // The same rows and columns for every candidate: inside the farthest
        // shift this level tries.
        int margin = std::max(std::abs(bx), std::abs(by)) + reach;
        int step = l == 0 ? 2 : 1;
        uint64_t least = UINT64_MAX;
        int cx = bx, cy = by;
        for (int y = cy - reach; y <= cy + reach; y++)
            for (int x = cx - reach; x <= cx + reach; x++) {
                uint64_t d = Difference(previous[l], frame[l], x, y, margin, step);
                // Ties go to the smaller shift.
                if (d < least || (d == least && std::abs(x) + std::abs(y) < std::abs(bx) + std::abs(by)))
                    least = d, bx = x, by = y;
            }
    }
    *dx = bx, *dy = by;
}

void Fusion_Add(Fusion *f, const uint8_t *bgr, ptrdiff_t stride)
{
    Gray_FromBgr(&f->levels[0], bgr, stride, f->width, f->height);
    for (int l = 1; l < FUSION_LEVELS; l++)
        Gray_Halve(&f->levels[l], f->levels[l - 1]);
    if (f->frames > 0) {
        int dx, dy;
        Fusion_Match(f->previous, f->levels, &dx, &dy);
        f->offsetX += dx, f->offsetY += dy;
    }
    Measure(f);
    Choose(f, bgr, stride);
    for (int l = 0; l < FUSION_LEVELS; l++)
        std::swap(f->previous[l], f->levels[l]);
    f->frames++;
}

void Fusion_End(Fusion *f)
{
    *f = Fusion{};
}
