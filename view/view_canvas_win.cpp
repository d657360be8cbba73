// Drawing on the back buffer: GDI+ lines and circles with the view's pens,
// GDI rectangles, texts and overlay pens on its DC.
#include "base/scoped_win.h"
#include "view/gdip_object_win.h"
#include "view/view_platform.h"
#include "view/view_state.h"

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
    Gdip_Record(&gView.graphics, Gdip::GdipDrawLineI(BackGraphics(), (GpPen *)PenOf(pen)->handle, x1, y1, x2, y2));
}

void Canvas_Polyline(int pen, const Point *points, int count)
{
    static_assert(sizeof(Point) == sizeof(Gdiplus::GpPoint), "point layout");
    Gdip_Record(&gView.graphics, Gdip::GdipDrawLinesI(BackGraphics(), (GpPen *)PenOf(pen)->handle,
                                                      (const Gdiplus::GpPoint *)points, count));
}

void Canvas_Circle(int pen, int x, int y, int width, int height)
{
    Gdip_Record(&gView.graphics,
                Gdip::GdipDrawArcI(BackGraphics(), (GpPen *)PenOf(pen)->handle, x, y, width, height, 0.0f, 360.0f));
}

void Canvas_FillRect(const Rect &r)
{
    RECT rect = {r.left, r.top, r.right, r.bottom};
    FillRect(gView.backDC, &rect, gView.itemBrush);
}

void Canvas_FrameRect(const Rect &r)
{
    RECT rect = {r.left, r.top, r.right, r.bottom};
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

TextSize Canvas_TextSize(const wchar_t *text, int font)
{
    if (gView.backDC)
        return MeasureText(gView.backDC, text, font);
    // Text items are measured also before the first composition made a back buffer.
    ScopedWindowDC dc(gView.hwnd);
    return MeasureText(dc.Get(), text, font);
}

void Canvas_Text(const wchar_t *text, const Rect &box, int font)
{
    HDC dc = gView.backDC;
    ScopedSelect select(dc, FontOf(font));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, gView.textColor);
    RECT clip = {box.left, box.top, box.right, box.bottom};
    ExtTextOutW(dc, box.left, box.top, ETO_CLIPPED, &clip, text, (UINT)lstrlenW(text), nullptr);
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
    MoveToEx(gView.backDC, x1, y1, nullptr);
    LineTo(gView.backDC, x2, y2);
}

void Canvas_PenPolyline(const Point *points, int count)
{
    static_assert(sizeof(Point) == sizeof(POINT), "point layout");
    Polyline(gView.backDC, (const POINT *)points, count);
}

void Canvas_EndPen()
{
    SelectObject(gView.backDC, gPreviousPen);
    DeleteObject(gPen);
    gPen = nullptr;
}
