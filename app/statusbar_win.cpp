#include "app/statusbar_win.h"

#include "state/app_state.h"
#include "app/mainwnd_logic.h"
#include "base/text.h"
#include "state/view_api.h"
#include "view/view_state.h"

#include <commctrl.h>

enum { STATUS_BAR_ID = 111, ZOOM_SLIDER_ID = 100, ZOOM_MIN = 50, ZOOM_MAX = 200 };

void StatusBar_SetText(int part, const wchar_t *text)
{
    SendMessageW(gApp.statusBar, SB_SETTEXTW, (WPARAM)part, (LPARAM)text);
}

// The slider's scroll notifications pass through the status bar on their way
// to its own handling; a new position zooms the view, and the end of the
// slider's use returns the focus to the view.
static LRESULT CALLBACK StatusBarSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR, DWORD_PTR)
{
    if (message == WM_HSCROLL && (HWND)lParam == gApp.zoomSlider) {
        int code = LOWORD(wParam);
        int position = (code == TB_THUMBPOSITION || code == TB_THUMBTRACK)
                           ? (int)HIWORD(wParam)
                           : (int)SendMessageW(gApp.zoomSlider, TBM_GETPOS, 0, 0);
        if (position != gView.zoom) {
            View_SetZoom(position);
            wchar_t text[STATUS_TEXT_CAPACITY];
            Text_Format(text, STATUS_TEXT_CAPACITY, L"%d%%", position);
            StatusBar_SetText(4, text);
        }
        // The slider took the focus with the click; the view needs it back
        // for Space and Delete.
        if (code == TB_ENDTRACK && gApp.cameraView)
            SetFocus(gApp.cameraView);
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

void StatusBar_Create(HWND parent, HINSTANCE instance)
{
    gApp.statusBar = CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                                     0, 0, 0, 0, parent, (HMENU)(INT_PTR)STATUS_BAR_ID, instance, nullptr);
    RECT client;
    GetClientRect(parent, &client);
    StatusBar_Layout(client.right);
    StatusBar_SetText(4, L"100%");
    RECT bar;
    GetWindowRect(gApp.statusBar, &bar);
    gApp.statusBarHeight = bar.bottom - bar.top - 1;

    gApp.zoomSlider = CreateWindowExW(0, TRACKBAR_CLASSW, nullptr,
                                      WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBS_BOTH | TBS_NOTICKS, 0, 0,
                                      0, 0, gApp.statusBar, (HMENU)(INT_PTR)ZOOM_SLIDER_ID, instance, nullptr);
    SendMessageW(gApp.zoomSlider, TBM_SETRANGE, TRUE, MAKELPARAM(ZOOM_MIN, ZOOM_MAX));
    SendMessageW(gApp.zoomSlider, TBM_SETPOS, TRUE, 100);
    SetWindowSubclass(gApp.statusBar, StatusBarSubclass, 1, 0);
    StatusBar_Layout(client.right);
}

void StatusBar_Layout(int clientWidth)
{
    int edges[STATUS_PARTS];
    Status_PartEdges(clientWidth, gApp.statusPartWidth, gApp.panelWidth, edges);
    SendMessageW(gApp.statusBar, SB_SETPARTS, STATUS_PARTS, (LPARAM)edges);
    if (gApp.zoomSlider) {
        Rect r = Status_SliderRect(clientWidth, gApp.statusPartWidth, gApp.statusBarHeight);
        MoveWindow(gApp.zoomSlider, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    }
}
