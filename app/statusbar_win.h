// The status bar with the zoom slider inside it.
#pragma once
#include <windows.h>

// Creates the status bar (five parts, "100%" in part 4) and its slider.
void StatusBar_Create(HWND parent, HINSTANCE instance);

// Sets the five parts and moves the slider for a main-window client width.
void StatusBar_Layout(int clientWidth);

void StatusBar_SetText(int part, const wchar_t *text);
