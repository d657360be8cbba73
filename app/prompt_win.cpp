// The prompt window: its record, its little protocol and its timer.
#include "state/prompt.h"
#include "app/prompt_win.h"

#include "state/app_state.h"
#include "state/language.h"
#include "base/scoped_win.h"
#include "base/text.h"

#include <cstdlib>

enum {
    PROMPT_TIMER = 118,
    PROMPT_SET_TIMED = 32000, // lParam: new timed value; restarts the time
    PROMPT_SET_PLACE = 1,     // lParam: low word x, high word top
    PROMPT_RELAYOUT = 6,
};

static const COLORREF kPromptColor = RGB(255, 250, 205);

struct PromptRecord {
    wchar_t text[PROMPT_TEXT_CAPACITY];
    int x;
    int top;
    int timed;
    int ticks;
};

static PromptRecord *RecordOf(HWND window)
{
    return (PromptRecord *)GetWindowLongPtrW(window, 0);
}

static void EnsurePromptFont(HWND window)
{
    if (gApp.promptFont)
        return;
    LOGFONTW font = {};
    font.lfHeight = -MulDiv(12, GetDeviceCaps(ScopedWindowDC(window).Get(), LOGPIXELSY), 72);
    Text_Copy(font.lfFaceName, LF_FACESIZE, L"Arial");
    gApp.promptFont = CreateFontIndirectW(&font);
}

void Prompt_FreeFont()
{
    if (gApp.promptFont)
        DeleteObject(gApp.promptFont);
    gApp.promptFont = nullptr;
}

static SIZE TextSize(HWND window, const wchar_t *text)
{
    ScopedWindowDC dc(window);
    ScopedSelect font(dc.Get(), gApp.promptFont);
    SIZE size = {};
    GetTextExtentPoint32W(dc.Get(), text, (int)Text_Length(text), &size);
    return size;
}

static void PlacePrompt(HWND window, PromptRecord *record)
{
    SIZE size = TextSize(window, record->text);
    RECT client;
    GetClientRect(GetParent(window), &client);
    Rect r = Prompt_Placement(size.cx, size.cy, client.right - client.left, client.top, record->top);
    SetWindowPos(window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

static void SetPromptText(HWND window, PromptRecord *record, const wchar_t *text)
{
    Text_Copy(record->text, PROMPT_TEXT_CAPACITY, text ? text : L"");
    PlacePrompt(window, record);
    InvalidateRect(window, nullptr, TRUE);
    record->ticks = 0;
}

static LRESULT OnCreate(HWND window, const CREATESTRUCTW *create)
{
    auto *record = (PromptRecord *)calloc(1, sizeof(PromptRecord));
    if (!record)
        return -1;
    const auto *initial = (const PromptRecord *)create->lpCreateParams;
    record->x = initial->x;
    record->top = initial->top;
    record->timed = initial->timed;
    SetWindowLongPtrW(window, 0, (LONG_PTR)record);
    SetPromptText(window, record, initial->text);
    SetTimer(window, PROMPT_TIMER, 100, nullptr);
    return 0;
}

static void PaintText(HWND window, HDC dc, const wchar_t *text)
{
    ScopedSelect font(dc, gApp.promptFont);
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, kPromptColor);
    SetTextColor(dc, RGB(0, 0, 0));
    RECT client;
    GetClientRect(window, &client);
    ExtTextOutW(dc, 16, 12, ETO_CLIPPED, &client, text, (UINT)Text_Length(text), nullptr);
}

static void OnPaint(HWND window, PromptRecord *record)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    PaintText(window, dc, record->text);
    EndPaint(window, &paint);
}

static void OnCommand(HWND window, PromptRecord *record, WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case PROMPT_SET_TIMED:
        record->ticks = 0;
        record->timed = (int)lParam;
        break;
    case PROMPT_SET_PLACE:
        record->x = LOWORD(lParam);
        record->top = HIWORD(lParam);
        break;
    case PROMPT_RELAYOUT:
        PlacePrompt(window, record);
        break;
    }
}

LRESULT CALLBACK Prompt_Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE)
        return OnCreate(window, (const CREATESTRUCTW *)lParam);
    PromptRecord *record = RecordOf(window);
    if (!record)
        return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
    case WM_COMMAND:
        OnCommand(window, record, wParam, lParam);
        return 0;
    case WM_SETTEXT:
        // The window keeps the text too, for accessibility tools.
        DefWindowProcW(window, message, wParam, lParam);
        SetPromptText(window, record, (const wchar_t *)lParam);
        return TRUE;
    case WM_PAINT:
        OnPaint(window, record);
        return 0;
    case WM_TIMER:
        if (Prompt_Tick(record->timed, &record->ticks))
            DestroyWindow(window);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_STATIC;
    case WM_DESTROY:
        KillTimer(window, PROMPT_TIMER);
        SetWindowLongPtrW(window, 0, 0);
        free(record);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND__ *Prompt_Show(const wchar_t *text, int top)
{
    HWND main = gApp.mainWindow;
    EnsurePromptFont(main);
    HWND prompt = GetDlgItem(main, PROMPT_ID);
    if (prompt) {
        SetWindowPos(prompt, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        SendMessageW(prompt, WM_COMMAND, PROMPT_SET_TIMED, PROMPT_TICKS);
        SendMessageW(prompt, WM_COMMAND, PROMPT_SET_PLACE, MAKELPARAM(0, top));
        SendMessageW(prompt, WM_SETTEXT, 0, (LPARAM)text);
        return prompt;
    }
    static PromptRecord initial;
    Text_Copy(initial.text, PROMPT_TEXT_CAPACITY, text);
    initial.x = 0;
    initial.top = top;
    initial.timed = PROMPT_TICKS;
    prompt = CreateWindowExW(0, L"PromptWndClass", text, WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 0, 0, 0,
                             main, (HMENU)(INT_PTR)PROMPT_ID, gApp.instance, &initial);
    if (prompt) {
        SetWindowPos(prompt, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        SendMessageW(prompt, WM_SETFONT, (WPARAM)gApp.promptFont, FALSE);
    }
    return prompt;
}

// A language file that lacks the text still gets the message across.
static void ShowFailure(int textId, const wchar_t *english, const wchar_t *value, int top)
{
    wchar_t text[PROMPT_TEXT_CAPACITY];
    Language_Message(text, PROMPT_TEXT_CAPACITY, textId, english, value);
    Prompt_Show(text, top);
}

void Prompt_ShowSaveFailure(const wchar_t *path)
{
    ShowFailure(1310, L"Could not save: %s", path, gApp.toolbarHeight + 1);
}

void Prompt_ShowSaveFailureAt(const wchar_t *pathAndReason, int top)
{
    ShowFailure(1310, L"Could not save: %s", pathAndReason, top);
}

void Prompt_ShowRecordFailure(const wchar_t *reason, int top)
{
    ShowFailure(1311, L"Could not start recording: %s", reason, top);
}

void Prompt_ShowRecordingLost(const wchar_t *path)
{
    ShowFailure(1312, L"The camera was disconnected: recording stopped, video saved as %s", path,
                gApp.toolbarHeight + 1);
}
