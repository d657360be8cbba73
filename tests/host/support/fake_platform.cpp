// Host stand-ins for the platform services and window entry points that the
// portable code calls; everything is recorded in gFake.
#include "fake_platform.h"

#include "base/clock.h"
#include "base/commands.h"
#include "base/platform.h"
#include "state/settings_store.h"
#include "base/text.h"
#include "capture/frame_platform.h"
#include "state/view_api.h"
#include "view/view_platform.h"
#include "view/view_state.h"

#include <cwchar>

FakePlatform gFake;

void FakePlatform_Reset()
{
    gFake = FakePlatform();
}

bool Store_Open()
{
    gFake.storeOpenCount++;
    return gFake.storeOpens;
}

void Store_Close() {}

// The value as the registry would hold it: what stored has, else a number or
// a text (UTF-16 with its terminator).
static bool FindStored(const wchar_t *name, FakePlatform::StoredValue *value)
{
    gFake.storeReads.push_back(name);
    if (!gFake.storeOpens)
        return false;
    if (auto raw = gFake.stored.find(name); raw != gFake.stored.end()) {
        *value = raw->second;
        return true;
    }
    if (auto number = gFake.numbers.find(name); number != gFake.numbers.end()) {
        uint32_t bits = (uint32_t)number->second;
        *value = {STORE_TYPE_NUMBER, {(uint8_t)bits, (uint8_t)(bits >> 8), (uint8_t)(bits >> 16), (uint8_t)(bits >> 24)}};
        return true;
    }
    if (auto text = gFake.texts.find(name); text != gFake.texts.end()) {
        *value = {STORE_TYPE_TEXT, {}};
        for (size_t i = 0; i <= text->second.size(); i++) {
            uint32_t unit = i < text->second.size() ? (uint32_t)text->second[i] : 0;
            value->bytes.push_back((uint8_t)unit);
            value->bytes.push_back((uint8_t)(unit >> 8));
        }
        return true;
    }
    return false;
}

bool Store_ReadNumber(const wchar_t *name, int32_t *value)
{
    FakePlatform::StoredValue stored;
    return FindStored(name, &stored) && Store_DecodeNumber(stored.type, stored.bytes.data(), stored.bytes.size(), value);
}

bool Store_ReadText(const wchar_t *name, wchar_t *text, size_t capacity)
{
    FakePlatform::StoredValue stored;
    if (!FindStored(name, &stored)) {
        text[0] = 0;
        return false;
    }
    return Store_DecodeText(stored.type, stored.bytes.data(), stored.bytes.size(), text, capacity);
}

bool Store_WriteNumber(const wchar_t *name, int32_t value)
{
    if (gFake.storeOpens)
        gFake.numbers[name] = value;
    return gFake.storeOpens;
}

bool Store_WriteText(const wchar_t *name, const wchar_t *text)
{
    if (gFake.storeOpens)
        gFake.texts[name] = text;
    return gFake.storeOpens;
}

bool Platform_ModulePath(wchar_t *path, size_t capacity)
{
    Text_Copy(path, capacity, gFake.modulePath.c_str());
    return true;
}

bool Platform_DocumentsFolder(wchar_t *path, size_t capacity)
{
    if (!gFake.hasDocuments)
        return false;
    Text_Copy(path, capacity, gFake.documents.c_str());
    return true;
}

bool Folder_Exists(const wchar_t *path)
{
    return gFake.folders.count(path) > 0;
}

bool Path_Exists(const wchar_t *path)
{
    return gFake.folders.count(path) > 0 || gFake.files.count(path) > 0;
}

bool Folder_Create(const wchar_t *path)
{
    if (gFake.files.count(path))
        return false;
    gFake.folders.insert(path);
    return true;
}

bool File_ReadAll(const wchar_t *path, size_t maxBytes, std::vector<unsigned char> *content)
{
    auto it = gFake.files.find(path);
    if (it == gFake.files.end() || it->second.size() > maxBytes)
        return false;
    *content = it->second;
    return true;
}

void Debug_Print(const wchar_t *line)
{
    gFake.debugLines.push_back(line);
}

static void FakeLocalTime(LocalTime *now)
{
    *now = {gFake.year, gFake.month, gFake.day, gFake.hour, gFake.minute, gFake.second,
            gFake.millisecond};
}

void (*Clock_LocalTime)(LocalTime *now) = FakeLocalTime;

uint32_t Clock_Milliseconds()
{
    return gFake.milliseconds;
}

static int64_t FakePrecise()
{
    return gFake.precise;
}

int64_t (*Clock_Precise)() = FakePrecise;

void MainWnd_PostCommand(int id)
{
    gFake.mainCommands.push_back(id);
}

void Panel_PostCommand(int id)
{
    gFake.panelCommands.push_back(id);
}

void Panel_PostRefresh(bool full)
{
    gFake.panelRefreshes.push_back(full);
}

void View_SetCalibration(float scale, int32_t unitIndex)
{
    gFake.viewCalibrations.push_back({scale, unitIndex});
}

void View_SetZoom(int percent)
{
    gFake.viewZooms.push_back(percent);
}

void View_SetStyle(const ViewStyle *) {}

void View_Invalidate(bool)
{
    gFake.invalidations++;
}

void Frame_RequestRepaint()
{
    gFake.frameRepaints++;
}

void Frame_PostStill()
{
    gFake.stillPosts++;
}

void View_Recompose()
{
    gFake.recomposes++;
}

Rect View_ClientRect()
{
    return {0, 0, gFake.viewWidth - (gFake.vBarShown ? gFake.verticalBarWidth : 0),
            gFake.viewHeight - (gFake.hBarShown ? gFake.horizontalBarHeight : 0)};
}

void View_ScrollBarSizes(int *verticalBarWidth, int *horizontalBarHeight)
{
    *verticalBarWidth = gFake.verticalBarWidth;
    *horizontalBarHeight = gFake.horizontalBarHeight;
}

void View_ShowScrollBar(int bar, bool show)
{
    (bar == SCROLL_HORZ ? gFake.hBarShown : gFake.vBarShown) = show;
    gFake.barShows.push_back({bar, show});
}

void View_SetScrollRange(int bar, int page, int maximum, int position)
{
    gFake.scrollCalls.push_back({bar, true, page, maximum, position});
}

void View_SetScrollPosition(int bar, int position)
{
    gFake.scrollCalls.push_back({bar, false, 0, 0, position});
}

void View_SetCapture()
{
    gFake.captured = true;
    gFake.captures++;
}

void View_ReleaseCapture()
{
    gFake.captured = false;
}

void View_SetFocus()
{
    gFake.focusRequests++;
}

void View_PostParentCommand(int id)
{
    gFake.parentCommands.push_back(id);
}

void View_PostZoomChanged()
{
    gFake.zoomFittedPosts++;
}

void View_PostSize()
{
    gFake.sizePosts++;
}

void View_DestroyBackBuffer()
{
    gFake.backBufferDestroyed++;
    gView.backBitmap = nullptr;
    gView.backDC = nullptr;
}

void View_DestroyDrawingObjects()
{
    gFake.objectsDestroyed++;
}

void View_CreateDrawingObjects()
{
    gFake.objectsCreated++;
}

static void Record(CanvasCall call)
{
    gFake.canvas.push_back(std::move(call));
}

void Canvas_Line(int pen, int x1, int y1, int x2, int y2)
{
    Record({CANVAS_LINE, pen, {x1, y1, x2, y2}, L"", 0, 0, 0, {}});
}

void Canvas_Polyline(int pen, const Point *points, int count)
{
    Record({CANVAS_POLYLINE, pen, {}, L"", 0, 0, 0, std::vector<Point>(points, points + count)});
}

void Canvas_Circle(int pen, int x, int y, int width, int height)
{
    Record({CANVAS_CIRCLE, pen, {x, y, width, height}, L"", 0, 0, 0, {}});
}

void Canvas_FillRect(const Rect &r)
{
    Record({CANVAS_FILL, 0, r, L"", 0, 0, 0, {}});
}

void Canvas_FillRectColor(const Rect &r, uint32_t color)
{
    Record({CANVAS_FILL, 0, r, L"", 0, color, 0, {}});
}

void Canvas_FrameRect(const Rect &r)
{
    Record({CANVAS_FRAME, 0, r, L"", 0, 0, 0, {}});
}

TextSize Canvas_TextSize(const wchar_t *text, int font)
{
    int n = (int)wcslen(text);
    if (font == FONT_LABEL)
        return {n * gFake.labelCharWidth, gFake.labelHeight};
    return {n * gFake.currentCharWidth, gFake.currentHeight};
}

void Canvas_Text(const wchar_t *text, const Rect &box, int font)
{
    Record({CANVAS_TEXT, 0, box, text, font, 0, 0, {}});
}

void Canvas_BeginPen(uint32_t color, int width)
{
    Record({CANVAS_PEN_BEGIN, 0, {}, L"", 0, color, width, {}});
}

void Canvas_PenLine(int x1, int y1, int x2, int y2)
{
    Record({CANVAS_PEN_LINE, 0, {x1, y1, x2, y2}, L"", 0, 0, 0, {}});
}

void Canvas_PenPolyline(const Point *points, int count)
{
    Record({CANVAS_PEN_POLYLINE, 0, {}, L"", 0, 0, 0, std::vector<Point>(points, points + count)});
}

void Canvas_EndPen()
{
    Record({CANVAS_PEN_END, 0, {}, L"", 0, 0, 0, {}});
}
