// Label texts and where label boxes go relative to their anchor.
#pragma once
#include "base/geometry.h"
#include "view/measure_item.h"
#include "view/view_platform.h"

// Formats the numbers with a printf format into 8-bit text (the same digits
// on every platform), then writes it widened, followed by unit and tail, into
// a label buffer of LABEL_CAPACITY characters.
void Label_Format(wchar_t *label, const wchar_t *unit, const wchar_t *tail, const char *format, ...);

// The overlays' scale label for a ruler step of the 1-2-5 series in the
// calibration's unit (0 millimetres, else micrometres): in micrometres
// below 1 mm, in millimetres from 1 mm on ("200μm", "5mm", "0.5μm").
void Label_ScaleText(wchar_t *label, double stepValue, int32_t unitIndex);
// A length in micrometres written as those labels are, with the space
// between the number and the unit ("5 mm" for the scale bar).
void Label_LengthText(wchar_t *label, double micrometres, const wchar_t *space);

// The box of a single-line label of size (width, height) at the anchor (x, y):
// right of and below the anchor, moved left or up where it would cross the
// right or bottom edge of the W x H image.
Rect Label_Box(int x, int y, int width, int height, int W, int H);

// The box of an item number of size (width, height) beside the anchor (x, y):
// left of and above it, clear of the labels that go right and below; moved
// right or down where it would cross the left or top edge.
Rect Label_NumberBox(int x, int y, int width, int height);

// The boxes of a label of count (2 or 3) lines: left-aligned at x + 2 or,
// crossing the right edge, right-aligned at x - 2; stacked down from y + 2
// or, crossing the bottom, up from y - 2 with the first line nearest.
void Label_Boxes(int x, int y, const TextSize *sizes, int count, int W, int H, Rect *boxes);
