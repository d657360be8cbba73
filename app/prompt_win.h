#pragma once
#include <windows.h>

LRESULT CALLBACK Prompt_Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Deletes the prompt font, made on the first prompt, at the main window's end.
void Prompt_FreeFont();
