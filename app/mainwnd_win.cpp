// The main window procedure and its command routing.
#include "app/mainwnd_win.h"

#include "app/app_state.h"
#include "app/commands.h"

static const int MIN_TRACK_WIDTH = 798;
static const int MIN_TRACK_HEIGHT = 520;

HWND MainWnd_Create(HINSTANCE instance)
{
    return CreateWindowExW(0, L"QuorellWndClass", L"Quorell", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance,
                           nullptr);
}

void MainWnd_PostCommand(int id)
{
    if (gApp.mainWindow)
        PostMessageW(gApp.mainWindow, WM_COMMAND, (WPARAM)id, 0);
}

void Panel_PostCommand(int id)
{
    if (gApp.controlPanel)
        PostMessageW(gApp.controlPanel, WM_COMMAND, (WPARAM)id, 0);
}

static LRESULT OnCommand(HWND window, WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case CMD_CLOSE_PROGRAM:
        DestroyWindow(window);
        return 0;
    }
    return DefWindowProcW(window, WM_COMMAND, wParam, lParam);
}

LRESULT CALLBACK MainWnd_Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        gApp.mainWindow = window;
        return 0;
    case WM_GETMINMAXINFO: {
        auto *info = (MINMAXINFO *)lParam;
        info->ptMinTrackSize.x = MIN_TRACK_WIDTH;
        info->ptMinTrackSize.y = MIN_TRACK_HEIGHT;
        return 0;
    }
    case WM_COMMAND:
        return OnCommand(window, wParam, lParam);
    case WM_DESTROY:
        gApp.mainWindow = nullptr;
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
