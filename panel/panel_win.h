// The control panel's windows: the frame, the section headers and the four
// sections, each one window procedure registered at start-up.
#pragma once
#include "panel/panel_layout.h"
#include <windows.h>

LRESULT CALLBACK Panel_Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK PanelHeader_Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK SourceSection_Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ColorSection_Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK FlipSection_Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ReportSection_Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The two Arial fonts of the panel (11 pt headers, 9 pt controls), made once
// per process with the metrics.
extern HFONT gPanelHeaderFont;
extern HFONT gPanelControlFont;

// The record of a panel window (null for any other window).
PanelRecord *Panel_Record(HWND panel);
