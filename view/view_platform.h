// What the portable view code asks of the window system. The Win32 view
// implements these (view_platform_win.cpp, view_canvas_win.cpp); host tests
// record them.
#pragma once
#include "base/geometry.h"
#include <cstdint>

// The view window.

// Requests a repaint of the whole view, with or without erasing.
void View_Invalidate(bool erase);
// Composes into a window DC at once (GetDC, View_Compose, ReleaseDC); neither
// the margins are repainted nor a new frame fetched.
void View_Recompose();
Rect View_ClientRect();
// SM_CXVSCROLL and SM_CYHSCROLL.
void View_ScrollBarSizes(int *verticalBarWidth, int *horizontalBarHeight);

enum ScrollBar { SCROLL_HORZ = 0, SCROLL_VERT = 1 };
void View_ShowScrollBar(int bar, bool show);
// SIF_RANGE | SIF_PAGE | SIF_POS with minimum 0, redrawn.
void View_SetScrollRange(int bar, int page, int maximum, int position);
// SIF_POS only, redrawn.
void View_SetScrollPosition(int bar, int position);

void View_SetCapture();
// Releases the mouse capture when the view holds it.
void View_ReleaseCapture();
void View_SetFocus();
// Posted to the parent window: WM_COMMAND id (lParam 0), WM_VIEW_ZOOMCHANGED (0, 0).
void View_PostParentCommand(int id);
void View_PostZoomChanged();
// Posts WM_SIZE with wParam 0 and lParam 0 to the view itself.
void View_PostSize();

// The back buffer and its drawing objects (item pen, thin pen, overlay pen,
// item brush, label font).
void View_DestroyBackBuffer();    // back bitmap, its DC, the graphics and the drawing objects
void View_DestroyDrawingObjects();
void View_CreateDrawingObjects();

// Drawing on the back buffer, in back-buffer pixels.

enum CanvasPen { PEN_ITEM, PEN_THIN, PEN_OVERLAY }; // the GDI+ pens
enum CanvasFont { FONT_LABEL, FONT_CURRENT };       // the label font, or what the DC holds

struct TextSize {
    int width, height;
};

void Canvas_Line(int pen, int x1, int y1, int x2, int y2);
// Connected segments through the points, in one call (round joins).
void Canvas_Polyline(int pen, const Point *points, int count);
// The full ellipse in the box (x, y, width, height), as an arc from 0 to 360 degrees.
void Canvas_Circle(int pen, int x, int y, int width, int height);
// FillRect or FrameRect with the item brush.
void Canvas_FillRect(const Rect &r);
void Canvas_FrameRect(const Rect &r);
// FillRect with a brush of the colour (0x00BBGGRR).
void Canvas_FillRectColor(const Rect &r, uint32_t color);
TextSize Canvas_TextSize(const wchar_t *text, int font);
// Transparent text in the text colour at the box's top-left, clipped to the box.
void Canvas_Text(const wchar_t *text, const Rect &box, int font);

// A GDI pen (PS_SOLID) selected for the following pen lines; Canvas_EndPen
// restores the DC's pen and deletes it.
void Canvas_BeginPen(uint32_t color, int width);
void Canvas_PenLine(int x1, int y1, int x2, int y2); // MoveToEx, LineTo
void Canvas_PenPolyline(const Point *points, int count);
void Canvas_EndPen();
