#include "view/labels.h"

#include "base/text.h"

#include <algorithm>
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

void Label_ScaleText(wchar_t *label, float stepValue, const wchar_t *unit)
{
    if (stepValue >= 0.1)
        Label_Format(label, unit, L"", "%.1f", stepValue + 0.01);
    else if (stepValue >= 0.01)
        Label_Format(label, unit, L"", "%.2f", stepValue + 0.001);
    else
        Label_Format(label, unit, L"", "%.3f", stepValue + 0.0001);
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
