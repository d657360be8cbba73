#pragma once
#include <windows.h>

LRESULT CALLBACK Prompt_Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
