// A camera view hosted by a test top-level window, fed with synthetic frames
// as a running preview would deliver them.
#pragma once
#include "view/measure_item.h"

#include <windows.h>
#include <vector>

// Colours of the style the harness gives the view, and of the frame.
const COLORREF kGridColor = RGB(0, 255, 0);
const COLORREF kLineColor = RGB(255, 0, 0);
const COLORREF kTextColor = RGB(255, 255, 255);
const COLORREF kFrameColor = RGB(40, 40, 90);

struct ViewHarness {
    HWND host = nullptr;
    HWND view = nullptr;

    // A view whose client area is width x height (without scroll bars).
    ViewHarness(int width, int height, int lineWidth = 1);
    ~ViewHarness();

    // Starts a "preview" of RGB24 frames of that size in kFrameColor: the
    // frame buffer, its lock and real graph and grabber objects in gCamera
    // (owned there), then adopts the format.
    void StartFrames(int width, int height);
    // Paints the view now (WM_PAINT: frame copy and composition).
    void Paint() const;
    // The back buffer's pixel, the whole of it composed as for a snapshot
    // (a composition draws only what the window shows).
    COLORREF Pixel(int x, int y) const;
    // How many back-buffer pixels in the rectangle have exactly that colour
    // (the whole composed, as for Pixel).
    int Count(COLORREF color, RECT area) const;
    // Background and composition of the whole client area into a bitmap,
    // read back as pixels (top-down rows); optionally saved as a screenshot.
    std::vector<COLORREF> PaintClient(int *width, int *height, const wchar_t *screenshot = nullptr) const;

    // Real pointer and key messages in view client coordinates.
    void Press(int x, int y) const;
    void MoveTo(int x, int y, bool button = true) const;
    void Release(int x, int y) const;
    void Key(int key) const;
    void Drag(int x1, int y1, int x2, int y2) const;

    // The back buffer, the whole composed, as a PNG in screenshots/ of the
    // build tree.
    void Screenshot(const wchar_t *name) const;

    static std::vector<MSG> posted; // messages posted to the host window
};

// PNG of a bitmap; false when GDI+ could not save it.
bool SaveBitmapPng(HBITMAP bitmap, const wchar_t *name);

// Item i of a mix of every kind spread over a 1920 x 1080 picture, as the
// benchmarks draw them.
MeasureItem BenchItem(int i);
