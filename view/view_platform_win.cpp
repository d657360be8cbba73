// The window-system services of the portable view code.
#include "view/view_platform.h"
#include "view/view_state.h"

#include <windows.h>

void View_Invalidate(bool erase)
{
    if (gView.hwnd)
        InvalidateRect(gView.hwnd, nullptr, erase);
}
