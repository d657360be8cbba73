// The camera view's window procedure: messages to the portable view code,
// the paint, and the window's own fonts.
#include "view/view_win.h"

#include "base/commands.h"
#include "base/scoped_win.h"
#include "capture/camera_graph.h"
#include "capture/camera_state.h"
#include "capture/frame_pipeline.h"
#include "view/device_events.h"
#include "view/editing.h"
#include "state/view_api.h"
#include "view/view_commands.h"
#include "view/view_device_win.h"
#include "view/view_platform.h"
#include "view/view_source.h"
#include "view/view_state.h"
#include "view/viewport.h"

#include <windowsx.h>

static HFONT CreatePlaceholderFont(HWND window)
{
    LOGFONTW font = {};
    font.lfHeight = -MulDiv(18, GetDeviceCaps(ScopedWindowDC(window).Get(), LOGPIXELSY), 72);
    lstrcpyW(font.lfFaceName, L"Tohoma"); // spelled so; the system substitutes a face
    return CreateFontIndirectW(&font);
}

static void OnPaint(HWND window)
{
    PAINTSTRUCT paint;
    HDC hdc = BeginPaint(window, &paint);
    View_PaintBackground(hdc);
    // A held or still picture is composed from the view's picture as it is.
    if (!gView.frameBits.empty() && (gView.source != VIEW_LIVE || gCamera.grabber)) {
        View_RefreshStillEffect();
        if (gView.source != VIEW_LIVE || Camera_TakeFrame(&gView.frameBits))
            View_Compose(hdc);
    }
    EndPaint(window, &paint);
}

enum { DEVICE_TIMER = 16, DEVICE_TIMER_PERIOD = 100 };

static void OnCreate(HWND window)
{
    Camera_Init(window);
    View_Init(window);
    gView.placeholderFont = CreatePlaceholderFont(window);
    gView.deviceDelay = DEVICE_DELAY_AT_CREATION;
    View_RegisterDeviceNotifications(window);
    SetTimer(window, DEVICE_TIMER, DEVICE_TIMER_PERIOD, nullptr);
}

static void OnDestroy(HWND window)
{
    View_UnregisterDeviceNotifications();
    Camera_FreeDevices();
    View_Reset();
    Camera_StopPreview();
    Camera_FreeGraph();
    KillTimer(window, DEVICE_TIMER);
    if (gView.placeholderFont)
        DeleteObject(gView.placeholderFont);
    gView.placeholderFont = nullptr;
    gView.hwnd = nullptr;
}

// The commands of camera opening: the view posts 3 and 11 to itself; the
// main window sends 4 after a resolution or compression change.
static bool OnDeviceCommand(HWND window, int command)
{
    switch (command) {
    case CMD_VIEW_CHECK_DEVICE:
        View_CheckDevice(window);
        return true;
    case CMD_VIEW_RESTART:
        View_RestartPreview(window);
        return true;
    case CMD_OPEN_DEVICE_OR_SNAPSHOT_KEY:
        View_OpenDevice(window);
        return true;
    }
    return false;
}

// Ctrl+wheel zooms about the pointer, 10 % a notch; the wheel scrolls a
// picture larger than the view, sideways with Shift or a tilting wheel.
static void OnWheel(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    int delta = GET_WHEEL_DELTA_WPARAM(wParam);
    WORD keys = GET_KEYSTATE_WPARAM(wParam);
    if (message == WM_MOUSEWHEEL && (keys & MK_CONTROL)) {
        POINT p = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; // screen coordinates
        ScreenToClient(window, &p);
        View_ZoomAbout(gView.zoom + delta * 10 / WHEEL_DELTA, p.x, p.y);
        return;
    }
    bool tilted = message == WM_MOUSEHWHEEL; // positive: to the right
    View_Wheel(tilted ? -delta : delta, tilted || (keys & MK_SHIFT));
}

LRESULT CALLBACK CameraWnd_Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        OnCreate(window);
        return 0;
    case WM_DESTROY:
        OnDestroy(window);
        return 0;
    case WM_SIZE:
        View_OnSize(lParam == 0);
        return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
        View_Scroll(message == WM_HSCROLL ? SCROLL_HORZ : SCROLL_VERT, LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_PAINT:
        OnPaint(window);
        return 0;
    case WM_COMMAND:
        if (OnDeviceCommand(window, LOWORD(wParam)) || View_Command(LOWORD(wParam), lParam))
            return 0;
        break;
    case WM_TIMER:
        View_OnDeviceTimer(window);
        return 0;
    case WM_DEVICECHANGE:
        View_OnDeviceChange(window, wParam, lParam);
        return TRUE;
    case WM_CAMERA_EVENT:
        View_DrainGraphEvents();
        return 0;
    case WM_CAMERA_STARTED:
    case WM_CAMERA_STOPPED:
    case WM_CAMERA_STILL:
        PostMessageW(GetParent(window), message, 0, 0);
        return 0;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
        OnWheel(window, message, wParam, lParam);
        return 0;
    case WM_LBUTTONDBLCLK:
        // Anything but a text item takes the second click as a press.
        if (View_DoubleClick(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)))
            return 0;
        [[fallthrough]];
    case WM_LBUTTONDOWN:
        View_ButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_MOUSEMOVE:
        View_PointerMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), (wParam & MK_LBUTTON) != 0);
        return 0;
    case WM_LBUTTONUP:
        View_ButtonUp();
        return 0;
    case WM_CAPTURECHANGED:
        View_CaptureLost();
        return 0;
    case WM_KEYDOWN:
        // A held key repeats its key-down (bit 30: the key was down already);
        // one press is one action, or holding Space would write snapshot
        // after snapshot.
        if (!(lParam & (1 << 30)))
            View_KeyDown((int)wParam);
        return 0;
    case WM_PALETTECHANGED:
        if ((HWND)wParam == window)
            break;
        [[fallthrough]];
    case WM_QUERYNEWPALETTE:
        InvalidateRect(window, nullptr, TRUE);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
