// Host stand-ins for the platform services and window entry points that the
// portable code calls; everything is recorded in gFake.
#include "fake_platform.h"

#include "base/clock.h"
#include "base/commands.h"
#include "base/platform.h"
#include "app/settings_store.h"
#include "base/text.h"
#include "capture/frame_platform.h"
#include "view/view_api.h"
#include "view/view_platform.h"
#include "view/view_state.h"

#include <cstring>
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

// A stored value whose bytes do not fit the reader's buffer fails, as the
// registry's ERROR_MORE_DATA does.
static const FakePlatform::StoredValue *StoredValue(const wchar_t *name, size_t bufferBytes, bool *found)
{
    gFake.storeReads.push_back(name);
    auto it = gFake.stored.find(name);
    *found = it != gFake.stored.end();
    return *found && it->second.bytes.size() <= bufferBytes ? &it->second : nullptr;
}

bool Store_ReadNumber(const wchar_t *name, int32_t *value)
{
    bool found;
    const FakePlatform::StoredValue *stored = StoredValue(name, sizeof *value, &found);
    if (found) {
        int32_t data = 0;
        if (stored && !stored->bytes.empty())
            memcpy(&data, stored->bytes.data(), stored->bytes.size());
        return gFake.storeOpens && stored && StoreValue_Number(stored->type, &data, stored->bytes.size(), value);
    }
    auto it = gFake.numbers.find(name);
    if (!gFake.storeOpens || it == gFake.numbers.end())
        return false;
    *value = it->second;
    return true;
}

bool Store_ReadText(const wchar_t *name, wchar_t *text, size_t capacity)
{
    bool found;
    const FakePlatform::StoredValue *stored = StoredValue(name, capacity * 2, &found);
    if (found) {
        if (!gFake.storeOpens || !stored) {
            text[0] = 0;
            return false;
        }
        size_t units = stored->bytes.size() / 2;
        for (size_t i = 0; i < units; i++)
            text[i] = (wchar_t)(stored->bytes[2 * i] | stored->bytes[2 * i + 1] << 8);
        return StoreValue_Text(stored->type, units * sizeof(wchar_t), text, capacity);
    }
    auto it = gFake.texts.find(name);
    if (!gFake.storeOpens || it == gFake.texts.end() || it->second.size() >= capacity) {
        text[0] = 0;
        return false;
    }
    Text_Copy(text, capacity, it->second.c_str());
    return true;
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

void View_PostZoomFitted()
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
