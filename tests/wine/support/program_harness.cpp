#include "program_harness.h"

#include "state/app_state.h"
#include "app/app_win.h"
#include "app/mainwnd_win.h"
#include "state/message_routing_win.h"
#include "state/settings.h"
#include "capture/camera_graph.h"
#include "rig_api.h"
#include "rig_graph.h"
#include "view_harness.h"
#include "view/view_state.h"

#include <commctrl.h>

ProgramHarness::ProgramHarness()
{
    Encoders_Find();
    Open();
}

void ProgramHarness::Open()
{
    Settings_Load();
    lstrcpynW(gSettings.imageFolder, images.path.c_str(), PATH_CAPACITY);
    gSettings.firstUse = 0; // no how-to dialog at the start: the tests that want it open it
    gApp.instance = GetModuleHandleW(nullptr);
    main = MainWnd_Create((HINSTANCE)gApp.instance);
    ShowWindow(main, SW_SHOWMAXIMIZED);
    UpdateWindow(main);
}

void ProgramHarness::Restart()
{
    DestroyWindow(main);
    PumpMessages(50);
    Open();
}

ProgramHarness::~ProgramHarness()
{
    if (IsWindow(main))
        DestroyWindow(main);
    PumpMessages(50);
}

// As the program's main loop: a key for a dialog goes through its keyboard
// navigation, so Enter, Escape and Tab work in the modeless dialogs.
void ProgramHarness::Run(DWORD milliseconds) const
{
    PumpMessages(milliseconds, App_DispatchMessage);
}

bool ProgramHarness::StartCamera()
{
    if (!Devices_Has(L"Quorell Virtual Microscope"))
        Rig_Plug(0);
    return WaitForCamera();
}

bool ProgramHarness::WaitForCamera(DWORD timeout)
{
    for (DWORD waited = 0; waited < timeout; waited += 20) {
        PumpMessages(20);
        if (Camera_IsOpen() && gView.backBitmap && gView.imageWidth > 0)
            return true;
    }
    return false;
}

void ProgramHarness::Click(int command) const
{
    RECT r = {};
    SendMessageW(gApp.toolbar, TB_GETRECT, command, (LPARAM)&r);
    LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageW(gApp.toolbar, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(gApp.toolbar, WM_LBUTTONUP, 0, at);
    PumpMessages(30);
}

bool ProgramHarness::Checked(int command) const
{
    return (SendMessageW(gApp.toolbar, TB_GETSTATE, command, 0) & TBSTATE_CHECKED) != 0;
}

std::wstring ProgramHarness::StatusText(int part) const
{
    wchar_t text[256] = L"";
    SendMessageW(gApp.statusBar, SB_GETTEXTW, part, (LPARAM)text);
    return text;
}

// The inverse of View_MapPoint.
POINT ProgramHarness::ViewPoint(int x, int y) const
{
    RECT client;
    GetClientRect(gApp.cameraView, &client);
    POINT p = {x - gView.scrollX, y - gView.scrollY};
    if (gView.imageWidth < client.right)
        p.x += (client.right - gView.imageWidth) / 2;
    if (gView.imageHeight < client.bottom)
        p.y += (client.bottom - gView.imageHeight) / 2;
    return p;
}

void ProgramHarness::Drag(int imageX1, int imageY1, int imageX2, int imageY2) const
{
    HWND view = gApp.cameraView;
    POINT from = ViewPoint(imageX1, imageY1), to = ViewPoint(imageX2, imageY2);
    int x1 = from.x, y1 = from.y, x2 = to.x, y2 = to.y;
    SendMessageW(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x1, y1));
    SendMessageW(view, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM((x1 + x2) / 2, (y1 + y2) / 2));
    SendMessageW(view, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x2, y2));
    SendMessageW(view, WM_LBUTTONUP, 0, MAKELPARAM(x2, y2));
}

bool ProgramHarness::Screenshot(const wchar_t *name) const
{
    return Window_Screenshot(main, name);
}

bool Window_Screenshot(HWND window, const wchar_t *name)
{
    // The window's part of the screen (a maximised window reaches past its edges).
    RECT r;
    GetWindowRect(window, &r);
    r.left = r.left < 0 ? 0 : r.left;
    r.top = r.top < 0 ? 0 : r.top;
    r.right = r.right > GetSystemMetrics(SM_CXSCREEN) ? GetSystemMetrics(SM_CXSCREEN) : r.right;
    r.bottom = r.bottom > GetSystemMetrics(SM_CYSCREEN) ? GetSystemMetrics(SM_CYSCREEN) : r.bottom;
    int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);
    bool saved = SaveBitmapPng(bitmap, name);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return saved;
}
