// The frame pipeline's requests to the camera view, from the streaming threads.
#include "capture/frame_platform.h"

#include "capture/camera_graph.h"

#include <windows.h>

void Frame_RequestRepaint()
{
    InvalidateRect(gCamera.viewWindow, nullptr, FALSE);
}

void Frame_PostStill()
{
    PostMessageW(gCamera.viewWindow, WM_CAMERA_STILL, 0, 0);
}
