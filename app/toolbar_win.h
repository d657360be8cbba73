// The main window's toolbar.
#pragma once
#include <windows.h>
#include <commctrl.h>

// Builds the 24x24 image list from the icon resources and creates the toolbar.
HWND Toolbar_Create(HWND parent, HINSTANCE instance);
// Takes the image list from the toolbar and destroys it.
void Toolbar_FreeImages(HWND toolbar);

void Toolbar_SetText(int command, const wchar_t *text);
bool Toolbar_IsChecked(int command);
void Toolbar_SetChecked(int command, bool checked);

// Answers a TTN_GETDISPINFOW request from the language table.
void Toolbar_FillTooltip(NMTTDISPINFOW *info);
