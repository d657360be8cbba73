// The picture that fills the middle of the How-to dialog (an owner-drawn
// static): how a calibration is made against a ruler.
#pragma once
#include <windows.h>

// Draws the picture into the control's rectangle (WM_DRAWITEM), rendering it
// the first time and keeping it for the repaints.
void HowToPicture_Draw(const DRAWITEMSTRUCT *item);
// Lets the kept picture go (the dialog's end).
void HowToPicture_Free();
