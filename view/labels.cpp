#include "view/labels.h"

#include "base/text.h"
#include "state/calibrations.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>

void Label_Format(wchar_t *label, const wchar_t *unit, const wchar_t *tail, const char *format, ...)
{
    char digits[LABEL_CAPACITY];
    va_list args;
    va_start(args, format);
    vsnprintf(digits, sizeof digits, format, args);
    va_end(args);
    size_t i = 0;
    for (; digits[i]; i++)
        label[i] = (unsigned char)digits[i];
    label[i] = 0;
    Text_Append(label, LABEL_CAPACITY, unit);
    Text_Append(label, LABEL_CAPACITY, tail);
}

void Label_ScaleText(wchar_t *label, double stepValue, int32_t unitIndex)
{
    Label_LengthText(label, unitIndex == 0 ? stepValue * 1000 : stepValue, L"");
}

void Label_LengthText(wchar_t *label, double micrometres, const wchar_t *space)
{
    bool millimetres = micrometres >= 1000 * (1 - 1e-6);
    double value = millimetres ? micrometres / 1000 : micrometres;
    // As many decimals as a step below 1 needs (0.5, 0.02), none from 1 on.
    int decimals = value >= 1 - 1e-6 ? 0 : std::min(9, (int)std::ceil(-std::log10(value) - 1e-6));
    Label_Format(label, space, L"", "%.*f", decimals, value);
    Text_Append(label, LABEL_CAPACITY, Unit_Name(millimetres ? 0 : 1));
}

Rect Label_Box(int x, int y, int width, int height, int W, int H)
{
    Rect box = {x + 2, y + 2, x + 2 + width, y + 2 + height};
    if (box.right > W) {
        box.right = x - 2;
        box.left = x - 2 - width;
    }
    if (box.bottom > H) {
        box.bottom = y - 2;
        box.top = y - 2 - height;
    }
    return box;
}

Rect Label_NumberBox(int x, int y, int width, int height)
{
    Rect box = {x - 2 - width, y - 2 - height, x - 2, y - 2};
    if (box.left < 0) {
        box.left = x + 2;
        box.right = x + 2 + width;
    }
    if (box.top < 0) {
        box.top = y + 2;
        box.bottom = y + 2 + height;
    }
    return box;
}

void Label_Boxes(int x, int y, const TextSize *sizes, int count, int W, int H, Rect *boxes)
{
    int widest = 0, stack = sizes[0].height;
    for (int i = 0; i < count; i++) {
        widest = std::max(widest, sizes[i].width);
        if (i > 0)
            stack += sizes[i].height + 1;
    }
    bool flipX = x + 2 + widest > W;
    bool flipY = y + 2 + stack > H;
    int top = flipY ? y - 2 : y + 2; // flipped: the bottom of the first line
    for (int i = 0; i < count; i++) {
        int left = flipX ? x - 2 - sizes[i].width : x + 2;
        if (flipY)
            top -= sizes[i].height;
        boxes[i] = {left, top, left + sizes[i].width, top + sizes[i].height};
        if (!flipY)
            top += sizes[i].height;
    }
}
