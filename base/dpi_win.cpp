#include "base/dpi_win.h"

#include <windows.h>

int Dpi_Screen()
{
    static int dpi = 0;
    if (dpi == 0) {
        HDC screen = GetDC(nullptr);
        dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
        if (screen)
            ReleaseDC(nullptr, screen);
        if (dpi <= 0)
            dpi = 96;
    }
    return dpi;
}

int Dpi_Scale(int pixelsAt96)
{
    return MulDiv(pixelsAt96, Dpi_Screen(), 96);
}
