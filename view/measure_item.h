// Measurement items: the figures the user lays over the picture, in image
// pixel coordinates.
#pragma once
#include "base/geometry.h"
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

// Geometry and values, in image pixels unless calibrated. Differences are
// integer differences of the stored coordinates.

// Every value is computed in double with the full pi, so that the labels and
// the reports agree to the digits they show.
constexpr double kPi = 3.14159265358979323846;

// The applied calibration's pixels per unit, as the decimal its stored
// 32-bit value stands for (Number_ShortestDecimal): what values divide by.
double MeasureItem_UnitScale();
// Length of p-q.
double MeasureItem_PixelLength(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
// Radius in whole pixels with which a circle item is drawn.
int MeasureItem_CircleRadius(const MeasureItem &item);
// Signed distance of p3 from the line p1-p2 in pixels (kind 2).
double MeasureItem_LineDistancePixels(const MeasureItem &item);
// Foot of the perpendicular from p3 on a base that is neither horizontal
// nor vertical.
Point MeasureItem_PerpendicularFoot(const MeasureItem &item);
// Distance of p3 from the line p1-p2 in the calibration's unit, in pixels
// without one (as the reports give every value); 0 when p3 is not placed.
double MeasureItem_PointLineDistance(const MeasureItem &item);
// The angle at p1 between p2 and p3, in degrees, 0 to 180.
double MeasureItem_Angle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3);

// Whether the item measures something (kinds 1 to 5): only these are
// numbered, from 1 in list order, in the reports and the view; freehand
// strokes and texts use up no number.
bool MeasureItem_Measures(const MeasureItem &item);

// The label lines of an item with the view's calibration; returns how many
// (0: no label, as for kinds 1 to 4 without calibration).
int MeasureItem_Labels(const MeasureItem &item, wchar_t lines[3][LABEL_CAPACITY]);

// What a press takes hold of: a handle that moves one point (its index: 0
// p1, 1 p2, 2 p3, or for rectangles 2 the corner (x1, y2) and 3 the corner
// (x2, y1)), GRAB_WHOLE for the rest of the item (its stroke within 4 screen
// pixels, a circle's centre, a freehand stroke's ends, a text) or GRAB_NONE.
enum { GRAB_NONE = -2, GRAB_WHOLE = -1 };
int MeasureItem_Grab(const MeasureItem &item, int32_t x, int32_t y);
// Moves the point a handle holds (MeasureItem_Grab's index) by (dx, dy).
void MeasureItem_MovePoint(MeasureItem *item, int grab, int32_t dx, int32_t dy);

// The rectangles in which a press grabs the item; text items are measured
// in the label font.
void MeasureItem_UpdateHitRects(MeasureItem *item);
// Whether a press at (x, y) grabs any part of the item.
bool MeasureItem_IsHit(const MeasureItem &item, int32_t x, int32_t y);
// Shifts every point of the item.
void MeasureItem_Shift(MeasureItem *item, int32_t dx, int32_t dy);
