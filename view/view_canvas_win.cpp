// Drawing on the back buffer: GDI+ lines and circles with the view's pens,
// GDI rectangles, texts and overlay pens on its DC. The portable drawing
// speaks image pixels; here they become back-buffer pixels through
// gView.drawScale, while pens and text keep their size on the screen. What
// lies wholly outside the part the composition shows is left out.
#include "base/scoped_win.h"
#include "view/gdip_object_win.h"
#include "view/view_platform.h"
#include "view/view_state.h"

#include <algorithm>
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

// Whether a drawing whose back-buffer pixels lie within the box, grown by
// the widest pen, can touch the part the composition shows: one that cannot
// is left out, which changes no pixel there.
static bool Shown(int left, int top, int right, int bottom)
{
    const Rect &part = gView.drawPart;
    int reach = gView.lineWidth + 2; // a pen's half width and anti-aliasing, with room to spare
    return left - reach < part.right && right + reach > part.left && top - reach < part.bottom &&
           bottom + reach > part.top;
}

static bool ShownSegment(int x1, int y1, int x2, int y2)
{
    return Shown(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2));
}

static bool ShownPoints(const Point *points, int count)
{
    if (count <= 0)
        return false;
    int left = points[0].x, top = points[0].y, right = left, bottom = top;
    for (int i = 1; i < count; i++) {
        left = std::min(left, points[i].x), right = std::max(right, points[i].x);
        top = std::min(top, points[i].y), bottom = std::max(bottom, points[i].y);
    }
    return Shown(left, top, right, bottom);
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
    x1 = Map(x1), y1 = Map(y1), x2 = Map(x2), y2 = Map(y2);
    if (ShownSegment(x1, y1, x2, y2))
        Gdip_Record(&gView.graphics, Gdip::GdipDrawLineI(BackGraphics(), (GpPen *)PenOf(pen)->handle, x1, y1, x2, y2));
}

void Canvas_Polyline(int pen, const Point *points, int count)
{
    static_assert(sizeof(Point) == sizeof(Gdiplus::GpPoint), "point layout");
    std::vector<Point> buffer;
    const Point *mapped = MapPoints(points, count, &buffer);
    if (!ShownPoints(mapped, count))
        return;
    Gdip_Record(&gView.graphics, Gdip::GdipDrawLinesI(BackGraphics(), (GpPen *)PenOf(pen)->handle,
                                                      (const Gdiplus::GpPoint *)mapped, count));
}

void Canvas_Circle(int pen, int x, int y, int width, int height)
{
    x = Map(x), y = Map(y), width = Map(width), height = Map(height);
    if (Shown(x, y, x + width, y + height))
        Gdip_Record(&gView.graphics, Gdip::GdipDrawArcI(BackGraphics(), (GpPen *)PenOf(pen)->handle, x, y, width,
                                                        height, 0.0f, 360.0f));
}

static bool ShownRect(const RECT &r)
{
    return Shown(r.left, r.top, r.right, r.bottom);
}

void Canvas_FillRect(const Rect &r)
{
    RECT rect = MapRect(r);
    if (ShownRect(rect))
        FillRect(gView.backDC, &rect, gView.itemBrush);
}

void Canvas_FillRectColor(const Rect &r, uint32_t color)
{
    RECT rect = MapRect(r);
    if (!ShownRect(rect))
        return;
    ScopedGdiObject<HBRUSH> brush(CreateSolidBrush(color));
    if (brush)
        FillRect(gView.backDC, &rect, brush.Get());
}

void Canvas_FrameRect(const Rect &r)
{
    RECT rect = MapRect(r);
    if (ShownRect(rect))
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
    if (!ShownRect(clip))
        return;
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
    x1 = Map(x1), y1 = Map(y1), x2 = Map(x2), y2 = Map(y2);
    if (!ShownSegment(x1, y1, x2, y2))
        return;
    MoveToEx(gView.backDC, x1, y1, nullptr);
    LineTo(gView.backDC, x2, y2);
}

void Canvas_PenPolyline(const Point *points, int count)
{
    static_assert(sizeof(Point) == sizeof(POINT), "point layout");
    std::vector<Point> buffer;
    const Point *mapped = MapPoints(points, count, &buffer);
    if (ShownPoints(mapped, count))
        Polyline(gView.backDC, (const POINT *)mapped, count);
}

void Canvas_EndPen()
{
    SelectObject(gView.backDC, gPreviousPen);
    DeleteObject(gPen);
    gPen = nullptr;
}
