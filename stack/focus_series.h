// How the Focus stack window takes the frames of a series: which frames it
// keeps while the user turns the focus, the positions it drives a focus
// control through, and where the fused picture is saved.
#pragma once
#include "base/clock.h"
#include <cstddef>
#include <cstdint>

enum { SERIES_MIN_STEPS = 2, SERIES_MAX_STEPS = 200, SERIES_DEFAULT_STEPS = 10 };

// The sharpness of a frame (BGR rows, `stride` bytes apart): the variance of
// the Laplacian of its luma, over every second row and column.
double Series_Sharpness(const uint8_t *bgr, int width, int height, ptrdiff_t stride);

// Automatic keeping: a frame is kept when its sharpness differs from the last
// kept frame's by at least a tenth (the focus has moved on) or none was kept.
bool Series_Keep(bool anyKept, double keptSharpness, double sharpness);

// Position i (0 ... steps - 1) of a drive from `from` to `to` in `steps`
// frames, both ends included, rounded to whole steps of the control.
int32_t Series_FocusAt(int32_t from, int32_t to, int32_t steps, int32_t i);

// "<folder>\Focus stacks": the folder of fused pictures and series.
bool Series_Folder(wchar_t *path, size_t capacity, const wchar_t *imageFolder);
// "<folder>\YYYYMMDD-hhmmss-stack.tif" (the fused picture) or, with
// frame >= 1, "<folder>\YYYYMMDD-hhmmss\frame-NNN.tif" (a frame of the series,
// in a subfolder of its own).
bool Series_FileName(wchar_t *path, size_t capacity, const wchar_t *folder, const LocalTime &time, int frame);
bool Series_FrameFolder(wchar_t *path, size_t capacity, const wchar_t *folder, const LocalTime &time);
