#include "view/measure_item.h"

#include "view/labels.h"
#include "view/view_platform.h"
#include "view/view_state.h"

#include <cmath>
#include <cstdlib>

// Differences of coordinates in double: far-apart points overflow 32 bits
// (their squares already beyond 46340 pixels); below that the results are
// the same as in integers.
static double Span(int32_t from, int32_t to)
{
    return (double)to - from;
}

float MeasureItem_PixelLength(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    double dx = Span(x1, x2), dy = Span(y1, y2);
    if (dx == 0)
        return (float)std::fabs(dy);
    if (dy == 0)
        return (float)std::fabs(dx);
    return (float)std::sqrt((double)(float)(dx * dx + dy * dy));
}

int MeasureItem_CircleRadius(const MeasureItem &item)
{
    return (int)(MeasureItem_PixelLength(item.x1, item.y1, item.x2, item.y2) + 0.49);
}

// theta of the base and u of p3, for a base neither horizontal nor vertical.
static void Oblique(const MeasureItem &item, double *theta, double *u)
{
    *theta = std::atan2(Span(item.y1, item.y2), Span(item.x1, item.x2));
    *u = Span(item.x1, item.x3) - Span(item.y1, item.y3) / std::tan(*theta);
}

double MeasureItem_LineDistancePixels(const MeasureItem &item)
{
    if (item.y1 == item.y2)
        return std::fabs(Span(item.y1, item.y3));
    if (item.x1 == item.x2)
        return std::fabs(Span(item.x1, item.x3));
    double theta, u;
    Oblique(item, &theta, &u);
    return std::sin(theta) * u;
}

Point MeasureItem_PerpendicularFoot(const MeasureItem &item)
{
    double theta, u;
    Oblique(item, &theta, &u);
    double w = std::cos(theta) * u + Span(item.y1, item.y3) / std::sin(theta);
    return {item.x1 + (int32_t)(std::cos(theta) * w), item.y1 + (int32_t)(std::sin(theta) * w)};
}

float MeasureItem_PointLineDistance(const MeasureItem &item)
{
    if (item.x3 < 0 || item.y3 < 0 || !(gView.scale > 0)) // no scale, or not a number
        return 0;
    return (float)(std::fabs(MeasureItem_LineDistancePixels(item)) / gView.scale);
}

float MeasureItem_Angle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3)
{
    double a1 = std::atan2(Span(y1, y2), Span(x1, x2));
    double a2 = std::atan2(Span(y1, y3), Span(x1, x3));
    float h = (float)((a1 - a2) * 180 / 3.1415926);
    if (std::fabs(h) < 180)
        return std::fabs(h);
    return h >= 180 ? 360 - h : h + 360;
}

static bool ThirdPointPlaced(const MeasureItem &item)
{
    return item.x3 >= 0 && item.y3 >= 0;
}

static int CalibratedLabels(const MeasureItem &item, wchar_t lines[3][LABEL_CAPACITY])
{
    const float scale = gView.scale;
    const wchar_t *unit = gView.unitText;
    switch (item.kind) {
    case ITEM_LINE: {
        float value = MeasureItem_PixelLength(item.x1, item.y1, item.x2, item.y2) / scale;
        Label_Format(lines[0], unit, L"", "%.5f", value);
        return 1;
    }
    case ITEM_POINT_LINE: {
        if (!ThirdPointPlaced(item))
            return 0;
        float value = std::fabs((float)MeasureItem_LineDistancePixels(item) / scale);
        Label_Format(lines[0], unit, L"", "D:%.5f", value);
        return 1;
    }
    case ITEM_RECTANGLE: {
        float w = (float)std::fabs(Span(item.x1, item.x2)), h = (float)std::fabs(Span(item.y1, item.y2));
        float width = w / scale, height = h / scale;
        Label_Format(lines[0], unit, L"", "%.2fx%.2f", width, height);
        Label_Format(lines[1], unit, L"^2", "S:%.2f", width * height);
        return 2;
    }
    case ITEM_CIRCLE: {
        float radius = MeasureItem_PixelLength(item.x1, item.y1, item.x2, item.y2) / scale;
        float circumference = radius * 2.0f * 3.14159f;
        float area = radius * radius * 3.14159f;
        Label_Format(lines[0], unit, L"", "R:%.5f", radius);
        Label_Format(lines[1], unit, L"", "C:%.5f", circumference);
        Label_Format(lines[2], unit, L"^2", "S:%.5f", area);
        return 3;
    }
    }
    return 0;
}

int MeasureItem_Labels(const MeasureItem &item, wchar_t lines[3][LABEL_CAPACITY])
{
    if (item.kind == ITEM_ANGLE) {
        if (!ThirdPointPlaced(item))
            return 0;
        float degrees = MeasureItem_Angle(item.x1, item.y1, item.x2, item.y2, item.x3, item.y3);
        Label_Format(lines[0], L"\u00b0", L"", "%.3f", degrees);
        return 1;
    }
    if (!(gView.scale > 0))
        return 0;
    return CalibratedLabels(item, lines);
}

static Rect Box(int32_t x, int32_t y, int32_t half)
{
    return {x - half, y - half, x + half, y + half};
}

void MeasureItem_UpdateHitRects(MeasureItem *item)
{
    Rect *r = item->hitRects;
    r[0] = r[1] = r[2] = r[3] = Rect{0, 0, 0, 0};
    switch (item->kind) {
    case ITEM_LINE:
    case ITEM_CIRCLE:
        r[0] = Box(item->x1, item->y1, 5);
        r[1] = Box(item->x2, item->y2, 5);
        break;
    case ITEM_POINT_LINE:
    case ITEM_ANGLE:
        r[0] = Box(item->x1, item->y1, 5);
        r[1] = Box(item->x2, item->y2, 5);
        r[2] = Box(item->x3, item->y3, 4);
        break;
    case ITEM_RECTANGLE:
        r[0] = Box(item->x1, item->y1, 5);
        r[1] = Box(item->x2, item->y2, 5);
        r[2] = Box(item->x1, item->y2, 5);
        r[3] = Box(item->x2, item->y1, 5);
        break;
    case ITEM_FREEHAND:
        if (item->points.size() >= 2) {
            r[0] = Box(item->points.front().x, item->points.front().y, 5);
            r[1] = Box(item->points.back().x, item->points.back().y, 5);
        }
        break;
    case ITEM_TEXT: {
        TextSize size = Canvas_TextSize(item->text[0] ? item->text : gView.textPrompt, FONT_LABEL);
        r[0] = {item->x1, item->y1, item->x1 + size.width + 4, item->y1 + size.height + 4};
        break;
    }
    }
}

bool MeasureItem_IsHit(const MeasureItem &item, int32_t x, int32_t y)
{
    for (const Rect &r : item.hitRects)
        if (Rect_Contains(r, x, y))
            return true;
    return false;
}

void MeasureItem_Shift(MeasureItem *item, int32_t dx, int32_t dy)
{
    switch (item->kind) {
    case ITEM_POINT_LINE:
    case ITEM_ANGLE:
        item->x3 += dx;
        item->y3 += dy;
        [[fallthrough]];
    case ITEM_LINE:
    case ITEM_RECTANGLE:
    case ITEM_CIRCLE:
        item->x2 += dx;
        item->y2 += dy;
        [[fallthrough]];
    case ITEM_TEXT:
        item->x1 += dx;
        item->y1 += dy;
        break;
    case ITEM_FREEHAND:
        for (Point &p : item->points) {
            p.x += dx;
            p.y += dy;
        }
        break;
    }
}
