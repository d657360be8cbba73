// Start-up, the window classes and the main loop.
#pragma once
#include <windows.h>

// The exit code of a start that failed: a service the program needs or its
// main window could not be had, which the user was told in a message box.
enum { APP_START_FAILED = 1 };

// Returns the quit message's exit code, or APP_START_FAILED.
int App_Run(HINSTANCE instance, const wchar_t *commandLine, int show);

// Fills the bmp, jpeg and png encoder ids of gApp from GDI+'s encoder list.
bool Encoders_Find();

// Registers the program's window classes (also used by tests).
void App_RegisterClasses(HINSTANCE instance);
