// Stopping a recording: the UI thread waits for the recording thread to
// finish the file while it keeps dispatching its messages.
#include "base/sync.h"
#include "base/sync_win.h"
#include "capture/camera_graph.h"
#include "record/recorder.h"
#include "record/recorder_state.h"

#include <windows.h>

static bool gStopWaiting;
static bool gFreeGraphAfterStop;

bool Camera_RecordStopping()
{
    return gStopWaiting;
}

void Camera_FreeGraphAfterStop()
{
    gFreeGraphAfterStop = true;
}

// Waits for the stopped event, dispatching one message at each wake-up.
// Returns whether a quit message was taken from the queue, and its code.
static bool WaitDispatching(HANDLE stopped, WPARAM *quitCode)
{
    bool quit = false;
    while (MsgWaitForMultipleObjects(1, &stopped, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
        MSG msg;
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            continue;
        if (msg.message == WM_QUIT) {
            quit = true;
            *quitCode = msg.wParam;
        } else {
            DispatchMessageW(&msg);
        }
    }
    return quit;
}

void Camera_StopRecord()
{
    if (gRecorder.recording == 0)
        return;
    gRecorder.recording = 0;
    gStopWaiting = true;
    WPARAM quitCode = 0;
    bool quit = WaitDispatching(Event_Handle(gRecorder.stoppedEvent), &quitCode);
    gStopWaiting = false;
    Event_Reset(gRecorder.stoppedEvent);
    if (gFreeGraphAfterStop) {
        gFreeGraphAfterStop = false;
        Camera_FreeGraph();
    }
    // The main loop must still see it, or closing the program during a
    // recording would not end it.
    if (quit)
        PostQuitMessage((int)quitCode);
}
