#include "app/app_win.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int show)
{
    return App_Run(instance, commandLine, show);
}
