// Drawing on the back buffer: GDI+ lines and circles with the view's pens,
// GDI rectangles, texts and overlay pens on its DC. The portable drawing
// speaks image pixels; here they become back-buffer pixels through
// gView.drawScale, while pens and text keep their size on the screen.
#include "base/scoped_win.h"
#include "view/gdip_object_win.h"
#include "view/view_platform.h"
#include "view/view_state.h"

#include <cmath>
#include <vector>

static int Map(int v)
{
    return gView.drawScale == 1.0 ? v : (int)std::lround(v * gView.drawScale);
}

static RECT MapRect(const Rect &r)
{
    return {Map(r.left), Map(r.top), Map(r.right), Map(r.bottom)};
}

// The points in back-buffer pixels: as they are at scale 1 (a freehand
// stroke's thousands of points are not copied at every composition there),
// else mapped into the buffer.
static const Point *MapPoints(const Point *points, int count, std::vector<Point> *buffer)
{
    if (gView.drawScale == 1.0)
        return points;
    buffer->assign(points, points + count);
    for (Point &p : *buffer)
        p = {Map(p.x), Map(p.y)};
    return buffer->data();
}

static GdipObject *PenOf(int pen)
{
    return pen == PEN_ITEM ? &gView.itemPen : pen == PEN_THIN ? &gView.thinPen : &gView.overlayPen;
}

static GpGraphics *BackGraphics()
{
    return (GpGraphics *)gView.graphics.handle;
}

void Canvas_Line(int pen, int x1, int y1, int x2, int y2)
{
    Gdip_Record(&gView.graphics, Gdip::GdipDrawLineI(BackGraphics(), (GpPen *)PenOf(pen)->handle, Map(x1), Map(y1),
                                                     Map(x2), Map(y2)));
}

void Canvas_Polyline(int pen, const Point *points, int count)
{
    static_assert(sizeof(Point) == sizeof(Gdiplus::GpPoint), "point layout");
    std::vector<Point> buffer;
    const Point *mapped = MapPoints(points, count, &buffer);
    Gdip_Record(&gView.graphics, Gdip::GdipDrawLinesI(BackGraphics(), (GpPen *)PenOf(pen)->handle,
                                                      (const Gdiplus::GpPoint *)mapped, count));
}

void Canvas_Circle(int pen, int x, int y, int width, int height)
{
    Gdip_Record(&gView.graphics,
                Gdip::GdipDrawArcI(BackGraphics(), (GpPen *)PenOf(pen)->handle, Map(x), Map(y), Map(width),
                                   Map(height), 0.0f, 360.0f));
}

void Canvas_FillRect(const Rect &r)
{
    RECT rect = MapRect(r);
    FillRect(gView.backDC, &rect, gView.itemBrush);
}

void Canvas_FillRectColor(const Rect &r, uint32_t color)
{
    RECT rect = MapRect(r);
    ScopedGdiObject<HBRUSH> brush(CreateSolidBrush(color));
    if (brush)
        FillRect(gView.backDC, &rect, brush.Get());
}

void Canvas_FrameRect(const Rect &r)
{
    RECT rect = MapRect(r);
    FrameRect(gView.backDC, &rect, gView.itemBrush);
}

// The label font when asked for; null (select nothing) for the DC's own.
static HFONT FontOf(int font)
{
    return font == FONT_LABEL ? gView.labelFont : nullptr;
}

static TextSize MeasureText(HDC dc, const wchar_t *text, int font)
{
    ScopedSelect select(dc, FontOf(font));
    SIZE size = {};
    GetTextExtentExPointW(dc, text, lstrlenW(text), 0, nullptr, nullptr, &size);
    return {(int)size.cx, (int)size.cy};
}

// The text's size on the screen, in image pixels (rounded up).
TextSize Canvas_TextSize(const wchar_t *text, int font)
{
    TextSize size;
    if (gView.backDC) {
        size = MeasureText(gView.backDC, text, font);
    } else {
        // Text items are measured also before the first composition made a back buffer.
        ScopedWindowDC dc(gView.hwnd);
        size = MeasureText(dc.Get(), text, font);
    }
    if (gView.drawScale == 1.0)
        return size;
    return {(int)std::ceil(size.width / gView.drawScale), (int)std::ceil(size.height / gView.drawScale)};
}

void Canvas_Text(const wchar_t *text, const Rect &box, int font)
{
    HDC dc = gView.backDC;
    ScopedSelect select(dc, FontOf(font));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, gView.textColor);
    RECT clip = MapRect(box);
    ExtTextOutW(dc, clip.left, clip.top, ETO_CLIPPED, &clip, text, (UINT)lstrlenW(text), nullptr);
}

static HPEN gPen;
static HGDIOBJ gPreviousPen;

void Canvas_BeginPen(uint32_t color, int width)
{
    gPen = CreatePen(PS_SOLID, width, color);
    gPreviousPen = SelectObject(gView.backDC, gPen);
}

void Canvas_PenLine(int x1, int y1, int x2, int y2)
{
    MoveToEx(gView.backDC, Map(x1), Map(y1), nullptr);
    LineTo(gView.backDC, Map(x2), Map(y2));
}

void Canvas_PenPolyline(const Point *points, int count)
{
    static_assert(sizeof(Point) == sizeof(POINT), "point layout");
    std::vector<Point> buffer;
    Polyline(gView.backDC, (const POINT *)MapPoints(points, count, &buffer), count);
}

void Canvas_EndPen()
{
    SelectObject(gView.backDC, gPreviousPen);
    DeleteObject(gPen);
    gPen = nullptr;
}
