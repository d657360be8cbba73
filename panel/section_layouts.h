// Where each section's controls go for the section's client width, in the
// order of the section's control table. Sums of dialog units are converted
// term by term, and a row pitch is added once per row.
#pragma once
#include "base/geometry.h"
#include <cstdint>

enum { SOURCE_CONTROLS = 13, COLOR_CONTROLS = 40, FLIP_CONTROLS = 6, REPORT_CONTROLS = 3 };

void Source_Layout(int32_t clientWidth, Rect *rects);
void Color_Layout(int32_t clientWidth, Rect *rects);
void Flip_Layout(int32_t clientWidth, Rect *rects);
void Report_Layout(int32_t clientWidth, Rect *rects);
