// The camera view's commands as other windows send them (synchronously, so
// the records may live on the caller's stack).
#pragma once
#include <cstdint>

struct ViewCalibration {
    float scale;       // image pixels per unit, -1.0 for none
    int32_t unitIndex; // 0 millimetres, anything else micrometres
};

struct ViewStyle {
    int32_t gridColor;
    int32_t lineColor;
    int32_t lineWidth;
    int32_t textColor;
    int32_t textSize;
    int32_t itemNumbers; // 1: the items' numbers shown
};

// Adopts the format of the capture graph just built (gCamera.frameHeader):
// frame copy, sizes, zoom 100, no calibration; posts WM_SIZE (0, 0) to the view.
void View_SetFrameFormat();
// Releases the frame copy, the back buffer and the drawing objects, deletes
// every item and the one under construction, and returns to the no-camera
// state (the tool stays).
void View_Reset();

void View_SetCalibration(float scale, int32_t unitIndex); // command 8004
void View_SetZoom(int percent);                           // command 8003
void View_SetStyle(const ViewStyle *style);               // command 8001
void View_SetTool(int32_t tool);                          // command 8002
// Copies both texts (at most 63 characters each) and repaints without erasing.
void View_SetTexts(const wchar_t *placeholder, const wchar_t *prompt);
