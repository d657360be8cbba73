// A section's header strip: its title in dark red (dark blue under the
// mouse) with a chevron, and a click that toggles the section.
#include "panel/panel_win.h"

#include "base/commands.h"
#include "base/scoped_win.h"

#include <cstdlib>

static void Paint(HWND window, HDC dc, const HeaderRecord &header)
{
    wchar_t text[65] = L"";
    int length = GetWindowTextW(window, text, 65);
    RECT client;
    GetClientRect(window, &client);
    ScopedSelect font(dc, gPanelHeaderFont);
    SetTextColor(dc, header.hot ? RGB(0, 0, 192) : RGB(192, 0, 0));
    SIZE extent = {};
    GetTextExtentPoint32W(dc, text, length, &extent);
    ExtTextOutW(dc, 5, (client.bottom - extent.cy) / 2, ETO_OPAQUE | ETO_CLIPPED, &client, text, length, nullptr);
    int r = client.right, b = client.bottom;
    if (header.expanded) {
        int c = (b - 6) / 2;
        MoveToEx(dc, r - 25, c + 5, nullptr);
        LineTo(dc, r - 20, c);
        LineTo(dc, r - 14, c + 6);
    } else {
        int c = (b + 8) / 2;
        MoveToEx(dc, r - 25, c - 5, nullptr);
        LineTo(dc, r - 20, c);
        LineTo(dc, r - 14, c - 6);
    }
}

static void Repaint(HWND window, const HeaderRecord &header)
{
    ScopedWindowDC dc(window);
    if (dc)
        Paint(window, dc.Get(), header);
}

// While hot the header holds the mouse capture, so that it sees the pointer
// leave and takes its normal colour back at once.
static void OnMouseMove(HWND window, HeaderRecord *header, LPARAM lParam)
{
    if (!header->hot) {
        SetCapture(window);
        header->hot = 1;
        Repaint(window, *header);
        return;
    }
    RECT client;
    GetClientRect(window, &client);
    POINT p = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
    if (!PtInRect(&client, p)) {
        header->hot = 0;
        ReleaseCapture();
        Repaint(window, *header);
    }
}

static void OnButtonDown(HWND window, LPARAM lParam)
{
    RECT client;
    GetClientRect(window, &client);
    POINT p = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
    if (PtInRect(&client, p))
        PostMessageW(GetParent(window), WM_SECTION_TOGGLE, 0, 0);
}

LRESULT CALLBACK PanelHeader_Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE) {
        auto *created = (HeaderRecord *)calloc(1, sizeof(HeaderRecord));
        if (!created)
            return -1;
        created->hwnd = window;
        SetWindowLongPtrW(window, 0, (LONG_PTR)created);
        return 0;
    }
    auto *header = (HeaderRecord *)GetWindowLongPtrW(window, 0);
    if (!header)
        return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        if (dc)
            Paint(window, dc, *header);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_MOUSEMOVE:
        OnMouseMove(window, header, lParam);
        return 0;
    case WM_CAPTURECHANGED:
        // Another window took the mouse (a menu, a dialog): not hot any more.
        if (header->hot && (HWND)lParam != window) {
            header->hot = 0;
            Repaint(window, *header);
        }
        return 0;
    case WM_LBUTTONDOWN:
        OnButtonDown(window, lParam);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == CMD_PANEL_SETUP) {
            header->expanded = lParam ? 1 : 0;
            InvalidateRect(window, nullptr, TRUE);
            return 0;
        }
        break;
    case WM_DESTROY:
        SetWindowLongPtrW(window, 0, 0);
        free(header);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
