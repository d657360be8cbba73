// How the program's message loops hand on a message: the main loop, and the
// wait for a recording's end, which stands in for it and for a modal
// dialog's own loop.
#pragma once
#include <windows.h>

// A message for a dialog or one of its controls goes through that dialog's
// keyboard navigation (IsDialogMessageW), as a modal dialog's own loop does
// for it and the main loop for the modeless dialogs; any other message, and
// one the navigation leaves, is translated and dispatched.
void App_DispatchMessage(MSG *msg);
