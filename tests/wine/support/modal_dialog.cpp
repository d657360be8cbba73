#include "modal_dialog.h"

#include <thread>
#include <vector>

namespace {

std::vector<HWND> ProcessDialogs()
{
    std::vector<HWND> found;
    EnumWindows(
        [](HWND window, LPARAM list) -> BOOL {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            wchar_t name[16] = L"";
            GetClassNameW(window, name, 16);
            if (process == GetCurrentProcessId() && IsWindowVisible(window) && wcscmp(name, L"#32770") == 0)
                ((std::vector<HWND> *)list)->push_back(window);
            return TRUE;
        },
        (LPARAM)&found);
    return found;
}

template <typename Match> HWND WaitForDialog(Match match, DWORD timeout)
{
    for (DWORD waited = 0; waited < timeout; waited += 20) {
        for (HWND dialog : ProcessDialogs())
            if (match(dialog))
                return dialog;
        Sleep(20);
    }
    return nullptr;
}

bool IsListBox(HWND control)
{
    wchar_t name[16] = L"";
    GetClassNameW(control, name, 16);
    return _wcsicmp(name, L"ListBox") == 0;
}

} // namespace

void Modal_Run(const std::function<void()> &open, const std::function<void()> &actions)
{
    HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread driver([&] {
        actions();
        if (WaitForSingleObject(opened, 5000) == WAIT_TIMEOUT)
            for (HWND dialog : ProcessDialogs())
                PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    open();
    SetEvent(opened);
    driver.join();
    CloseHandle(opened);
}

HWND Dialog_WaitFor(const wchar_t *caption, DWORD timeout)
{
    return WaitForDialog(
        [caption](HWND dialog) {
            wchar_t text[128] = L"";
            GetWindowTextW(dialog, text, 128);
            return wcscmp(text, caption) == 0;
        },
        timeout);
}

HWND Dialog_WaitForOther(HWND except, DWORD timeout)
{
    return WaitForDialog([except](HWND dialog) { return dialog != except; }, timeout);
}

bool Dialog_WaitClosed(HWND dialog, DWORD timeout)
{
    for (DWORD waited = 0; waited < timeout && IsWindow(dialog); waited += 20)
        Sleep(20);
    return !IsWindow(dialog);
}

void Dialog_Press(HWND dialog, int button)
{
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), (LPARAM)GetDlgItem(dialog, button));
}

void Dialog_Choose(HWND dialog, int control, int index)
{
    HWND box = GetDlgItem(dialog, control);
    bool list = IsListBox(box);
    SendMessageW(box, list ? LB_SETCURSEL : CB_SETCURSEL, index, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(control, list ? LBN_SELCHANGE : CBN_SELCHANGE), (LPARAM)box);
}

int Dialog_Selected(HWND dialog, int control)
{
    HWND box = GetDlgItem(dialog, control);
    return (int)SendMessageW(box, IsListBox(box) ? LB_GETCURSEL : CB_GETCURSEL, 0, 0);
}

std::wstring Dialog_Items(HWND dialog, int control)
{
    HWND box = GetDlgItem(dialog, control);
    bool list = IsListBox(box);
    int count = (int)SendMessageW(box, list ? LB_GETCOUNT : CB_GETCOUNT, 0, 0);
    std::wstring items;
    for (int i = 0; i < count; i++) {
        wchar_t text[256] = L"";
        SendMessageW(box, list ? LB_GETTEXT : CB_GETLBTEXT, i, (LPARAM)text);
        items += text;
        items += L';';
    }
    return items;
}

std::wstring Dialog_Text(HWND dialog, int control)
{
    wchar_t text[512] = L"";
    GetDlgItemTextW(dialog, control, text, 512);
    return text;
}
