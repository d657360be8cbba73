// Drawing the measurement items into the back buffer (image pixels), and
// everything a composition draws over the frame, in order.
#pragma once
#include "view/measure_item.h"

// The overlays and items of one composition: in calibration mode only the
// calibration line; otherwise the cross ruler, grid and circles (zoom 100
// only), the committed items, their numbers when shown, then the item being
// drawn.
void View_DrawScene();

// One figure of the given kind from the item's points. Committed items show
// handles when selected or hovered (filled when selected); the item being
// drawn (pending) shows none but the circle's centre, has long end ticks and
// always outlines its text box.
void View_DrawFigure(int kind, const MeasureItem &item, bool selected, bool hovered, bool pending);

// The handle square at (x, y), kept inside the image.
Rect View_HandleRect(int x, int y);
// A single-line label at its anchor, in the label font.
void View_DrawLabel(const wchar_t *text, int x, int y);
