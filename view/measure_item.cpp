#include "view/measure_item.h"

#include "base/numbers.h"
#include "view/labels.h"
#include "view/view_platform.h"
#include "view/view_state.h"
#include "view/viewport.h"

#include <cmath>
#include <cstdlib>

// Differences of coordinates in double: far-apart points overflow 32 bits
// (their squares already beyond 46340 pixels); below that the results are
// the same as in integers.
static double Span(int32_t from, int32_t to)
{
    return (double)to - from;
}

double MeasureItem_PixelLength(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    return std::hypot(Span(x1, x2), Span(y1, y2));
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

double MeasureItem_UnitScale()
{
    // The labels of every item ask at each composition: the last answer is kept.
    static float known;
    static double decimal;
    if (gView.scale != known) {
        known = gView.scale;
        decimal = Number_ShortestDecimal(known);
    }
    return decimal;
}

double MeasureItem_PointLineDistance(const MeasureItem &item)
{
    if (item.x3 < 0 || item.y3 < 0)
        return 0;
    double pixels = std::fabs(MeasureItem_LineDistancePixels(item));
    return gView.scale > 0 ? pixels / MeasureItem_UnitScale() : pixels; // pixels also for a NaN scale
}

double MeasureItem_Angle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3)
{
    double a1 = std::atan2(Span(y1, y2), Span(x1, x2));
    double a2 = std::atan2(Span(y1, y3), Span(x1, x3));
    double h = (a1 - a2) * 180 / kPi;
    if (std::fabs(h) < 180)
        return std::fabs(h);
    return h >= 180 ? 360 - h : h + 360;
}

bool MeasureItem_Measures(const MeasureItem &item)
{
    return item.kind >= ITEM_LINE && item.kind <= ITEM_ANGLE;
}

static bool ThirdPointPlaced(const MeasureItem &item)
{
    return item.x3 >= 0 && item.y3 >= 0;
}

static int CalibratedLabels(const MeasureItem &item, wchar_t lines[3][LABEL_CAPACITY])
{
    const double scale = MeasureItem_UnitScale();
    const wchar_t *unit = gView.unitText;
    switch (item.kind) {
    case ITEM_LINE: {
        double value = MeasureItem_PixelLength(item.x1, item.y1, item.x2, item.y2) / scale;
        Label_Format(lines[0], unit, L"", "%.5f", value);
        return 1;
    }
    case ITEM_POINT_LINE: {
        if (!ThirdPointPlaced(item))
            return 0;
        double value = std::fabs(MeasureItem_LineDistancePixels(item) / scale);
        Label_Format(lines[0], unit, L"", "D:%.5f", value);
        return 1;
    }
    case ITEM_RECTANGLE: {
        double width = std::fabs(Span(item.x1, item.x2)) / scale, height = std::fabs(Span(item.y1, item.y2)) / scale;
        Label_Format(lines[0], unit, L"", "%.2fx%.2f", width, height);
        Label_Format(lines[1], unit, L"^2", "S:%.2f", width * height);
        return 2;
    }
    case ITEM_CIRCLE: {
        double radius = MeasureItem_PixelLength(item.x1, item.y1, item.x2, item.y2) / scale;
        double circumference = 2 * kPi * radius;
        double area = kPi * radius * radius;
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
        double degrees = MeasureItem_Angle(item.x1, item.y1, item.x2, item.y2, item.x3, item.y3);
        Label_Format(lines[0], L"\u00b0", L"", "%.3f", degrees);
        return 1;
    }
    if (!(gView.scale > 0))
        return 0;
    return CalibratedLabels(item, lines);
}

// A grab box of half its side on the screen around an image point.
static Rect Box(int32_t x, int32_t y, int32_t screenHalf)
{
    int32_t half = View_ScreenToImagePixels(screenHalf);
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

// Distance of p from the segment a-b, in image pixels.
static double SegmentDistance(const Point &p, const Point &a, const Point &b)
{
    double dx = Span(a.x, b.x), dy = Span(a.y, b.y), length2 = dx * dx + dy * dy;
    double t = length2 > 0 ? (Span(a.x, p.x) * dx + Span(a.y, p.y) * dy) / length2 : 0;
    t = t < 0 ? 0 : t > 1 ? 1 : t;
    return std::hypot(Span(a.x, p.x) - t * dx, Span(a.y, p.y) - t * dy);
}

// Whether p lies on the item's stroke, within the tolerance.
static bool OnStroke(const MeasureItem &it, const Point &p, double tolerance)
{
    const Point p1 = {it.x1, it.y1}, p2 = {it.x2, it.y2}, p3 = {it.x3, it.y3};
    switch (it.kind) {
    case ITEM_LINE:
    case ITEM_POINT_LINE:
        return SegmentDistance(p, p1, p2) <= tolerance;
    case ITEM_ANGLE:
        return SegmentDistance(p, p1, p2) <= tolerance || (ThirdPointPlaced(it) && SegmentDistance(p, p1, p3) <= tolerance);
    case ITEM_RECTANGLE: {
        const Point c1 = {it.x1, it.y2}, c2 = {it.x2, it.y1};
        return SegmentDistance(p, p1, c1) <= tolerance || SegmentDistance(p, c1, p2) <= tolerance ||
               SegmentDistance(p, p2, c2) <= tolerance || SegmentDistance(p, c2, p1) <= tolerance;
    }
    case ITEM_CIRCLE:
        return std::fabs(MeasureItem_PixelLength(it.x1, it.y1, p.x, p.y) - MeasureItem_CircleRadius(it)) <= tolerance;
    case ITEM_FREEHAND:
        for (size_t i = 1; i < it.points.size(); i++)
            if (SegmentDistance(p, it.points[i - 1], it.points[i]) <= tolerance)
                return true;
        return false;
    }
    return false;
}

// Whether a handle of this kind moves its point alone.
static bool MovesOnePoint(int kind, int handle)
{
    switch (kind) {
    case ITEM_LINE:
    case ITEM_POINT_LINE:
    case ITEM_RECTANGLE:
    case ITEM_ANGLE:
        return true;
    case ITEM_CIRCLE:
        return handle == 1; // the radius point; the centre moves the circle
    }
    return false;
}

int MeasureItem_Grab(const MeasureItem &item, int32_t x, int32_t y)
{
    for (int i = 0; i < 4; i++)
        if (Rect_Contains(item.hitRects[i], x, y))
            return MovesOnePoint(item.kind, i) ? i : GRAB_WHOLE;
    return OnStroke(item, {x, y}, View_ScreenToImagePixels(4)) ? GRAB_WHOLE : GRAB_NONE;
}

bool MeasureItem_IsHit(const MeasureItem &item, int32_t x, int32_t y)
{
    return MeasureItem_Grab(item, x, y) != GRAB_NONE;
}

void MeasureItem_MovePoint(MeasureItem *item, int grab, int32_t dx, int32_t dy)
{
    bool rectangle = item->kind == ITEM_RECTANGLE;
    int32_t *x = grab == 0 || (rectangle && grab == 2) ? &item->x1 : grab == 1 || (rectangle && grab == 3) ? &item->x2 : &item->x3;
    int32_t *y = grab == 0 || (rectangle && grab == 3) ? &item->y1 : grab == 1 || (rectangle && grab == 2) ? &item->y2 : &item->y3;
    *x += dx;
    *y += dy;
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
