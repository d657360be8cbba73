// Depth under the virtual microscope: the focus position and, on request
// (Rig_ShowRelief), a relief of textured parts that lie above and below the
// ruler. Whatever lies away from the focus position is blurred by a Gaussian
// whose radius grows with the distance, so a series through the focus range
// has each part sharp in one frame and no frame sharp everywhere.
//
// Portable (no Windows header): the host tests build their focus series with
// the same geometry and the same blur as the rig's picture.
//
// Focus positions and depths are in steps of the focus control, 0 ... 200.
// The ruler (and the paper, the corner marks, the moving mark) lies at depth
// 100, the focus control's default, so at the default focus the picture is
// as sharp as it always was. Blur: sigma = p * |focus - depth| / 100 pixels
// with p = width / 32 pixels per millimetre (a distance of 20 steps blurs
// with sigma 4 pixels at 640 x 480 and 8 at 1280 x 720).
//
// The relief: RIG_RELIEF_PARTS squares in a row below the moving mark, part k
// at depth kReliefDepth[k], rows H/2 + 3p .. H/2 + 8p - 1, columns
// (2 + 7k) p .. (7 + 7k) p - 1, a checkerboard of max(2, p / 5) pixel cells.
#pragma once
#include <cstdint>

enum { RIG_FOCUS_MIN = 0, RIG_FOCUS_MAX = 200, RIG_FOCUS_DEFAULT = 100, RIG_RULER_DEPTH = 100 };
enum { RIG_RELIEF_PARTS = 4 };
inline constexpr int kReliefDepth[RIG_RELIEF_PARTS] = {40, 80, 140, 180};

struct DepthRect {
    int x0, y0, x1, y1; // x1, y1 exclusive
};

DepthRect Depth_Part(int width, int height, int k);
double Depth_Sigma(int width, int focus, int depth);

// Paints part k's checkerboard into a BGR picture of width x height with
// rows of width * 3 bytes; light and dark are B, G, R.
void Depth_PaintPart(uint8_t *bgr, int width, int height, int k, const uint8_t light[3], const uint8_t dark[3]);

// Blurs the rectangle `area` of the picture in place with a Gaussian of
// `sigma` pixels (three box passes each way), reading beyond its edges as
// its edge pixels; sigma below 0.5 leaves it as it is.
void Depth_Blur(uint8_t *bgr, int width, int height, DepthRect area, double sigma);

// The picture at a focus position: the ruler's layer blurred by its distance,
// then each part painted by `paint` and blurred by its own, over its square
// and a margin of three sigmas around it, at most p (half the gap between
// two parts).
typedef void (*DepthPaintPart)(void *context, uint8_t *bgr, int width, int height, int k);
void Depth_Focus(uint8_t *bgr, int width, int height, int focus, bool relief, DepthPaintPart paint, void *context);
