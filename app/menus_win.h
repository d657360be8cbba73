// The main window's popup menus: language, help, resolution, calibration.
#pragma once
#include <windows.h>

void Menu_Language(HWND owner);
void Menu_Help(HWND owner);
void Menu_Resolution(HWND owner);
void Menu_Calibration(HWND owner);

// The language menu (3080..3089, the language in use checked) and the help
// menu (3036 About, 3037 the manual).
HMENU Menu_MakeLanguage();
HMENU Menu_MakeHelp();
// The resolution menu: one "%dx%d" item per format of the current
// compression, ids 3040 upward, the current size checked.
HMENU Menu_MakeResolution();
// The calibration menu, or null when no slot is usable.
HMENU Menu_MakeCalibration();
