// Points, rectangles and bitmap headers with the layouts of the platform's
// POINT, RECT and BITMAPINFOHEADER, for the portable code.
#pragma once
#include <cstdint>

struct Point {
    int32_t x, y;
};

inline bool operator==(const Point &a, const Point &b)
{
    return a.x == b.x && a.y == b.y;
}

struct Rect {
    int32_t left, top, right, bottom;
};

// PtInRect semantics: left and top inclusive, right and bottom exclusive.
inline bool Rect_Contains(const Rect &r, int32_t x, int32_t y)
{
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

inline bool operator==(const Rect &a, const Rect &b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

struct BitmapHeader {
    uint32_t biSize;
    int32_t biWidth;
    int32_t biHeight;
    uint16_t biPlanes;
    uint16_t biBitCount;
    uint32_t biCompression;
    uint32_t biSizeImage;
    int32_t biXPelsPerMeter;
    int32_t biYPelsPerMeter;
    uint32_t biClrUsed;
    uint32_t biClrImportant;
};
static_assert(sizeof(BitmapHeader) == 40, "BITMAPINFOHEADER layout");

struct BitmapInfo {
    BitmapHeader bmiHeader;
    uint32_t bmiColors[1];
};
