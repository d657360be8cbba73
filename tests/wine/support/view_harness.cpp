#include "view_harness.h"

#include "state/app_state.h"
#include "app/app_win.h"
#include "capture/camera_graph.h"
#include "capture/camera_state.h"
#include "base/sync.h"
#include "base/text.h"
#include "state/view_api.h"
#include "view/view_state.h"
#include "view/view_win.h"
#include "wine_support.h"

#include <gdiplus.h>
#include <dshow.h>
#include <qedit.h>

#include <algorithm>
#include <cstdlib>
#include <string>

std::vector<MSG> ViewHarness::posted;

// The DirectShow sample grabber, {C1F400A0-3F08-11D3-9F0B-006008039E37}.
static const CLSID kSampleGrabber = {0xC1F400A0, 0x3F08, 0x11D3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};

static LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND || message == 0x8005)
        ViewHarness::posted.push_back({window, message, wParam, lParam, 0, {}});
    return DefWindowProcW(window, message, wParam, lParam);
}

static void RegisterHost()
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ViewTestHostWndClass";
    RegisterClassW(&wc);
}

ViewHarness::ViewHarness(int width, int height, int lineWidth)
{
    RegisterHost();
    posted.clear();
    // The host's client area takes the view, whose client area is 2 pixels
    // smaller on every side (WS_EX_CLIENTEDGE).
    RECT frame = {0, 0, width + 4, height + 4};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    host = CreateWindowExW(0, L"ViewTestHostWndClass", L"view test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                           frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
    view = CreateWindowExW(WS_EX_CLIENTEDGE, L"CameraWndClass", L"",
                           WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_HSCROLL | WS_VSCROLL | WS_TABSTOP,
                           0, 0, width + 4, height + 4, host, (HMENU)108, GetModuleHandleW(nullptr),
                           nullptr);
    ShowScrollBar(view, SB_BOTH, FALSE);
    KillTimer(view, 16); // no camera of the machine is opened behind the test's back
    gApp.cameraView = view;
    Encoders_Find();
    ViewStyle style = {(int32_t)kGridColor, (int32_t)kLineColor, lineWidth, (int32_t)kTextColor, 10, 0};
    View_SetStyle(&style);
    PumpMessages(20);
}

ViewHarness::~ViewHarness()
{
    // Destroying the view frees the graph objects, the frame buffer and its
    // lock, as it does for a real preview.
    DestroyWindow(host);
    Camera_FreeGraph();
    gApp.cameraView = nullptr;
}

void ViewHarness::StartFrames(int width, int height)
{
    gCamera.frameHeader = {40, width, height, 1, 24, BI_RGB, (uint32_t)(width * height * 3), 0, 0, 0, 0};
    gCamera.frameSize = width * height * 3;
    gCamera.frameBuffer.assign((size_t)gCamera.frameSize, 0);
    gCamera.frameFresh = true; // the view takes it at its first paint
    for (int i = 0; i < gCamera.frameSize; i += 3) {
        gCamera.frameBuffer[i] = GetBValue(kFrameColor);
        gCamera.frameBuffer[i + 1] = GetGValue(kFrameColor);
        gCamera.frameBuffer[i + 2] = GetRValue(kFrameColor);
    }
    gCamera.frameLock = Lock_Create();
    CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                     (void **)&gCamera.graph);
    CoCreateInstance(kSampleGrabber, nullptr, CLSCTX_INPROC_SERVER, IID_ISampleGrabber,
                     (void **)&gCamera.grabber);
    View_SetFrameFormat();
    PumpMessages(20); // the posted WM_SIZE
}

void ViewHarness::Paint() const
{
    InvalidateRect(view, nullptr, FALSE);
    UpdateWindow(view);
}

static COLORREF Colour(uint32_t pixel)
{
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

// The pixels are read as a snapshot takes them, the whole back buffer
// composed: the view's composition draws only the part the window shows.
COLORREF ViewHarness::Pixel(int x, int y) const
{
    int width, height;
    const uint32_t *pixels = View_BackPixels(&width, &height);
    if (!pixels || x < 0 || y < 0 || x >= width || y >= height)
        return CLR_INVALID;
    return Colour(pixels[(size_t)y * width + x]);
}

// 32-bit 0x00RRGGBB pixels of a bitmap, top-down, as COLORREFs.
static std::vector<COLORREF> ReadPixels(HDC dc, HBITMAP bitmap, int width, int height)
{
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<COLORREF> pixels((size_t)width * height);
    GetDIBits(dc, bitmap, 0, (UINT)height, pixels.data(), &info, DIB_RGB_COLORS);
    for (COLORREF &p : pixels)
        p = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    return pixels;
}

int ViewHarness::Count(COLORREF color, RECT area) const
{
    int width, height;
    const uint32_t *pixels = View_BackPixels(&width, &height);
    int n = 0;
    for (int y = std::max<LONG>(area.top, 0); pixels && y < std::min<LONG>(area.bottom, height); y++)
        for (int x = std::max<LONG>(area.left, 0); x < std::min<LONG>(area.right, width); x++)
            n += Colour(pixels[(size_t)y * width + x]) == color;
    return n;
}

std::vector<COLORREF> ViewHarness::PaintClient(int *width, int *height, const wchar_t *screenshot) const
{
    Paint(); // fetches the frame into the view's copy
    RECT client;
    GetClientRect(view, &client);
    *width = client.right, *height = client.bottom;
    HDC screen = GetDC(view);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, *width, *height);
    ReleaseDC(view, screen);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    View_PaintBackground(dc);
    View_Compose(dc);
    SelectObject(dc, previous);
    std::vector<COLORREF> pixels = ReadPixels(dc, bitmap, *width, *height);
    if (screenshot)
        SaveBitmapPng(bitmap, screenshot);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return pixels;
}

void ViewHarness::Press(int x, int y) const
{
    SendMessageW(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
}

void ViewHarness::MoveTo(int x, int y, bool button) const
{
    SendMessageW(view, WM_MOUSEMOVE, button ? MK_LBUTTON : 0, MAKELPARAM(x, y));
}

void ViewHarness::Release(int x, int y) const
{
    SendMessageW(view, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void ViewHarness::Key(int key) const
{
    SendMessageW(view, WM_KEYDOWN, (WPARAM)key, 0);
}

void ViewHarness::Drag(int x1, int y1, int x2, int y2) const
{
    Press(x1, y1);
    MoveTo((x1 + x2) / 2, (y1 + y2) / 2);
    MoveTo(x2, y2);
    Release(x2, y2);
}

bool SaveBitmapPng(HBITMAP bitmap, const wchar_t *name)
{
    using namespace Gdiplus::DllExports;
    CreateDirectoryW(L"screenshots", nullptr);
    std::wstring path = std::wstring(L"screenshots\\") + name + L".png";
    Gdiplus::GpBitmap *image = nullptr;
    if (GdipCreateBitmapFromHBITMAP(bitmap, nullptr, &image) != Gdiplus::Ok)
        return false;
    Gdiplus::GpStatus status =
        GdipSaveImageToFile(image, path.c_str(), (const CLSID *)&gApp.pngEncoder, nullptr);
    GdipDisposeImage(image);
    return status == Gdiplus::Ok;
}

void ViewHarness::Screenshot(const wchar_t *name) const
{
    int width, height;
    View_BackPixels(&width, &height);
    SaveBitmapPng(gView.backBitmap, name);
}

MeasureItem BenchItem(int i)
{
    MeasureItem item = {};
    const int kinds[] = {ITEM_LINE, ITEM_POINT_LINE, ITEM_RECTANGLE, ITEM_CIRCLE, ITEM_ANGLE, ITEM_FREEHAND, ITEM_TEXT};
    item.kind = kinds[i % 7];
    int x = 40 + (i * 173) % 1700, y = 40 + (i * 97) % 950;
    item.x1 = x, item.y1 = y, item.x2 = x + 60 + i % 40, item.y2 = y + 30 + i % 25;
    item.x3 = x + 20, item.y3 = y + 70;
    if (item.kind == ITEM_FREEHAND)
        for (int k = 0; k < 20; k++)
            item.points.push_back({x + 4 * k, y + (k % 4) * 5});
    if (item.kind == ITEM_TEXT)
        Text_Copy(item.text, ITEM_TEXT_CAPACITY, L"Specimen 12");
    MeasureItem_UpdateHitRects(&item);
    return item;
}
