#include "state/message_routing_win.h"

#include <cwchar>

// The dialog a window belongs to: its top-level window, when that is a dialog.
static HWND DialogOf(HWND window)
{
    HWND root = window ? GetAncestor(window, GA_ROOT) : nullptr;
    wchar_t name[8] = L"";
    if (!root || !GetClassNameW(root, name, ARRAYSIZE(name)))
        return nullptr;
    return wcscmp(name, L"#32770") == 0 ? root : nullptr;
}

void App_DispatchMessage(MSG *msg)
{
    HWND dialog = DialogOf(msg->hwnd);
    if (dialog && IsDialogMessageW(dialog, msg))
        return;
    TranslateMessage(msg);
    DispatchMessageW(msg);
}
