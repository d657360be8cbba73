// The window-system services of the portable view code.
#include "base/commands.h"
#include "base/scoped_win.h"
#include "view/view_platform.h"
#include "view/view_state.h"
#include "view/view_win.h"
#include "view/viewport.h"

#include <windows.h>

void View_Invalidate(bool erase)
{
    if (gView.hwnd)
        InvalidateRect(gView.hwnd, nullptr, erase);
}

void View_Recompose()
{
    if (!gView.hwnd)
        return;
    ScopedWindowDC dc(gView.hwnd);
    if (dc)
        View_Compose(dc.Get());
}

Rect View_ClientRect()
{
    RECT r = {};
    GetClientRect(gView.hwnd, &r);
    return {r.left, r.top, r.right, r.bottom};
}

void View_ScrollBarSizes(int *verticalBarWidth, int *horizontalBarHeight)
{
    *verticalBarWidth = GetSystemMetrics(SM_CXVSCROLL);
    *horizontalBarHeight = GetSystemMetrics(SM_CYHSCROLL);
}

static int Bar(int bar)
{
    return bar == SCROLL_HORZ ? SB_HORZ : SB_VERT;
}

void View_ShowScrollBar(int bar, bool show)
{
    ShowScrollBar(gView.hwnd, Bar(bar), show);
}

void View_SetScrollRange(int bar, int page, int maximum, int position)
{
    SCROLLINFO info = {sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, maximum, (UINT)page, position, 0};
    SetScrollInfo(gView.hwnd, Bar(bar), &info, TRUE);
}

void View_SetScrollPosition(int bar, int position)
{
    SCROLLINFO info = {sizeof info, SIF_POS, 0, 0, 0, position, 0};
    SetScrollInfo(gView.hwnd, Bar(bar), &info, TRUE);
}

void View_SetCapture()
{
    SetCapture(gView.hwnd);
}

void View_ReleaseCapture()
{
    if (gView.hwnd && GetCapture() == gView.hwnd)
        ReleaseCapture();
}

void View_SetFocus()
{
    SetFocus(gView.hwnd);
}

void View_PostParentCommand(int id)
{
    PostMessageW(GetParent(gView.hwnd), WM_COMMAND, (WPARAM)id, 0);
}

void View_PostZoomChanged()
{
    PostMessageW(GetParent(gView.hwnd), WM_VIEW_ZOOMCHANGED, 0, 0);
}

void View_PostSize()
{
    PostMessageW(gView.hwnd, WM_SIZE, 0, 0);
}
