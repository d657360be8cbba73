#include "view/drawing.h"

#include "view/labels.h"
#include "view/overlays.h"
#include "view/scale_bar.h"
#include "view/view_platform.h"
#include "view/view_state.h"
#include "view/viewport.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

Rect View_HandleRect(int x, int y)
{
    int half = View_ScreenToImagePixels(5);
    return {std::max(x - half, 0), std::max(y - half, 0), std::min(x + half, gView.imageWidth),
            std::min(y + half, gView.imageHeight)};
}

static void DrawHandle(int x, int y, bool filled)
{
    Rect r = View_HandleRect(x, y);
    if (filled)
        Canvas_FillRect(r);
    else
        Canvas_FrameRect(r);
}

void View_DrawLabel(const wchar_t *text, int x, int y)
{
    TextSize size = Canvas_TextSize(text, FONT_LABEL);
    Canvas_Text(text, Label_Box(x, y, size.width, size.height, gView.imageWidth, gView.imageHeight),
                FONT_LABEL);
}

static void DrawLabels(const wchar_t lines[3][LABEL_CAPACITY], int count, int x, int y)
{
    if (count == 1) {
        View_DrawLabel(lines[0], x, y);
        return;
    }
    TextSize sizes[3];
    Rect boxes[3];
    for (int i = 0; i < count; i++)
        sizes[i] = Canvas_TextSize(lines[i], FONT_LABEL);
    Label_Boxes(x, y, sizes, count, gView.imageWidth, gView.imageHeight, boxes);
    for (int i = 0; i < count; i++)
        Canvas_Text(lines[i], boxes[i], FONT_LABEL);
}

static void DrawItemLabels(const MeasureItem &item, int x, int y)
{
    wchar_t lines[3][LABEL_CAPACITY];
    int count = MeasureItem_Labels(item, lines);
    if (count > 0)
        DrawLabels(lines, count, x, y);
}

static void DrawEndTicks(int x1, int y1, int x2, int y2, int a)
{
    if (x1 == x2) {
        Canvas_Line(PEN_THIN, x1 - a, y1, x1 + a, y1);
        Canvas_Line(PEN_THIN, x2 - a, y2, x2 + a, y2);
    } else if (y1 == y2) {
        Canvas_Line(PEN_THIN, x1, y1 - a, x1, y1 + a);
        Canvas_Line(PEN_THIN, x2, y2 - a, x2, y2 + a);
    } else {
        double theta = std::atan2((double)(y2 - y1), (double)(x2 - x1));
        int s = (int)(std::sin(theta) * a), c = (int)(std::cos(theta) * a);
        Canvas_Line(PEN_THIN, x1 - s, y1 + c, x1 + s, y1 - c);
        Canvas_Line(PEN_THIN, x2 - s, y2 + c, x2 + s, y2 - c);
    }
}

// Connector from p3 to the base and the parallel through p3.
static void DrawDistanceLines(const MeasureItem &it)
{
    if (it.y1 == it.y2) {
        int k = std::abs(it.x2 - it.x1) / 2;
        Canvas_Line(PEN_ITEM, it.x3, it.y3, it.x3, it.y1);
        Canvas_Line(PEN_ITEM, it.x3 - k, it.y3, it.x3 + k, it.y3);
    } else if (it.x1 == it.x2) {
        int k = std::abs(it.y2 - it.y1) / 2;
        Canvas_Line(PEN_ITEM, it.x3, it.y3, it.x1, it.y3);
        Canvas_Line(PEN_ITEM, it.x3, it.y3 - k, it.x3, it.y3 + k);
    } else {
        Point foot = MeasureItem_PerpendicularFoot(it);
        Canvas_Line(PEN_THIN, it.x3, it.y3, foot.x, foot.y);
        double dx = it.x2 - it.x1, dy = it.y2 - it.y1;
        double length = std::sqrt(dx * dx + dy * dy), theta = std::atan2(dy, dx);
        int ox = (int)(std::cos(theta) * length * 0.5), oy = (int)(std::sin(theta) * length * 0.5);
        Canvas_Line(PEN_ITEM, it.x3 - ox, it.y3 - oy, it.x3 + ox, it.y3 + oy);
    }
}

static void DrawRectangle(const MeasureItem &it)
{
    Rect r = {std::min(it.x1, it.x2), std::min(it.y1, it.y2), std::max(it.x1, it.x2),
              std::max(it.y1, it.y2)};
    Canvas_FrameRect(r);
    if (gView.lineWidth > 1) // never thicker than two frames
        Canvas_FrameRect({r.left + 1, r.top + 1, r.right - 1, r.bottom - 1});
    DrawItemLabels(it, r.left, r.top);
}

static void DrawCircle(const MeasureItem &it)
{
    int r = MeasureItem_CircleRadius(it);
    Canvas_Line(PEN_ITEM, it.x1, it.y1, it.x2, it.y2);
    Canvas_Circle(PEN_ITEM, it.x1 - r, it.y1 - r, 2 * r, 2 * r);
    DrawItemLabels(it, it.x1, it.y1);
}

static void DrawFreehand(const MeasureItem &it, bool handles, bool filled)
{
    const std::vector<Point> &p = it.points;
    if (p.size() < 2)
        return;
    if (handles) {
        DrawHandle(p.front().x, p.front().y, filled);
        DrawHandle(p.back().x, p.back().y, filled);
    }
    Canvas_Polyline(PEN_ITEM, p.data(), (int)p.size());
}

static void DrawTextItem(const MeasureItem &it, bool outlined)
{
    const wchar_t *text = it.text[0] ? it.text : gView.textPrompt;
    TextSize size = Canvas_TextSize(text, FONT_LABEL);
    Rect box = {it.x1 + 2, it.y1 + 2, it.x1 + size.width + 4, it.y1 + size.height + 4};
    if (outlined)
        Canvas_FrameRect(box);
    Canvas_Text(text, box, FONT_LABEL);
}

// Handles at p1, p2 (and p3 when count is 3).
static void DrawHandles(const MeasureItem &it, int count, bool filled)
{
    const Point points[3] = {{it.x1, it.y1}, {it.x2, it.y2}, {it.x3, it.y3}};
    for (int i = 0; i < count; i++)
        DrawHandle(points[i].x, points[i].y, filled);
}

void View_DrawFigure(int kind, const MeasureItem &it, bool selected, bool hovered, bool pending)
{
    bool handles = !pending && (selected || hovered);
    bool placed = it.x3 >= 0 && it.y3 >= 0;
    switch (kind) {
    case ITEM_LINE:
        if (handles)
            DrawHandles(it, 2, selected);
        Canvas_Line(PEN_ITEM, it.x1, it.y1, it.x2, it.y2);
        DrawEndTicks(it.x1, it.y1, it.x2, it.y2, pending ? 32 : 12);
        DrawItemLabels(it, it.x1, it.y1);
        break;
    case ITEM_POINT_LINE:
        if (handles)
            DrawHandles(it, 3, selected);
        Canvas_Line(PEN_ITEM, it.x1, it.y1, it.x2, it.y2);
        if (placed) {
            DrawDistanceLines(it);
            DrawItemLabels(it, it.x3, it.y3);
        }
        break;
    case ITEM_RECTANGLE:
        if (handles) {
            DrawHandles(it, 2, selected);
            DrawHandle(it.x1, it.y2, selected);
            DrawHandle(it.x2, it.y1, selected);
        }
        DrawRectangle(it);
        break;
    case ITEM_CIRCLE:
        DrawHandle(it.x1, it.y1, selected); // always, framed unless selected
        if (handles)
            DrawHandle(it.x2, it.y2, selected);
        DrawCircle(it);
        break;
    case ITEM_ANGLE:
        if (handles)
            DrawHandles(it, 3, selected);
        Canvas_Line(PEN_ITEM, it.x1, it.y1, it.x2, it.y2);
        if (placed) {
            Canvas_Line(PEN_ITEM, it.x1, it.y1, it.x3, it.y3);
            DrawItemLabels(it, it.x1, it.y1);
        }
        break;
    case ITEM_FREEHAND:
        DrawFreehand(it, handles, selected);
        break;
    case ITEM_TEXT:
        DrawTextItem(it, pending || selected || hovered);
        break;
    }
}

// Each measuring item's number beside its first point (the report's
// position), as the reports number their lines.
static void DrawItemNumbers()
{
    int number = 1;
    for (const MeasureItem &item : gView.items) {
        if (!MeasureItem_Measures(item))
            continue;
        wchar_t text[LABEL_CAPACITY];
        Label_Format(text, L"", L"", "%d", number++);
        TextSize size = Canvas_TextSize(text, FONT_LABEL);
        Canvas_Text(text, Label_NumberBox(item.x1, item.y1, size.width, size.height), FONT_LABEL);
    }
}

static bool NewItemShown()
{
    return gView.mouseDown || gView.phase == TOOL_POINT_LINE || gView.phase == TOOL_ANGLE || gView.phase == TOOL_TEXT;
}

void View_DrawScene()
{
    if (gView.calibLength != 0) {
        View_DrawCalibrationLine();
        return;
    }
    if (gView.showCross)
        View_DrawCross();
    if (gView.showGrid)
        View_DrawGrid();
    if (gView.showCircles)
        View_DrawCircles();
    View_DrawScaleBar();
    for (size_t i = 0; i < gView.items.size(); i++) {
        const MeasureItem &item = gView.items[i];
        View_DrawFigure(item.kind, item, (int)i == gView.selected, (int)i == gView.hover, false);
    }
    if (gView.showNumbers)
        DrawItemNumbers();
    if (NewItemShown())
        View_DrawFigure(gView.tool, gView.newItem, false, false, true);
}
