// The camera view's thin senders: each sends its command synchronously.
#include "state/app_state.h"
#include "base/commands.h"
#include "state/view_api.h"

#include <windows.h>

static void SendToView(int command, LPARAM lParam)
{
    if (gApp.cameraView)
        SendMessageW(gApp.cameraView, WM_COMMAND, (WPARAM)command, lParam);
}

void View_SetCalibration(float scale, int32_t unitIndex)
{
    ViewCalibration calibration = {scale, unitIndex};
    SendToView(CMD_VIEW_CALIBRATION, (LPARAM)&calibration);
}

void View_SetZoom(int percent)
{
    SendToView(CMD_VIEW_ZOOM, (LPARAM)percent);
}

void View_SetStyle(const ViewStyle *style)
{
    SendToView(CMD_VIEW_STYLE, (LPARAM)style);
}

void View_SetTool(int32_t tool)
{
    SendToView(CMD_VIEW_TOOL, (LPARAM)tool);
}
