// The camera view window (CameraWndClass) and its paint pipeline.
#pragma once
#include <windows.h>
#include <cstdint>

LRESULT CALLBACK CameraWnd_Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Renders frame, overlays and items into the back buffer (made on first use
// at the display size) and copies its visible part to hdc.
void View_Compose(HDC hdc);
// Paints what of the client area is not frame: margins and border, or the
// no-camera placeholder.
void View_PaintBackground(HDC hdc);
// The back buffer's pixels as last composed, with every drawing finished:
// top-down rows of width 32-bit pixels (blue, green, red, unused byte);
// null when there is no back buffer.
const uint32_t *View_BackPixels(int *width, int *height);

// The picture at its own size, composed apart from the screen's back buffer,
// with the overlays and items drawn at picture scale (labels at the size the
// screen shows them at 100 %): what a snapshot saves whatever the zoom.
// Its bitmap and DC go with the record.
struct PictureComposition {
    HBITMAP bitmap = nullptr;
    HDC dc = nullptr;
    HGDIOBJ previous = nullptr;
    const uint32_t *pixels = nullptr; // top-down rows, as View_BackPixels
    int width = 0, height = 0;
    PictureComposition() = default;
    PictureComposition(const PictureComposition &) = delete;
    PictureComposition &operator=(const PictureComposition &) = delete;
    ~PictureComposition();
};
// Composes the newest frame the view copied, numbered: with the items'
// numbers whether or not the view shows them; false without a back buffer
// (its drawing objects are lent) or when GDI refuses.
bool View_ComposePicture(PictureComposition *picture, bool numbered);
