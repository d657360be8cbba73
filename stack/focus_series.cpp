#include "stack/focus_series.h"
#include "base/text.h"

#include <cmath>

double Series_Sharpness(const uint8_t *bgr, int width, int height, ptrdiff_t stride)
{
    auto luma = [&](int x, int y) {
        const uint8_t *p = bgr + y * stride + (ptrdiff_t)x * 3;
        return (29 * p[0] + 150 * p[1] + 77 * p[2]) >> 8;
    };
    double sum = 0, squares = 0;
    int64_t count = 0;
    for (int y = 1; y < height - 1; y += 2)
        for (int x = 1; x < width - 1; x += 2) {
            int l = 4 * luma(x, y) - luma(x - 1, y) - luma(x + 1, y) - luma(x, y - 1) - luma(x, y + 1);
            sum += l, squares += (double)l * l, count++;
        }
    if (count == 0)
        return 0;
    double mean = sum / (double)count;
    return squares / (double)count - mean * mean;
}

bool Series_Keep(bool anyKept, double keptSharpness, double sharpness)
{
    return !anyKept || std::fabs(sharpness - keptSharpness) >= 0.1 * keptSharpness;
}

int32_t Series_FocusAt(int32_t from, int32_t to, int32_t steps, int32_t i)
{
    if (steps < 2)
        return from;
    return from + (int32_t)std::lround((double)(to - from) * i / (steps - 1));
}

bool Series_Folder(wchar_t *path, size_t capacity, const wchar_t *imageFolder)
{
    return Text_Format(path, capacity, L"%ls\\Focus stacks", imageFolder);
}

bool Series_FrameFolder(wchar_t *path, size_t capacity, const wchar_t *folder, const LocalTime &t)
{
    return Text_Format(path, capacity, L"%ls\\%d%02d%02d-%02d%02d%02d", folder, t.year, t.month, t.day, t.hour,
                       t.minute, t.second);
}

bool Series_FileName(wchar_t *path, size_t capacity, const wchar_t *folder, const LocalTime &t, int frame)
{
    wchar_t series[1024];
    if (!Series_FrameFolder(series, 1024, folder, t))
        return false;
    if (frame < 1)
        return Text_Format(path, capacity, L"%ls-stack.tif", series);
    return Text_Format(path, capacity, L"%ls\\frame-%03d.tif", series, frame);
}
