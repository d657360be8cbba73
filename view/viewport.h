// The view's viewport: zoom, scroll bars, window-to-image mapping, panning
// and where the frame and its margins go in the window.
#pragma once
#include "base/geometry.h"

// The zoom that fits an image into a client area: the smaller ratio in
// percent, truncated, kept within 50..200.
int View_FitZoom(int clientWidth, int clientHeight, int imageWidth, int imageHeight);
// imageSize x (zoom / 100) in single precision, truncated.
int View_ZoomedSize(int imageSize, int zoom);

// Command 8003: 50..200 is taken as it is, anything else fits.
void View_ApplyZoom(int percent);
// Shows or hides the bars as the display size needs and sets their ranges.
void View_UpdateScrollBars();
// WM_HSCROLL / WM_VSCROLL with the request code and the thumb position.
void View_Scroll(int bar, int code, int thumbPosition);
void View_CentreScroll();
// WM_SIZE; synthetic is the lParam-0 message posted after a format change.
void View_OnSize(bool synthetic);

// A client-area point in image pixels, through the zoom; true when it lies
// inside the image.
bool View_MapPoint(Point *out, const Rect &client, int x, int y);
// Back-buffer pixels per image pixel on the screen: the zoom / 100.
double View_DrawScale();
// A length on the screen (a handle, a grab box) in image pixels of the
// composition being drawn (gView.drawScale), at least 1.
int View_ScreenToImagePixels(int screenPixels);
// Command 8003 with the image point under the client point (x, y) kept
// under it (Ctrl+wheel).
void View_ZoomAbout(int percent, int x, int y);
// The mouse wheel (delta in WHEEL_DELTA units of 120): scrolls a picture
// larger than the view, vertically or, sideways (Shift), horizontally.
void View_Wheel(int delta, bool sideways);
// Scrolls the picture with the pointer from gView.lastPoint to (x, y)
// (window coordinates). The caller then stores (x, y) as lastPoint.
void View_Pan(int x, int y);

// The background of the client area: grey margins and the black border
// around the frame, or the whole client area when there is no frame.
struct BackgroundLayout {
    int greyCount;
    Rect grey[4];
    int blackCount;
    Rect black[4];
};
BackgroundLayout View_BackgroundLayout(int clientWidth, int clientHeight, int displayWidth,
                                       int displayHeight);

// Where the back buffer goes in the window (BitBlt), per axis.
struct BlitSpan {
    int destination, source, length;
};
BlitSpan View_BlitSpan(bool barShown, int clientSize, int displaySize, int scroll);
