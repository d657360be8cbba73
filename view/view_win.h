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
