// The fusion of a focus series into one picture that is sharp everywhere.
//
// Frames arrive one by one (Fusion_Add) and are fused into the running
// picture at once, so the memory does not grow with the series: about 19
// bytes per pixel whatever the number of frames (40 MB at 1920 x 1080, the
// fused picture, the chosen frames' focus measure, the frame's gray pyramid
// and the previous frame's, the measure and its scratch).
//
// Alignment: each frame is matched to the one before by a translation,
// searched coarse to fine on a gray pyramid (1/8 size: within
// +/- FUSION_SEARCH_RANGE pixels of full size, then +/- 1 at each finer
// level); the shifts add up, so a series may drift further in all. Rotation
// and scale are not followed (a microscope on a stand gives neither).
//
// Choice: the focus measure is the squared Laplacian of the luma, summed
// over a (2 FUSION_MEASURE_RADIUS + 1)^2 window; each pixel of the fused
// picture comes from the frame whose measure there is the highest so far. The
// window keeps the choice from following noise, and flat areas, where every
// frame measures alike, keep the first frame that showed them.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

enum { FUSION_SEARCH_RANGE = 32, FUSION_MEASURE_RADIUS = 4, FUSION_LEVELS = 4 };

struct GrayLevel {
    int width = 0, height = 0;
    std::vector<uint8_t> pixels;
};

struct Fusion {
    int width = 0, height = 0;
    int frames = 0;              // fused so far
    int offsetX = 0, offsetY = 0; // the last frame's content lies this far right and down of the first's
    std::vector<uint8_t> picture; // the fused picture: BGR rows of width * 3 bytes, top-down
    std::vector<uint32_t> best;  // the measure of the frame each pixel comes from
    GrayLevel levels[FUSION_LEVELS], previous[FUSION_LEVELS];
    std::vector<uint32_t> measure, columns; // the frame's measure; the window's column sums
};

// Starts a series of frames of width x height (each at least 16).
void Fusion_Begin(Fusion *fusion, int width, int height);
// Aligns a frame (BGR rows top-down, `stride` bytes apart, which may be
// negative for a bottom-up picture) to the one before and fuses it.
void Fusion_Add(Fusion *fusion, const uint8_t *bgr, ptrdiff_t stride);
// The translation (dx, dy) that best matches `frame` to `previous`: the
// content of previous at (x, y) lies at (x + dx, y + dy) in frame.
void Fusion_Match(const GrayLevel previous[FUSION_LEVELS], const GrayLevel frame[FUSION_LEVELS], int *dx, int *dy);
// Frees everything.
void Fusion_End(Fusion *fusion);
