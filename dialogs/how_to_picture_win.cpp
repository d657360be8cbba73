// The picture of the How-to dialog: a microscope over a ruler, and what its
// lens shows, the calibration line's two ends on two ticks 4 mm apart, with
// "4" typed beside "mm". Numbers and units only, so that it reads the same
// in every language.
//
// It is drawn with GDI in a design space of 1000 x 540 units, mapped
// isotropically onto the control (whose size follows the dialog units, and
// so the screen's DPI), at three times the control's size; the average of
// each 3 x 3 block then smooths its edges, on Windows as under Wine.
#include "dialogs/how_to_picture_win.h"

#include "base/scoped_win.h"

#include <cstdint>

namespace {

enum { SAMPLES = 3, DESIGN_WIDTH = 1000, DESIGN_HEIGHT = 540 };

const COLORREF kDark = RGB(47, 54, 62), kBody = RGB(90, 100, 112), kShine = RGB(136, 150, 165),
               kLens = RGB(168, 216, 240), kLight = RGB(255, 244, 184), kRuler = RGB(242, 227, 166),
               kRulerEdge = RGB(156, 135, 72), kTable = RGB(221, 227, 234), kInk = RGB(0, 0, 0),
               kLine = RGB(255, 0, 0), kCallout = RGB(128, 128, 128), kField = RGB(255, 255, 255),
               kFieldEdge = RGB(122, 122, 122);

// The lens view: its centre and radius, the height of the calibration line,
// the magnified millimetre and where the ruler's 0 lies (off the view, which
// shows 1 to 5).
const POINT kLensCentre = {585, 270};
const int kLensRadius = 225, kLineY = 230, kMm = 78, kZeroX = kLensCentre.x - 3 * kMm;
// The magnified ruler's top edge, where its ticks begin, and where a
// millimetre's tick ends.
const int kRulerTop = 200, kMmTickEnd = 262;

// A pen (none when width is 0) and a brush (none unless filled), selected
// while the shapes of one colour are drawn.
struct Paint {
    ScopedGdiObject<HPEN> pen;
    ScopedGdiObject<HBRUSH> brush;
    ScopedSelect selectPen, selectBrush;
    Paint(HDC dc, COLORREF line, int width, COLORREF fill, bool filled = true)
        : pen(width > 0 ? CreatePen(PS_SOLID, width, line) : nullptr),
          brush(filled ? CreateSolidBrush(fill) : nullptr),
          selectPen(dc, pen ? (HGDIOBJ)pen.Get() : GetStockObject(NULL_PEN)),
          selectBrush(dc, brush ? (HGDIOBJ)brush.Get() : GetStockObject(NULL_BRUSH))
    {
    }
};

void Line(HDC dc, int x1, int y1, int x2, int y2)
{
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}

void Text(HDC dc, const wchar_t *text, int x, int y, UINT align)
{
    SetTextAlign(dc, align);
    TextOutW(dc, x, y, text, lstrlenW(text));
}

// The USB microscope seen from the side, its cable, and the light it
// throws on a ruler.
void DrawMicroscope(HDC dc)
{
    {
        Paint cable(dc, kDark, 12, 0, false);
        const POINT curve[4] = {{160, 40}, {160, 0}, {80, 20}, {30, -10}};
        PolyBezier(dc, curve, 4);
    }
    {
        Paint light(dc, 0, 0, kLight);
        const POINT cone[4] = {{140, 342}, {180, 342}, {230, 420}, {90, 420}};
        Polygon(dc, cone, 4);
    }
    Paint body(dc, kDark, 4, kBody);
    RoundRect(dc, 110, 40, 210, 290, 40, 40);
    {
        Paint shine(dc, 0, 0, kShine);
        RoundRect(dc, 125, 60, 140, 270, 14, 14);
    }
    Paint dark(dc, kDark, 4, kDark);
    Rectangle(dc, 104, 180, 216, 205);
    const POINT nose[4] = {{120, 290}, {200, 290}, {185, 335}, {135, 335}};
    Polygon(dc, nose, 4);
    Paint lens(dc, kDark, 3, kLens);
    Ellipse(dc, 138, 328, 182, 344);
}

// The ruler under the microscope, and the lines that lead from the lit spot
// to the lens view.
void DrawRulerBelow(HDC dc)
{
    {
        Paint ruler(dc, kRulerEdge, 3, kRuler);
        Rectangle(dc, 15, 420, 325, 470);
    }
    Paint ticks(dc, kInk, 2, 0, false);
    for (int i = 0; 27 + 12 * i <= 315; i++)
        Line(dc, 27 + 12 * i, 420, 27 + 12 * i, i % 5 == 0 ? 444 : 434);
    Paint callout(dc, kCallout, 2, 0, false);
    Line(dc, 200, 420, 390, 158);
    Line(dc, 200, 420, 390, 382);
}

// The ruler as the lens shows it: ticks every half millimetre, numbered at
// each millimetre (0 to 6, of which the lens shows 1 to 5).
void DrawMagnifiedRuler(HDC dc)
{
    {
        Paint table(dc, 0, 0, kTable);
        Rectangle(dc, 350, 30, 820, 510);
        Paint ruler(dc, kRulerEdge, 4, kRuler);
        Rectangle(dc, 330, kRulerTop, 840, 400);
    }
    Paint ticks(dc, kInk, 5, 0, false);
    for (int half = 0; half <= 12; half++) {
        int x = kZeroX + half * kMm / 2;
        Line(dc, x, kRulerTop, x, half % 2 == 0 ? kMmTickEnd : 236);
        if (half % 2 == 0 && half >= 2 && half <= 10) { // the numbers the lens shows whole
            wchar_t number[4] = {(wchar_t)(L'0' + half / 2), 0};
            Text(dc, number, x, 296, TA_CENTER | TA_TOP);
        }
    }
}

// The calibration line across the ruler with its end marks on the ticks of
// 1 and 5 mm (drawn again over the marks, to show what they lie on), and at
// each end the arrows that say it can be dragged sideways.
void DrawCalibrationLine(HDC dc)
{
    int left = kZeroX + kMm, right = kZeroX + 5 * kMm;
    {
        Paint line(dc, kLine, 6, kLine);
        Line(dc, left, kLineY, right, kLineY);
        for (int x : {left, right}) {
            Line(dc, x, kLineY - 60, x, kLineY + 60);
            const POINT toLeft[3] = {{x - 36, kLineY}, {x - 14, kLineY - 13}, {x - 14, kLineY + 13}};
            const POINT toRight[3] = {{x + 36, kLineY}, {x + 14, kLineY - 13}, {x + 14, kLineY + 13}};
            Polygon(dc, toLeft, 3);
            Polygon(dc, toRight, 3);
        }
    }
    Paint tick(dc, kInk, 3, 0, false);
    for (int x : {left, right})
        Line(dc, x, kRulerTop, x, kMmTickEnd);
}

// The lens view: a round field of view with a rim.
void DrawLensView(HDC dc)
{
    int r = kLensRadius, x = kLensCentre.x, y = kLensCentre.y;
    SaveDC(dc);
    BeginPath(dc);
    Ellipse(dc, x - r, y - r, x + r, y + r);
    EndPath(dc);
    SelectClipPath(dc, RGN_AND);
    DrawMagnifiedRuler(dc);
    DrawCalibrationLine(dc);
    RestoreDC(dc, -1);
    Paint rim(dc, kDark, 10, 0, false);
    Ellipse(dc, x - r, y - r, x + r, y + r);
}

// The length field of the Calibration dialog with "4" typed and its caret,
// and the unit beside it.
void DrawTypedLength(HDC dc)
{
    {
        Paint field(dc, kFieldEdge, 3, kField);
        Rectangle(dc, 832, kLineY - 30, 902, kLineY + 26);
    }
    Text(dc, L"4", 888, kLineY + 14, TA_RIGHT | TA_BASELINE);
    Paint caret(dc, kInk, 3, 0, false);
    Line(dc, 893, kLineY - 20, 893, kLineY + 18);
    Text(dc, L"mm", 912, kLineY + 14, TA_LEFT | TA_BASELINE);
}

// The whole picture on dc, whose design space is mapped onto size (pixels).
void DrawPicture(HDC dc, SIZE size, HFONT dialogFont)
{
    RECT all = {0, 0, size.cx, size.cy};
    FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    SetMapMode(dc, MM_ISOTROPIC);
    SetWindowExtEx(dc, DESIGN_WIDTH, DESIGN_HEIGHT, nullptr);
    SetViewportExtEx(dc, size.cx, size.cy, nullptr);
    // Centred: the isotropic mapping keeps the shorter scale of the two.
    int scaled = MulDiv(DESIGN_WIDTH, size.cy, DESIGN_HEIGHT);
    if (scaled < size.cx)
        SetViewportOrgEx(dc, (size.cx - scaled) / 2, 0, nullptr);
    else
        SetViewportOrgEx(dc, 0, (size.cy - MulDiv(DESIGN_HEIGHT, size.cx, DESIGN_WIDTH)) / 2, nullptr);

    LOGFONTW face = {};
    GetObjectW(dialogFont ? (HGDIOBJ)dialogFont : GetStockObject(DEFAULT_GUI_FONT), sizeof face, &face);
    face.lfHeight = -40; // design units
    face.lfWidth = 0;
    face.lfWeight = FW_BOLD;
    ScopedGdiObject<HFONT> font(CreateFontIndirectW(&face));
    ScopedSelect selectFont(dc, font.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kInk);

    DrawMicroscope(dc);
    DrawRulerBelow(dc);
    DrawLensView(dc);
    DrawTypedLength(dc);
}

// A 32-bit top-down DIB section of that size and its pixels.
HBITMAP CreatePixels(HDC dc, SIZE size, uint32_t **pixels)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(dc, &info, DIB_RGB_COLORS, (void **)pixels, nullptr, 0);
}

// Each pixel of to (size) is the average of its SAMPLES x SAMPLES block of from.
void Downsample(const uint32_t *from, uint32_t *to, SIZE size)
{
    size_t fromWidth = (size_t)size.cx * SAMPLES;
    for (int y = 0; y < size.cy; y++) {
        for (int x = 0; x < size.cx; x++) {
            uint32_t sum[3] = {};
            for (int dy = 0; dy < SAMPLES; dy++) {
                const uint32_t *row = from + ((size_t)y * SAMPLES + dy) * fromWidth + (size_t)x * SAMPLES;
                for (int dx = 0; dx < SAMPLES; dx++)
                    for (int c = 0; c < 3; c++)
                        sum[c] += row[dx] >> (8 * c) & 0xFF;
            }
            uint32_t pixel = 0;
            for (int c = 0; c < 3; c++)
                pixel |= (sum[c] / (SAMPLES * SAMPLES)) << (8 * c);
            to[(size_t)y * size.cx + x] = pixel;
        }
    }
}

// Renders the picture into a new bitmap of that size; null when GDI cannot.
HBITMAP Render(HDC like, SIZE size, HFONT dialogFont)
{
    SIZE large = {size.cx * SAMPLES, size.cy * SAMPLES};
    HDC dc = CreateCompatibleDC(like);
    if (!dc)
        return nullptr;
    uint32_t *largePixels = nullptr, *pixels = nullptr;
    ScopedGdiObject<HBITMAP> largeBitmap(CreatePixels(dc, large, &largePixels));
    HBITMAP picture = largeBitmap ? CreatePixels(dc, size, &pixels) : nullptr;
    if (picture) {
        {
            ScopedSelect select(dc, largeBitmap.Get());
            DrawPicture(dc, large, dialogFont);
            GdiFlush();
        }
        Downsample(largePixels, pixels, size);
    }
    DeleteDC(dc);
    return picture;
}

// The picture as last rendered, kept while the dialog is open so that a
// repaint only copies it (a rendering takes about 20 ms at 96 DPI).
struct RenderedPicture {
    HBITMAP bitmap;
    SIZE size;
};
RenderedPicture gHowToPicture;

} // namespace

void HowToPicture_Draw(const DRAWITEMSTRUCT *item)
{
    SIZE size = {item->rcItem.right - item->rcItem.left, item->rcItem.bottom - item->rcItem.top};
    if (size.cx <= 0 || size.cy <= 0)
        return;
    if (!gHowToPicture.bitmap || size.cx != gHowToPicture.size.cx || size.cy != gHowToPicture.size.cy) {
        HowToPicture_Free();
        HFONT dialogFont = (HFONT)SendMessageW(GetParent(item->hwndItem), WM_GETFONT, 0, 0);
        gHowToPicture = {Render(item->hDC, size, dialogFont), size};
    }
    HDC dc = gHowToPicture.bitmap ? CreateCompatibleDC(item->hDC) : nullptr;
    if (!dc)
        return;
    {
        ScopedSelect select(dc, gHowToPicture.bitmap);
        BitBlt(item->hDC, item->rcItem.left, item->rcItem.top, size.cx, size.cy, dc, 0, 0, SRCCOPY);
    }
    DeleteDC(dc);
}

void HowToPicture_Free()
{
    if (gHowToPicture.bitmap)
        DeleteObject(gHowToPicture.bitmap);
    gHowToPicture = {};
}
