// Drawing on the back buffer: GDI+ lines and circles with the view's pens,
// GDI rectangles, texts and overlay pens on its DC.
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

// Selects the label font into dc when asked for; returns what it replaced.
static HGDIOBJ SelectFont(HDC dc, int font)
{
    return font == FONT_LABEL && gView.labelFont ? SelectObject(dc, gView.labelFont) : nullptr;
}

TextSize Canvas_TextSize(const wchar_t *text, int font)
{
    // Text items are measured also before the first composition made a back buffer.
    HDC dc = gView.backDC ? gView.backDC : GetDC(gView.hwnd);
    HGDIOBJ previous = SelectFont(dc, font);
    SIZE size = {};
    GetTextExtentExPointW(dc, text, lstrlenW(text), 0, nullptr, nullptr, &size);
    if (previous)
        SelectObject(dc, previous);
    if (dc != gView.backDC)
        ReleaseDC(gView.hwnd, dc);
    return {(int)size.cx, (int)size.cy};
}

void Canvas_Text(const wchar_t *text, const Rect &box, int font)
{
    HDC dc = gView.backDC;
    HGDIOBJ previous = SelectFont(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, gView.textColor);
    RECT clip = {box.left, box.top, box.right, box.bottom};
    ExtTextOutW(dc, box.left, box.top, ETO_CLIPPED, &clip, text, (UINT)lstrlenW(text), nullptr);
    if (previous)
        SelectObject(dc, previous);
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
