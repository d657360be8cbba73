// The ruler step and the overlays over the picture: centre-cross ruler,
// grid, concentric circles, and the calibration line of calibration mode.
#pragma once

// Chooses the step of 1, 2 or 5 times a power of ten whose length on the
// screen (at the view's zoom) is nearest to 100 pixels, so that ticks, grid
// lines and rings stay apart at every calibration and zoom; zero without
// calibration.
void View_RecomputeRulerStep();
// Pixels from a major tick to minor tick j (1..9) for a major step of S pixels.
int View_MinorTickOffset(int S, int j);

void View_DrawCross();
void View_DrawGrid();
void View_DrawCircles();
// Scrolls a large frame back to its centre, lays the line out on entry,
// draws it with its end bars, length label and hover arrows.
void View_DrawCalibrationLine();
