// The main window's popup menus: language, help, resolution, calibration.
#pragma once
#include <windows.h>

void Menu_Language(HWND owner);
void Menu_Help(HWND owner);
void Menu_Resolution(HWND owner);
void Menu_Calibration(HWND owner);
