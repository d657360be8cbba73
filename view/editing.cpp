#include "view/editing.h"

#include "base/commands.h"
#include "view/items.h"
#include "view/view_platform.h"
#include "view/view_state.h"
#include "view/viewport.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

enum { KEY_BACKSPACE = 8, KEY_SPACE = 32, KEY_DELETE = 46, KEY_F = 'F' };

static bool MapPoint(Point *out, int x, int y)
{
    return View_MapPoint(out, View_ClientRect(), x, y);
}

// The grab box of a calibration-line end at x: 4 x 120 pixels on the screen.
static bool OnCalibrationEnd(int x, const Point &p)
{
    int cy = gView.imageHeight / 2, halfWidth = View_ScreenToImagePixels(2), halfHeight = View_ScreenToImagePixels(60);
    return Rect_Contains({x - halfWidth, cy - halfHeight, x + halfWidth, cy + halfHeight}, p.x, p.y);
}

static bool IsItemTool(int tool)
{
    return (tool >= TOOL_LINE && tool <= TOOL_ANGLE) || tool == TOOL_FREEHAND;
}

static void StartNewItem()
{
    MeasureItem &item = gView.newItem;
    item.kind = gView.tool;
    item.x1 = item.x2 = gView.newPoint.x;
    item.y1 = item.y2 = gView.newPoint.y;
    item.points.clear();
    item.x3 = -1;
    item.text[0] = 0;
    if (gView.tool == TOOL_FREEHAND)
        item.points.push_back(gView.newPoint);
    gView.phase = 0;
    View_Invalidate(false);
}

static void PressWithPointer(int x, int y)
{
    if (!MapPoint(&gView.lastPoint, x, y))
        return;
    int hit = View_HitTest(gView.lastPoint.x, gView.lastPoint.y);
    if (hit >= 0) {
        gView.selected = hit;
        gView.dragItem = &gView.items[(size_t)hit];
        gView.dragGrab = MeasureItem_Grab(*gView.dragItem, gView.lastPoint.x, gView.lastPoint.y);
        return;
    }
    gView.selected = -1;
    gView.mouseDown = true;
    gView.lastPoint = {x, y}; // a pan starts, in window coordinates
}

static void PressWithTool(int x, int y)
{
    if (gView.tool == TOOL_TEXT) {
        if (!MapPoint(&gView.lastPoint, x, y))
            return;
        MeasureItem_UpdateHitRects(&gView.newItem);
        if (Rect_Contains(gView.newItem.hitRects[0], gView.lastPoint.x, gView.lastPoint.y)) {
            gView.dragItem = &gView.newItem;
            gView.dragGrab = GRAB_WHOLE;
        }
        return;
    }
    if (!MapPoint(&gView.newPoint, x, y))
        return;
    gView.mouseDown = true;
    if (IsItemTool(gView.tool))
        StartNewItem();
}

void View_ButtonDown(int x, int y)
{
    View_SetFocus();
    // Held until the release, wherever it happens, so that every press
    // gets its release.
    View_SetCapture();
    if ((gView.tool == TOOL_POINT_LINE || gView.tool == TOOL_ANGLE) && gView.phase == gView.tool) {
        gView.phase = 0; // the click that places the third point
        View_CommitNewItem();
        return;
    }
    if (gView.calibLength != 0) {
        if (!MapPoint(&gView.lastPoint, x, y))
            return;
        gView.mouseDown = true;
        if (OnCalibrationEnd(gView.calibLeft, gView.lastPoint))
            gView.tool = TOOL_CALIB_LEFT;
        if (OnCalibrationEnd(gView.calibRight, gView.lastPoint))
            gView.tool = TOOL_CALIB_RIGHT;
        return;
    }
    if (gView.tool == TOOL_POINTER)
        PressWithPointer(x, y);
    else
        PressWithTool(x, y);
}

// Drags an end of the calibration line, never shorter than 200 pixels nor
// out of the image; a refused step leaves lastPoint where it was.
static void CalibrationMove(const Point &p)
{
    if (gView.tool == TOOL_CALIB_LEFT || gView.tool == TOOL_CALIB_RIGHT) {
        int dx = p.x - gView.lastPoint.x;
        if (dx == 0)
            return;
        if (gView.tool == TOOL_CALIB_LEFT) {
            if (gView.calibLeft + dx <= 0 || gView.calibLength - dx < 200)
                return;
            gView.calibLeft += dx;
            gView.calibLength -= dx;
        } else {
            if (gView.calibRight + dx >= gView.imageWidth || gView.calibLength + dx < 200)
                return;
            gView.calibRight += dx;
            gView.calibLength += dx;
        }
        gView.lastPoint.x = p.x;
        View_Recompose();
        return;
    }
    bool left = OnCalibrationEnd(gView.calibLeft, p), right = OnCalibrationEnd(gView.calibRight, p);
    if (left != gView.calibHoverLeft || right != gView.calibHoverRight) {
        gView.calibHoverLeft = left;
        gView.calibHoverRight = right;
        View_Recompose();
    }
}

static void UpdateHover(int x, int y)
{
    Point p;
    if (!MapPoint(&p, x, y))
        return;
    int hit = View_HitTest(p.x, p.y);
    if (hit != gView.hover) {
        gView.hover = hit;
        View_Recompose();
    }
}

static void TrackThirdPoint(int x, int y)
{
    if (gView.phase != ITEM_POINT_LINE && gView.phase != ITEM_ANGLE)
        return;
    if (!MapPoint(&gView.newPoint, x, y))
        return;
    gView.newItem.x3 = gView.newPoint.x;
    gView.newItem.y3 = gView.newPoint.y;
    View_Recompose();
}

static void DragNewItem(int x, int y)
{
    if (!MapPoint(&gView.newPoint, x, y))
        return;
    int tool = gView.tool;
    if ((tool >= TOOL_LINE && tool <= TOOL_ANGLE) || tool == TOOL_TEXT) {
        gView.newItem.x2 = gView.newPoint.x;
        gView.newItem.y2 = gView.newPoint.y;
    } else if (tool == TOOL_FREEHAND) {
        std::vector<Point> &points = gView.newItem.points;
        if (!points.empty() && points.back() == gView.newPoint)
            return; // a move message without movement adds no point
        points.push_back(gView.newPoint);
    } else {
        return;
    }
    View_Recompose();
}

void View_PointerMove(int x, int y, bool buttonDown)
{
    if (gView.calibLength != 0) {
        Point p;
        if (MapPoint(&p, x, y))
            CalibrationMove(p);
        return;
    }
    if (gView.dragItem) {
        Point p;
        if (MapPoint(&p, x, y))
            MeasureItem_Move(gView.dragItem, p.x, p.y);
        return;
    }
    if (!gView.mouseDown) {
        if (buttonDown)
            return;
        if (gView.tool == TOOL_POINTER)
            UpdateHover(x, y);
        else
            TrackThirdPoint(x, y);
        return;
    }
    if (!buttonDown)
        return;
    if (gView.tool == TOOL_POINTER) {
        View_Pan(x, y);
        gView.lastPoint = {x, y};
        return;
    }
    DragNewItem(x, y);
}

// Ends the gesture of the last press, at a release or when the capture was
// taken away; a second call finds nothing to end.
static void EndGesture()
{
    gView.dragItem = nullptr;
    if (!gView.mouseDown)
        return;
    gView.mouseDown = false;
    if (gView.calibLength != 0) {
        gView.tool = TOOL_POINTER;
        return;
    }
    switch (gView.tool) {
    case ITEM_LINE:
    case ITEM_RECTANGLE:
    case ITEM_CIRCLE:
        View_CommitNewItem();
        break;
    case ITEM_FREEHAND:
        if (gView.newItem.points.size() >= 2) // a single click draws nothing
            View_CommitNewItem();
        break;
    case ITEM_POINT_LINE:
    case ITEM_ANGLE:
        gView.phase = gView.tool; // the third point follows the pointer
        break;
    }
}

void View_ButtonUp()
{
    EndGesture(); // first, so that the capture change it causes finds it ended
    View_ReleaseCapture();
}

void View_CaptureLost()
{
    EndGesture();
}

void View_KeyDown(int key)
{
    if (key == KEY_BACKSPACE || key == KEY_DELETE) {
        int selected = gView.selected;
        if (selected < 0 || selected >= (int)gView.items.size())
            return;
        View_DeleteItem(selected);
        if (gView.hover == selected)
            gView.hover = -1;
        gView.selected = -1;
        View_Invalidate(false);
    } else if (key == KEY_SPACE) {
        View_PostParentCommand(CMD_OPEN_DEVICE_OR_SNAPSHOT_KEY);
    } else if (key == KEY_F) {
        View_PostParentCommand(CMD_FREEZE);
    }
}

void MeasureItem_Move(MeasureItem *item, int32_t x, int32_t y)
{
    int dx = x - gView.lastPoint.x, dy = y - gView.lastPoint.y;
    if (dx == 0 && dy == 0)
        return;
    if (gView.dragGrab >= 0)
        MeasureItem_MovePoint(item, gView.dragGrab, dx, dy);
    else
        MeasureItem_Shift(item, dx, dy);
    MeasureItem_UpdateHitRects(item);
    gView.lastPoint = {x, y};
    View_Recompose();
}

void View_DiscardNewItem()
{
    MeasureItem &item = gView.newItem;
    item.points.clear();
    item.x1 = item.y1 = item.x2 = item.y2 = 0;
    item.x3 = -1;
    item.text[0] = 0;
    gView.phase = 0;
    gView.mouseDown = false;
}

void View_ChooseTool(int32_t tool)
{
    if (tool == gView.tool)
        return;
    gView.tool = tool;
    View_DiscardNewItem();
    View_Invalidate(false);
}

bool View_DoubleClick(int x, int y)
{
    Point p;
    if (gView.tool != TOOL_POINTER || gView.calibLength != 0 || !MapPoint(&p, x, y))
        return false;
    int hit = View_HitTest(p.x, p.y);
    if (hit < 0 || gView.items[(size_t)hit].kind != ITEM_TEXT)
        return false;
    gView.editIndex = hit;
    View_PostParentCommand(CMD_EDIT_TEXT_ITEM);
    return true;
}

// The item being changed goes back into the list where it was: changed,
// or as it was before.
static void PutBackEditedItem(const MeasureItem &item)
{
    size_t at = std::min((size_t)gView.editIndex, gView.items.size());
    gView.items.insert(gView.items.begin() + (std::ptrdiff_t)at, item);
    MeasureItem_UpdateHitRects(&gView.items[at]);
}

// "Init" of a changed text item: it leaves the list for newItem, where the
// dialog changes its text live.
static void TakeEditedItem()
{
    gView.editOriginal = gView.items[(size_t)gView.editIndex];
    gView.newItem = gView.editOriginal;
    View_DeleteItem(gView.editIndex);
    gView.selected = gView.hover = -1;
}

static bool Editing()
{
    return gView.editIndex >= 0 && gView.editIndex <= (int)gView.items.size();
}

void View_TextItemCommand(const char *action)
{
    if (!action)
        return;
    MeasureItem &item = gView.newItem;
    if (Editing() && strcmp(action, "Init") != 0) {
        bool changed = strcmp(action, "OK") == 0;
        if (!changed || item.text[0]) // an emptied text removes the item
            PutBackEditedItem(changed ? item : gView.editOriginal);
        gView.editIndex = -1;
        View_Invalidate(false);
        return;
    }
    if (strcmp(action, "Init") == 0 && gView.editIndex >= 0 && gView.editIndex < (int)gView.items.size()) {
        TakeEditedItem();
        View_Invalidate(false);
    } else if (strcmp(action, "Init") == 0) {
        gView.editIndex = -1;
        item.kind = ITEM_TEXT;
        item.x1 = gView.imageWidth / 2 - 100;
        item.y1 = (int)((gView.scrollY + 138) / gView.drawScale);
        item.x2 = item.y2 = 0;
        View_Invalidate(false);
    } else if (strcmp(action, "OK") == 0 && item.text[0]) {
        View_CommitNewItem();
        View_Invalidate(false);
    }
}
