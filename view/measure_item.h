// Measurement items: the figures the user lays over the picture, in image
// pixel coordinates.
#pragma once
#include "app/geometry.h"
#include <cstdint>
#include <vector>

enum ItemKind {
    ITEM_LINE = 1,
    ITEM_POINT_LINE = 2, // point-to-line distance
    ITEM_RECTANGLE = 3,
    ITEM_CIRCLE = 4,
    ITEM_ANGLE = 5,
    ITEM_FREEHAND = 11,
    ITEM_TEXT = 12,
};

enum { ITEM_TEXT_CAPACITY = 256, LABEL_CAPACITY = 64 };

struct MeasureItem {
    int32_t kind;
    int32_t x1, y1;
    int32_t x2, y2;
    int32_t x3, y3; // kinds 2 and 5; x3 is -1 until the third point is placed
    std::vector<Point> points; // freehand stroke
    wchar_t text[ITEM_TEXT_CAPACITY];
    Rect hitRects[4];
};
