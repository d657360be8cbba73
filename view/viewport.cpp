#include "view/viewport.h"

#include "view/view_platform.h"
#include "view/view_state.h"

#include "view/measure_item.h"
#include "view/overlays.h"

#include <algorithm>
#include <cmath>

int View_FitZoom(int clientWidth, int clientHeight, int imageWidth, int imageHeight)
{
    if (imageWidth <= 0 || imageHeight <= 0)
        return 100; // nothing to fit: the zoom of the no-camera state
    float rw = (float)clientWidth / (float)imageWidth;
    float rh = (float)clientHeight / (float)imageHeight;
    double percent = std::min(rw, rh) * 100.0;
    // Limits first, so that no out-of-range value is ever converted.
    if (percent < 50.0)
        return 50;
    if (percent > 200.0)
        return 200;
    return (int)percent;
}

int View_ZoomedSize(int imageSize, int zoom)
{
    return (int)((float)imageSize * ((float)zoom / 100.0f));
}

void View_ApplyZoom(int percent)
{
    int zoom;
    if (percent >= 50 && percent <= 200) {
        gView.fitToWindow = false;
        zoom = percent;
    } else {
        gView.fitToWindow = true;
        Rect client = View_ClientRect();
        zoom = View_FitZoom(client.right - client.left, client.bottom - client.top,
                            gView.imageWidth, gView.imageHeight);
    }
    if (zoom == gView.zoom)
        return;
    gView.zoom = zoom;
    gView.drawScale = View_DrawScale();
    // Labels keep their size on the screen and the ruler its spacing there:
    // both change in image pixels.
    View_RecomputeRulerStep();
    for (MeasureItem &item : gView.items)
        MeasureItem_UpdateHitRects(&item);
    if (gView.fitToWindow)
        View_PostZoomChanged();
    gView.displayWidth = View_ZoomedSize(gView.imageWidth, zoom);
    gView.displayHeight = View_ZoomedSize(gView.imageHeight, zoom);
    if (gView.backBitmap)
        View_DestroyBackBuffer(); // the next composition makes it at the new size
    View_UpdateScrollBars();
    View_Invalidate(false);
}

static void SetBar(int bar, bool needed, bool *shown, int clientSize, int displaySize, int position)
{
    if (needed != *shown) {
        *shown = needed;
        View_ShowScrollBar(bar, needed);
    }
    if (needed) {
        int page = std::min(clientSize / 3, 50);
        View_SetScrollRange(bar, page, displaySize + page - clientSize - 1, position);
    }
}

static int Clamp(int value, int maximum)
{
    return std::max(std::min(value, maximum), 0);
}

void View_UpdateScrollBars()
{
    int barWidth = 0, barHeight = 0;
    View_ScrollBarSizes(&barWidth, &barHeight);
    Rect client = View_ClientRect();
    // The client size without bars, then with the bars this display size needs;
    // the vertical bar can make the horizontal one necessary.
    int width = client.right - client.left + (gView.vScrollShown ? barWidth : 0);
    int height = client.bottom - client.top + (gView.hScrollShown ? barHeight : 0);
    bool needH = gView.displayWidth > width;
    if (needH)
        height -= barHeight;
    bool needV = gView.displayHeight > height;
    if (needV) {
        width -= barWidth;
        if (gView.displayWidth > width && !needH) {
            needH = true;
            height -= barHeight;
        }
    }
    gView.scrollX = Clamp(gView.scrollX, gView.displayWidth - width);
    gView.scrollY = Clamp(gView.scrollY, gView.displayHeight - height);
    SetBar(SCROLL_HORZ, needH, &gView.hScrollShown, width, gView.displayWidth, gView.scrollX);
    SetBar(SCROLL_VERT, needV, &gView.vScrollShown, height, gView.displayHeight, gView.scrollY);
}

static int ScrollTarget(int code, int current, int thumbPosition, int range)
{
    switch (code) {
    case 0: return current - 5;   // SB_LINEUP
    case 1: return current + 5;   // SB_LINEDOWN
    case 2: return current - 50;  // SB_PAGEUP
    case 3: return current + 50;  // SB_PAGEDOWN
    case 4:                       // SB_THUMBPOSITION
    case 5: return thumbPosition; // SB_THUMBTRACK
    case 6: return 0;             // SB_TOP
    case 7: return range;         // SB_BOTTOM
    }
    return current;
}

void View_Scroll(int bar, int code, int thumbPosition)
{
    Rect client = View_ClientRect();
    bool horizontal = bar == SCROLL_HORZ;
    int *position = horizontal ? &gView.scrollX : &gView.scrollY;
    int range = horizontal ? gView.displayWidth - (client.right - client.left)
                           : gView.displayHeight - (client.bottom - client.top);
    int target = std::min(std::max(ScrollTarget(code, *position, thumbPosition, range), 0), range);
    if (target == *position)
        return;
    *position = target;
    View_SetScrollPosition(bar, target);
    View_Recompose();
}

void View_CentreScroll()
{
    Rect client = View_ClientRect();
    int width = client.right - client.left, height = client.bottom - client.top;
    if (width < gView.displayWidth) {
        gView.scrollX = (gView.displayWidth - width) / 2;
        View_SetScrollPosition(SCROLL_HORZ, gView.scrollX);
    }
    if (height < gView.displayHeight) {
        gView.scrollY = (gView.displayHeight - height) / 2;
        View_SetScrollPosition(SCROLL_VERT, gView.scrollY);
    }
}

void View_OnSize(bool synthetic)
{
    if (synthetic)
        View_CentreScroll();
    if (gView.fitToWindow)
        View_ApplyZoom(0);
    View_UpdateScrollBars();
}

// Display pixels to image pixels and back, per axis (the same at 100 %).
static int ToImage(int d, int displaySize, int imageSize)
{
    if (displaySize <= 0 || displaySize == imageSize)
        return d;
    return (int)std::floor((double)d * imageSize / displaySize);
}

static int ToDisplay(int i, int displaySize, int imageSize)
{
    if (imageSize <= 0 || displaySize == imageSize)
        return i;
    return (int)std::lround((i + 0.5) * displaySize / imageSize);
}

// Where the display's left (top) edge lies in the client area: centred in a
// wider client, else scrolled.
static int DisplayOrigin(int clientSize, int displaySize, int scroll)
{
    return displaySize < clientSize ? (clientSize - displaySize) / 2 : -scroll;
}

bool View_MapPoint(Point *out, const Rect &client, int x, int y)
{
    int dx = x - DisplayOrigin(client.right, gView.displayWidth, gView.scrollX);
    int dy = y - DisplayOrigin(client.bottom, gView.displayHeight, gView.scrollY);
    int px = ToImage(dx, gView.displayWidth, gView.imageWidth);
    int py = ToImage(dy, gView.displayHeight, gView.imageHeight);
    *out = {px, py};
    return px >= 0 && px < gView.imageWidth && py >= 0 && py < gView.imageHeight;
}

double View_DrawScale()
{
    return gView.zoom > 0 ? gView.zoom / 100.0 : 1.0;
}

int View_ScreenToImagePixels(int screenPixels)
{
    return std::max(1, (int)std::lround(screenPixels / gView.drawScale));
}

// The scroll position that puts display pixel d at client position c.
static int ScrollFor(int d, int c)
{
    return d - c;
}

void View_ZoomAbout(int percent, int x, int y)
{
    percent = std::clamp(percent, 50, 200);
    if (percent == gView.zoom || gView.imageWidth <= 0)
        return;
    Rect client = View_ClientRect();
    Point at;
    View_MapPoint(&at, client, x, y);
    View_ApplyZoom(percent);
    View_PostZoomChanged();
    gView.scrollX = ScrollFor(ToDisplay(at.x, gView.displayWidth, gView.imageWidth), x);
    gView.scrollY = ScrollFor(ToDisplay(at.y, gView.displayHeight, gView.imageHeight), y);
    View_UpdateScrollBars(); // clamps them into their ranges
    View_Invalidate(false);
}

void View_Wheel(int delta, bool sideways)
{
    enum { NOTCH = 120, NOTCH_PIXELS = 60, SB_THUMBPOSITION_CODE = 4 };
    if (!(sideways ? gView.hScrollShown : gView.vScrollShown))
        return;
    int position = sideways ? gView.scrollX : gView.scrollY;
    View_Scroll(sideways ? SCROLL_HORZ : SCROLL_VERT, SB_THUMBPOSITION_CODE,
                position - delta * NOTCH_PIXELS / NOTCH);
}

void View_Pan(int x, int y)
{
    if (Point{x, y} == gView.lastPoint)
        return;
    Rect client = View_ClientRect();
    int width = client.right - client.left, height = client.bottom - client.top;
    bool changed = false;
    if (gView.displayWidth > width) {
        int n = Clamp(gView.scrollX - (x - gView.lastPoint.x), gView.displayWidth - width);
        if (n != gView.scrollX) {
            gView.scrollX = n;
            View_SetScrollPosition(SCROLL_HORZ, n);
            changed = true;
        }
    }
    if (gView.displayHeight > height) {
        int n = Clamp(gView.scrollY + gView.lastPoint.y - y, gView.displayHeight - height);
        if (n != gView.scrollY) {
            gView.scrollY = n;
            View_SetScrollPosition(SCROLL_VERT, n);
            changed = true;
        }
    }
    if (changed)
        View_Recompose();
}

BackgroundLayout View_BackgroundLayout(int cw, int ch, int dw, int dh)
{
    BackgroundLayout layout = {};
    int left = (cw - dw) / 2, right = (cw + dw) / 2;
    int top = (ch - dh) / 2, bottom = (ch + dh) / 2;
    if (dw < cw) {
        layout.grey[layout.greyCount++] = {0, 0, left, ch};
        layout.grey[layout.greyCount++] = {right, 0, cw, ch};
    }
    if (dh < ch) {
        layout.grey[layout.greyCount++] = {0, 0, cw, top};
        layout.grey[layout.greyCount++] = {0, bottom, cw, ch};
    }
    if (dw < cw) {
        int from = top < 3 ? 0 : top - 3, to = std::min(ch, bottom + 3);
        layout.black[layout.blackCount++] = {left - 3, from, left, to};
        layout.black[layout.blackCount++] = {right, from, right + 3, to};
    }
    if (dh < ch) {
        int from = left < 3 ? 0 : left - 3, to = std::min(cw, right + 3);
        layout.black[layout.blackCount++] = {from, top - 3, to, top};
        layout.black[layout.blackCount++] = {from, bottom, to, bottom + 3};
    }
    return layout;
}

BlitSpan View_BlitSpan(bool barShown, int clientSize, int displaySize, int scroll)
{
    if (barShown)
        return {0, scroll, clientSize};
    return {(clientSize - displaySize) / 2, 0, displaySize};
}
