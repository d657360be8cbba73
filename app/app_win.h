// Start-up, the window classes and the main loop.
#pragma once
#include <windows.h>

int App_Run(HINSTANCE instance, const wchar_t *commandLine, int show);

// Fills the bmp, jpeg and png encoder ids of gApp from GDI+'s encoder list.
bool Encoders_Find();

// Registers the program's window classes (also used by tests).
void App_RegisterClasses(HINSTANCE instance);
