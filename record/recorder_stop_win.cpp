// Stopping a recording: the UI thread waits for the recording thread to
// finish the file while it keeps dispatching its messages.
#include "base/sync.h"
#include "base/sync_win.h"
#include "record/recorder.h"
#include "record/recorder_state.h"

#include <windows.h>

void Camera_StopRecord()
{
    if (gRecorder.recording == 0)
        return;
    gRecorder.recording = 0;
    HANDLE stopped = Event_Handle(gRecorder.stoppedEvent);
    while (MsgWaitForMultipleObjects(1, &stopped, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
        MSG msg;
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
    }
    Event_Reset(gRecorder.stoppedEvent);
}
