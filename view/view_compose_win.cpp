// The paint pipeline: background, back buffer with its drawing objects, and
// the composition of frame, overlays and items.
#include "view/view_win.h"

#include "base/scoped_win.h"
#include "capture/camera_graph.h"
#include "view/drawing.h"
#include "view/frame_pixels.h"
#include "view/gdip_object_win.h"
#include "view/view_platform.h"
#include "view/view_state.h"
#include "view/viewport.h"

#include <algorithm>

static const COLORREF kBackground = RGB(191, 191, 191);

// The back bitmap's pixels, top-down, and its size when it was made.
static uint32_t *gBackPixels;
static int gBackWidth, gBackHeight;
// The part of the back buffer the last composition drew the frame into: what
// the window shows of it. Outside it the buffer holds older pixels until
// View_BackPixels composes the whole.
static Rect gBackPart;

static ARGB Argb(uint32_t colorRef)
{
    return 0xFF000000u | (GetRValue(colorRef) << 16) | (GetGValue(colorRef) << 8) | GetBValue(colorRef);
}

static void MakePen(GdipObject *pen, uint32_t color, float width)
{
    GpPen *handle = nullptr;
    Gdip_Record(pen, Gdip::GdipCreatePen1(Argb(color), width, Gdiplus::UnitWorld, &handle));
    pen->handle = handle;
}

void View_CreateDrawingObjects()
{
    MakePen(&gView.itemPen, gView.lineColor, (float)gView.lineWidth);
    // Freehand strokes are one connected line: round joins keep sharp turns
    // from growing miter spikes.
    if (gView.itemPen.handle)
        Gdip_Record(&gView.itemPen, Gdip::GdipSetPenLineJoin((GpPen *)gView.itemPen.handle, Gdiplus::LineJoinRound));
    MakePen(&gView.thinPen, gView.lineColor, 1.0f);
    MakePen(&gView.overlayPen, gView.gridColor, 1.0f);
    gView.itemBrush = CreateSolidBrush(gView.lineColor);
    LOGFONTW font = {};
    font.lfHeight = -MulDiv(gView.textSize, GetDeviceCaps(ScopedWindowDC(nullptr).Get(), LOGPIXELSY), 72);
    lstrcpyW(font.lfFaceName, L"Arial");
    gView.labelFont = CreateFontIndirectW(&font);
}

static void FreePen(GdipObject *pen)
{
    if (pen->handle)
        Gdip_Record(pen, Gdip::GdipDeletePen((GpPen *)pen->handle));
    pen->handle = nullptr;
}

void View_DestroyDrawingObjects()
{
    FreePen(&gView.itemPen);
    FreePen(&gView.thinPen);
    FreePen(&gView.overlayPen);
    if (gView.itemBrush)
        DeleteObject(gView.itemBrush);
    if (gView.labelFont)
        DeleteObject(gView.labelFont);
    gView.itemBrush = nullptr;
    gView.labelFont = nullptr;
}

void View_DestroyBackBuffer()
{
    // The graphics goes before the DC it draws on.
    if (gView.graphics.handle)
        Gdip_Record(&gView.graphics, Gdip::GdipDeleteGraphics((GpGraphics *)gView.graphics.handle));
    gView.graphics.handle = nullptr;
    if (gView.backDC) {
        SelectObject(gView.backDC, gView.previousBitmap);
        DeleteObject(gView.backBitmap);
        DeleteDC(gView.backDC);
    }
    gView.backDC = nullptr;
    gView.backBitmap = nullptr;
    gView.previousBitmap = nullptr;
    gBackPixels = nullptr;
    gBackWidth = gBackHeight = 0;
    gBackPart = {};
    View_DestroyDrawingObjects();
}

// A top-down DIB section of 32-bit pixels whose masks say they have no
// alpha byte: the frame is written into its pixels directly, and the blit to
// the window converts nothing. (A plain 32-bit BI_RGB bitmap may carry
// alpha, so GDI+, Wine's at least, would draw on it through its slower
// alpha-blending path, with other pixels.)
static HBITMAP CreatePixelBitmap(HDC hdc, int width, int height, void **pixels)
{
    struct {
        BITMAPINFOHEADER header;
        DWORD masks[3];
    } info = {{sizeof info.header, width, -height, 1, 32, BI_BITFIELDS, 0, 0, 0, 0, 0},
              {0xFF0000, 0x00FF00, 0x0000FF}};
    return CreateDIBSection(hdc, (const BITMAPINFO *)&info, DIB_RGB_COLORS, pixels, nullptr, 0);
}

static bool CreateBackBuffer(HDC hdc)
{
    void *pixels = nullptr;
    ScopedGdiObject<HBITMAP> bitmap(CreatePixelBitmap(hdc, gView.displayWidth, gView.displayHeight, &pixels));
    HDC dc = bitmap ? CreateCompatibleDC(hdc) : nullptr;
    if (!dc)
        return false; // retried at the next paint
    gView.backDC = dc;
    gView.backBitmap = bitmap.Detach();
    gBackPixels = (uint32_t *)pixels;
    gBackWidth = gView.displayWidth;
    gBackHeight = gView.displayHeight;
    gView.previousBitmap = (HBITMAP)SelectObject(dc, gView.backBitmap);
    GpGraphics *graphics = nullptr;
    Gdip_Record(&gView.graphics, Gdip::GdipCreateFromHDC(gView.backDC, &graphics));
    gView.graphics.handle = graphics;
    View_CreateDrawingObjects();
    if (graphics)
        Gdip_Record(&gView.graphics, Gdip::GdipSetSmoothingMode(graphics, Gdiplus::SmoothingModeHighQuality));
    return true;
}

// The frame scaled into a part of the back buffer, then the overlays and
// items: the canvas leaves out what lies wholly outside the part, and the
// DC's clipping spares GDI the pixels of the rest. GDI must be done with the
// pixels before they are written.
static void ComposePart(const Rect &part)
{
    GdiFlush();
    View_ScaleFrame(gBackPixels, gBackWidth, gBackHeight, part);
    gBackPart = part;
    gView.drawPart = part;
    IntersectClipRect(gView.backDC, part.left, part.top, part.right, part.bottom);
    View_DrawScene();
    SelectClipRgn(gView.backDC, nullptr);
}

void View_Compose(HDC hdc)
{
    if (gView.frameBits.empty())
        return;
    if (gView.backBitmap && (gBackWidth != gView.displayWidth || gBackHeight != gView.displayHeight))
        View_DestroyBackBuffer(); // made again at the new size
    if (!gView.backBitmap && !CreateBackBuffer(hdc))
        return;
    RECT client;
    GetClientRect(gView.hwnd, &client);
    // Only what the window shows is composed; again when drawing the
    // calibration line centred the picture.
    BlitSpan h, v;
    int scrollX, scrollY;
    do {
        scrollX = gView.scrollX, scrollY = gView.scrollY;
        h = View_BlitSpan(gView.hScrollShown, client.right, gView.displayWidth, scrollX);
        v = View_BlitSpan(gView.vScrollShown, client.bottom, gView.displayHeight, scrollY);
        ComposePart({std::max(h.source, 0), std::max(v.source, 0), std::min(h.source + h.length, gBackWidth),
                     std::min(v.source + v.length, gBackHeight)});
    } while (gView.scrollX != scrollX || gView.scrollY != scrollY);
    BitBlt(hdc, h.destination, v.destination, h.length, v.length, gView.backDC, h.source, v.source,
           SRCCOPY);
}

PictureComposition::~PictureComposition()
{
    if (dc) {
        SelectObject(dc, previous);
        DeleteDC(dc);
    }
    if (bitmap)
        DeleteObject(bitmap);
}

// The scene is drawn through the canvas, which draws on gView's back buffer:
// for one composition it is lent the picture's DC and graphics at scale 1.
static void DrawSceneOn(HDC dc, GpGraphics *graphics, bool numbered)
{
    HDC screenDC = gView.backDC;
    GdipObject screenGraphics = gView.graphics;
    double screenScale = gView.drawScale;
    bool screenNumbers = gView.showNumbers;
    Rect screenPart = gView.drawPart;
    gView.backDC = dc;
    gView.graphics = {graphics, 0};
    gView.drawScale = 1.0;
    gView.showNumbers = screenNumbers || numbered;
    gView.drawPart = {0, 0, gView.imageWidth, gView.imageHeight};
    View_DrawScene();
    Gdip::GdipFlush(graphics, Gdiplus::FlushIntentionSync);
    gView.backDC = screenDC;
    gView.graphics = screenGraphics;
    gView.drawScale = screenScale;
    gView.showNumbers = screenNumbers;
    gView.drawPart = screenPart;
}

bool View_ComposePicture(PictureComposition *picture, bool numbered)
{
    if (gView.frameBits.empty() || !gView.backDC)
        return false;
    void *pixels = nullptr;
    picture->bitmap = CreatePixelBitmap(gView.backDC, gView.imageWidth, gView.imageHeight, &pixels);
    picture->dc = picture->bitmap ? CreateCompatibleDC(gView.backDC) : nullptr;
    if (!picture->dc)
        return false;
    picture->previous = SelectObject(picture->dc, picture->bitmap);
    GpGraphics *graphics = nullptr;
    if (Gdip::GdipCreateFromHDC(picture->dc, &graphics) != Gdiplus::Ok)
        return false;
    Gdip::GdipSetSmoothingMode(graphics, Gdiplus::SmoothingModeHighQuality);
    View_ScaleFrame((uint32_t *)pixels, gView.imageWidth, gView.imageHeight,
                    {0, 0, gView.imageWidth, gView.imageHeight});
    DrawSceneOn(picture->dc, graphics, numbered);
    Gdip::GdipDeleteGraphics(graphics);
    GdiFlush();
    picture->pixels = (const uint32_t *)pixels;
    picture->width = gView.imageWidth;
    picture->height = gView.imageHeight;
    return true;
}

const uint32_t *View_BackPixels(int *width, int *height)
{
    Rect whole = {0, 0, gBackWidth, gBackHeight};
    if (gBackPixels && !(gBackPart == whole))
        ComposePart(whole);
    // The pixels are read in place: GDI and GDI+ must be done writing them.
    if (gView.graphics.handle)
        Gdip::GdipFlush((GpGraphics *)gView.graphics.handle, Gdiplus::FlushIntentionSync);
    GdiFlush();
    *width = gBackWidth;
    *height = gBackHeight;
    return gBackPixels;
}

static void Fill(HDC hdc, const Rect &r)
{
    RECT rect = {r.left, r.top, r.right, r.bottom};
    ExtTextOutW(hdc, 0, 0, ETO_OPAQUE, &rect, L"", 0, nullptr);
}

void View_PaintBackground(HDC hdc)
{
    RECT client;
    GetClientRect(gView.hwnd, &client);
    COLORREF previous = SetBkColor(hdc, kBackground);
    if (gView.displayWidth == 0 || gView.displayHeight == 0) {
        if (gDevices.empty()) {
            ScopedSelect font(hdc, gView.placeholderFont);
            SetTextColor(hdc, RGB(192, 255, 192));
            ExtTextOutW(hdc, 22, 18, ETO_OPAQUE, &client, gView.placeholderText,
                        (UINT)lstrlenW(gView.placeholderText), nullptr);
        } else {
            Fill(hdc, {client.left, client.top, client.right, client.bottom});
        }
    } else {
        BackgroundLayout layout = View_BackgroundLayout(client.right, client.bottom, gView.displayWidth,
                                                        gView.displayHeight);
        for (int i = 0; i < layout.greyCount; i++)
            Fill(hdc, layout.grey[i]);
        SetBkColor(hdc, 0);
        for (int i = 0; i < layout.blackCount; i++)
            Fill(hdc, layout.black[i]);
    }
    SetBkColor(hdc, previous);
}
