// The view's WM_COMMAND handling (ids 8001 to 8005) and the calibration
// and style it keeps.
#pragma once
#include "state/view_api.h"
#include <cstdint>

// Handles command id with its lParam; false for ids the view does not know.
bool View_Command(int id, intptr_t lParam);

void View_ApplyStyle(const ViewStyle &style);            // 8001
void View_ApplyCalibration(const ViewCalibration &calib); // 8004
