#include "panel/section_win.h"

#include "state/language.h"
#include "base/commands.h"
#include "panel/panel_win.h"

HWND Section_Item(HWND section, int id)
{
    return GetDlgItem(section, id);
}

void Section_Enable(HWND section, int id, bool enabled)
{
    EnableWindow(GetDlgItem(section, id), enabled);
}

bool Section_Checked(HWND section, int id)
{
    return SendDlgItemMessageW(section, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Section_Check(HWND section, int id, bool checked)
{
    SendDlgItemMessageW(section, id, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool Section_Expanded(HWND section)
{
    return GetWindowLongPtrW(section, 0) != 0;
}

static int ClientWidth(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    return client.right;
}

static LRESULT OnCreate(const SectionKind &kind, HWND window)
{
    SetWindowLongPtrW(window, 0, 0); // collapsed
    Rect rects[SECTION_MAX_CONTROLS];
    kind.layout(ClientWidth(window), rects);
    HINSTANCE instance = (HINSTANCE)GetWindowLongPtrW(window, GWLP_HINSTANCE);
    HWND header = CreateWindowExW(0, L"CtrlPanelHeaderWndClass", L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window,
                                  (HMENU)SECTION_HEADER_ID, instance, nullptr);
    SendMessageW(header, WM_SETFONT, (WPARAM)gPanelHeaderFont, FALSE);
    for (int i = 0; i < kind.controlCount; i++) {
        const SectionControl &c = kind.controls[i];
        const Rect &r = rects[i];
        HWND control = CreateWindowExW(0, c.className, L"", WS_CHILD | c.style, r.left, r.top, r.right - r.left,
                                       r.bottom - r.top, window, (HMENU)(INT_PTR)c.id, instance, nullptr);
        SendMessageW(control, WM_SETFONT, (WPARAM)gPanelControlFont, FALSE);
    }
    int expanded = Section_ExpandedHeight(kind.slot);
    PostMessageW(GetParent(window), WM_PANEL_SECTIONSIZE, kind.slot,
                 MAKELPARAM(gPanelMetrics.headerHeight, expanded));
    return 0;
}

static void OnSize(const SectionKind &kind, HWND window)
{
    int width = ClientWidth(window);
    Rect rects[SECTION_MAX_CONTROLS];
    kind.layout(width, rects);
    HDWP batch = BeginDeferWindowPos(kind.controlCount + 1);
    if (batch)
        batch = DeferWindowPos(batch, GetDlgItem(window, SECTION_HEADER_ID), nullptr, 0, 0, width,
                               gPanelMetrics.headerHeight, SWP_NOZORDER);
    for (int i = 0; i < kind.controlCount && batch; i++) {
        const Rect &r = rects[i];
        batch = DeferWindowPos(batch, GetDlgItem(window, kind.controls[i].id), nullptr, r.left, r.top,
                               r.right - r.left, r.bottom - r.top, SWP_NOZORDER);
    }
    if (batch)
        EndDeferWindowPos(batch);
}

static void OnToggle(const SectionKind &kind, HWND window)
{
    int expanded = Section_Expanded(window) ? 0 : 1;
    SetWindowLongPtrW(window, 0, expanded);
    bool onDemand = false;
    for (int i = 0; i < kind.controlCount; i++) {
        const SectionControl &c = kind.controls[i];
        onDemand = onDemand || c.onDemand;
        if (!expanded || !c.onDemand)
            ShowWindow(GetDlgItem(window, c.id), expanded ? SW_SHOW : SW_HIDE);
    }
    if (expanded && onDemand)
        kind.refresh(window, false);
    PostMessageW(GetParent(window), WM_PANEL_SECTIONSTATE, kind.slot, expanded);
    PostMessageW(GetDlgItem(window, SECTION_HEADER_ID), WM_COMMAND, CMD_PANEL_SETUP, expanded);
}

static void ApplyTexts(const SectionKind &kind, HWND window)
{
    HWND header = GetDlgItem(window, SECTION_HEADER_ID);
    SetWindowTextW(header, Language_Text(kind.headerTextId));
    for (int i = 0; i < kind.controlCount; i++)
        if (kind.controls[i].textId)
            SetDlgItemTextW(window, kind.controls[i].id, Language_Text(kind.controls[i].textId));
    InvalidateRect(header, nullptr, TRUE);
}

LRESULT Section_DefProc(const SectionKind &kind, HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate(kind, window);
    case WM_SIZE:
        OnSize(kind, window);
        return 0;
    case WM_SECTION_TOGGLE:
        OnToggle(kind, window);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == CMD_PANEL_TEXTS) {
            ApplyTexts(kind, window);
            return 0;
        }
        break;
    case WM_SECTION_REFRESH:
        kind.refresh(window, wParam != 0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
