// What the portable view code asks of the window system. The Win32 view
// implements these; host tests record them.
#pragma once

// Requests a repaint of the whole view, with or without erasing.
void View_Invalidate(bool erase);
