// The main window: the hub that owns the toolbar, the camera view, the
// control panel and the status bar, and routes every command.
#pragma once
#include <windows.h>

LRESULT CALLBACK MainWnd_Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Creates the main window "Quorell"; null on failure.
HWND MainWnd_Create(HINSTANCE instance);
