// The dialogs the main window opens.
#pragma once
#include "capture/formats.h"
#include <windows.h>

void PreferencesDlg_Show(HWND owner);         // dialog 2001, command 3007
void RecordingDlg_Show(HWND owner);           // dialog 2002, command 3009
void TimeLapseDlg_Show(HWND owner);           // dialog 2020, command 3096
void FocusStackDlg_Show(HWND owner);          // dialog 2040, command 3097
// The end of a focus stack: the fused picture (BGR rows of width * 3 bytes,
// top-down) saved as a TIFF with the live calibration's scale in the image
// folder's "Focus stacks" folder, and the user told where.
void FocusStack_Deliver(int width, int height, const uint8_t *bgrRows);
// Dialog 132, command 3012: the device, compression and size preselected
// where the device offers them (a zero format: none preferred).
int OpenDlg_Show(int deviceIndex, const VideoFormat &preferred);
int ConfigCalibrationsDlg_Show(HWND owner);   // dialog 2004: returns the button that ended it
HWND CalibrationDlg_Create(HWND owner);       // dialog 2005, modeless
HWND TextInputDlg_Create(HWND owner);         // dialog 2003, modeless
void ReportTitleDlg_Show(HWND owner);         // dialog 2010, command 1022
void AboutDlg_Show(HWND owner);               // dialog 2008, command 3036
void HowToDlg_Show(HWND owner);               // dialog 2007, command 3033 and the calibration's Help
