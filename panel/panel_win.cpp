// The panel frame: creates the four sections, stacks them, scrolls them and
// passes the main window's notices on to them.
#include "panel/panel_win.h"

#include "base/commands.h"
#include "base/scoped_win.h"

#include <cstdlib>

HFONT gPanelHeaderFont;
HFONT gPanelControlFont;

static HFONT MakeArial(HDC dc, int points)
{
    LOGFONTW font = {};
    font.lfHeight = -MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72);
    wcscpy(font.lfFaceName, L"Arial");
    return CreateFontIndirectW(&font);
}

// Metrics and fonts follow the system's dialog base units and the screen's
// resolution; they are made at the first panel and kept.
static void EnsureMetrics(HWND window)
{
    if (gPanelHeaderFont)
        return;
    ScopedWindowDC dc(window);
    if (!dc)
        return;
    gPanelHeaderFont = MakeArial(dc.Get(), 11);
    gPanelControlFont = MakeArial(dc.Get(), 9);
    SIZE size = {};
    {
        ScopedSelect font(dc.Get(), gPanelControlFont);
        GetTextExtentExPointW(dc.Get(), L"ZH", 2, 0, nullptr, nullptr, &size);
    }
    LONG units = GetDialogBaseUnits();
    PanelMetrics_Set(LOWORD(units), HIWORD(units), size.cy > 0 ? size.cy : 1);
}

PanelRecord *Panel_Record(HWND panel)
{
    wchar_t name[32] = L"";
    if (!GetClassNameW(panel, name, 32) || wcscmp(name, L"CtrlPanelWndClass") != 0)
        return nullptr;
    return (PanelRecord *)GetWindowLongPtrW(panel, 0);
}

static void PostLayout(HWND window)
{
    PostMessageW(window, WM_COMMAND, CMD_PANEL_LAYOUT, 0);
}

static void UpdateContent(HWND window, PanelRecord *panel)
{
    RECT client;
    GetClientRect(window, &client);
    PanelScroll scroll = Panel_UpdateContent(panel, client.bottom);
    if (scroll.shown) {
        ShowScrollBar(window, SB_VERT, TRUE);
        SCROLLINFO info = {sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, scroll.maximum, (UINT)scroll.page,
                           scroll.position, 0};
        SetScrollInfo(window, SB_VERT, &info, TRUE);
    } else {
        SetScrollPos(window, SB_VERT, 0, TRUE);
        ShowScrollBar(window, SB_VERT, FALSE);
    }
    PostLayout(window);
}

static void CreateSections(HWND window, PanelRecord *panel)
{
    HINSTANCE instance = (HINSTANCE)GetWindowLongPtrW(window, GWLP_HINSTANCE);
    for (int i = 0; i < PANEL_SECTIONS; i++) {
        PanelSection &slot = panel->sections[i];
        slot.hwnd = CreateWindowExW(0, kPanelSections[i].className, L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 0,
                                    0, 0, window, (HMENU)(INT_PTR)kPanelSections[i].childId, instance, nullptr);
        slot.collapsedHeight = slot.expandedHeight = gPanelMetrics.defaultSectionHeight;
        slot.expanded = 0;
    }
    panel->sectionCount = PANEL_SECTIONS;
    UpdateContent(window, panel);
    if (panel->sections[0].hwnd)
        PostMessageW(panel->sections[0].hwnd, WM_SECTION_TOGGLE, 0, 0);
}

// Moved sections paint themselves afresh (no copied bits): a copy of a
// section's old place could show a neighbour's stale strip.
static void Layout(HWND window, const PanelRecord *panel)
{
    if (panel->sectionCount <= 0)
        return;
    RECT client;
    GetClientRect(window, &client);
    HDWP batch = BeginDeferWindowPos(panel->sectionCount);
    for (int i = 0; i < panel->sectionCount && batch; i++) {
        Rect r = Panel_SectionRect(*panel, i, client.right);
        if (panel->sections[i].hwnd)
            batch = DeferWindowPos(batch, panel->sections[i].hwnd, nullptr, r.left, r.top, r.right - r.left,
                                   r.bottom - r.top, SWP_NOZORDER | SWP_NOCOPYBITS);
    }
    if (batch)
        EndDeferWindowPos(batch);
}

static void Scroll(HWND window, PanelRecord *panel, int request, int thumb)
{
    RECT client;
    GetClientRect(window, &client);
    if (panel->contentHeight <= client.bottom)
        return;
    int target = Panel_ScrollTarget(*panel, client.bottom, request, thumb);
    if (target == panel->scrollPos)
        return;
    panel->scrollPos = target;
    SCROLLINFO info = {sizeof info, SIF_POS, 0, 0, 0, target, 0};
    SetScrollInfo(window, SB_VERT, &info, TRUE);
    PostLayout(window);
}

static void Forward(const PanelRecord *panel, UINT message, WPARAM wParam)
{
    for (int i = 0; i < panel->sectionCount; i++)
        if (panel->sections[i].hwnd)
            PostMessageW(panel->sections[i].hwnd, message, wParam, 0);
}

static void StoreSection(HWND window, PanelRecord *panel, WPARAM slot, UINT message, LPARAM lParam)
{
    if (slot >= PANEL_SLOTS)
        return;
    if (message == WM_PANEL_SECTIONSIZE) {
        panel->sections[slot].collapsedHeight = LOWORD(lParam);
        panel->sections[slot].expandedHeight = HIWORD(lParam);
    } else {
        panel->sections[slot].expanded = lParam ? 1 : 0;
    }
    UpdateContent(window, panel);
}

static LRESULT OnCreate(HWND window)
{
    EnsureMetrics(window);
    auto *panel = (PanelRecord *)calloc(1, sizeof(PanelRecord));
    if (!panel)
        return -1;
    panel->hwnd = window;
    SetWindowLongPtrW(window, 0, (LONG_PTR)panel);
    PostMessageW(window, WM_COMMAND, CMD_PANEL_SETUP, 0);
    return 0;
}

LRESULT CALLBACK Panel_Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE)
        return OnCreate(window);
    auto *panel = (PanelRecord *)GetWindowLongPtrW(window, 0);
    if (!panel)
        return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case CMD_PANEL_SETUP:
            if (panel->sectionCount == 0)
                CreateSections(window, panel);
            return 0;
        case CMD_PANEL_LAYOUT:
            Layout(window, panel);
            return 0;
        case CMD_PANEL_TEXTS:
            Forward(panel, WM_COMMAND, CMD_PANEL_TEXTS);
            return 0;
        }
        break;
    case WM_SECTION_REFRESH:
        Forward(panel, WM_SECTION_REFRESH, wParam);
        return 0;
    case WM_PANEL_SECTIONSIZE:
    case WM_PANEL_SECTIONSTATE:
        StoreSection(window, panel, wParam, message, lParam);
        return 0;
    case WM_SIZE:
        UpdateContent(window, panel);
        return 0;
    case WM_VSCROLL:
        Scroll(window, panel, LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_MOUSEWHEEL:
        Scroll(window, panel, Panel_WheelRequest(GET_WHEEL_DELTA_WPARAM(wParam)), 0);
        return 0;
    case WM_DESTROY:
        SetWindowLongPtrW(window, 0, 0);
        free(panel);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
