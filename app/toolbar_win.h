// The main window's toolbar.
#pragma once
#include <windows.h>
#include <commctrl.h>

// Builds the image list from the icon resources (24x24 at 96 DPI, scaled to
// the screen's DPI) and creates the toolbar, which wraps its buttons onto
// more rows when the window is too narrow for one.
HWND Toolbar_Create(HWND parent, HINSTANCE instance);
// Takes the image list from the toolbar and destroys it.
void Toolbar_FreeImages(HWND toolbar);

// Sets a button's text; lays the main window out again when the toolbar's
// rows changed with it.
void Toolbar_SetText(int command, const wchar_t *text);
// The toolbar's window height minus 1, the height the layout gives it.
int Toolbar_Height();
bool Toolbar_IsChecked(int command);
void Toolbar_SetChecked(int command, bool checked);

// Answers a TTN_GETDISPINFOW request from the language table.
void Toolbar_FillTooltip(NMTTDISPINFOW *info);
