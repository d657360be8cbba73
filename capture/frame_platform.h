// What the frame pipeline asks of the window system, from the streaming thread.
#pragma once

// Asks for a repaint of the camera view without erasing (InvalidateRect).
void Frame_RequestRepaint();

// Posts WM_CAMERA_STILL to the camera view.
void Frame_PostStill();
