// The main window: the hub that owns the toolbar, the camera view, the
// control panel and the status bar, and routes every command.
#pragma once
#include <windows.h>

LRESULT CALLBACK MainWnd_Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Creates the main window "Quorell"; null on failure.
HWND MainWnd_Create(HINSTANCE instance);

void MainWnd_Layout();
void MainWnd_UpdateStatus();
void MainWnd_ShowResolutionText();
// The calibration button's text and the status bar's reason, and the
// overlay buttons.
void MainWnd_ShowCalibrationText();
// An overlay button is lit only while its overlay is shown: none while the
// calibration line is (they are greyed then); the scale bar's needs a
// calibration.
void MainWnd_ShowOverlayButtons();
void MainWnd_SetToolMode(int tool);
void MainWnd_SetResolution(int position);
void MainWnd_SetCompression(bool mjpg);
void MainWnd_StartCalibration();
// Command 8001 to the view with the drawing settings.
void MainWnd_SendViewStyle();
// The effect buttons show the effect flags of gCamera, the tool group the
// view's tool.
void MainWnd_ShowSwitchesOnToolbar();

// Commands of the main window (WM_COMMAND), also used by tests.
LRESULT MainWnd_OnCommand(HWND window, WPARAM wParam, LPARAM lParam);
