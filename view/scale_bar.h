// The scale bar: a bar of a round length in the picture's bottom-right
// corner, with its length written above it, drawn in picture pixels so that
// it zooms with the picture and lands in snapshots and reports.
#pragma once
#include <cstdint>

struct ScaleBar {
    double micrometres; // its length
    int pixels;         // its length in picture pixels, rounded
};

// The largest length of the 1-2-5 series (..., 100, 200, 500 um, 1, 2, 5 mm,
// ...) that is at most a fifth of the picture's width at the calibration
// (pixels per unit; unit 0 millimetres, else micrometres). False without a
// calibration or for a bar shorter than a pixel.
bool ScaleBar_Choose(int imageWidth, double pixelsPerUnit, int32_t unitIndex, ScaleBar *bar);

// Draws the bar of the view's calibration while gView.showScaleBar is set:
// a backing in the colour that contrasts with the line colour, the bar in
// the line colour and its length ("5 mm", "200 \u03BCm") in the label font.
void View_DrawScaleBar();
