// Stopping a recording: the UI thread waits for the recording thread to
// finish the file while it keeps handling its messages. And the recorder's
// part in a preview's start and end, which ends with such a stop.
#include "state/message_routing_win.h"
#include "base/platform.h"
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


// Hands on every message waiting now, as the loops this wait stands in for
// would, until the stopped event is set; a quit message is kept for later.
static void DispatchWaiting(HANDLE stopped, bool *quit, WPARAM *quitCode)
{
    MSG msg;
    while (WaitForSingleObject(stopped, 0) == WAIT_TIMEOUT && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            *quit = true;
            *quitCode = msg.wParam;
        } else {
            App_DispatchMessage(&msg);
        }
    }
}

// Waits for the stopped event while handing on the messages that arrive.
// Returns whether a quit message was taken from the queue, and its code.
static bool WaitDispatching(HANDLE stopped, WPARAM *quitCode)
{
    bool quit = false, failureTold = false;
    for (;;) {
        // MWMO_INPUTAVAILABLE: messages already in the queue wake it too, not
        // only those arrived since the queue was last looked at.
        DWORD woke = MsgWaitForMultipleObjectsEx(1, &stopped, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woke == WAIT_OBJECT_0)
            return quit;
        if (woke == WAIT_FAILED) {
            // Returning now would let the teardown free what the recording
            // thread still uses: wait on until it has ended.
            if (!failureTold)
                Debug_Printf(L"Camera_StopRecord: the wait failed (%lu)\r\n", GetLastError());
            failureTold = true;
            Sleep(10);
            continue;
        }
        DispatchWaiting(stopped, &quit, quitCode);
    }
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

// The frame queue's lock and events exist while a preview runs.
static bool PreviewStarted()
{
    gRecorder.stoppedEvent = Event_Create(true, false);
    gRecorder.frameEvent = Event_Create(true, false);
    gRecorder.queueLock = Lock_Create();
    return gRecorder.stoppedEvent && gRecorder.frameEvent && gRecorder.queueLock;
}

// The recording thread uses the lock and events that the preview's end frees:
// a recording ends first. A teardown asked for while that end is waited for
// runs once the wait is over.
static bool PreviewEnding()
{
    if (gStopWaiting) {
        gFreeGraphAfterStop = true;
        return false;
    }
    Camera_StopRecord();
    return true;
}

static void PreviewEnded()
{
    if (gRecorder.queueLock)
        Lock_Destroy(gRecorder.queueLock);
    if (gRecorder.stoppedEvent)
        Event_Destroy(gRecorder.stoppedEvent);
    if (gRecorder.frameEvent)
        Event_Destroy(gRecorder.frameEvent);
    gRecorder.queueLock = nullptr;
    gRecorder.stoppedEvent = gRecorder.frameEvent = nullptr;
}

// Registered as the program loads: this file is linked wherever a recording
// can be stopped.
static const PreviewHooks kPreviewHooks = {PreviewStarted, PreviewEnding, PreviewEnded};
[[maybe_unused]] static const bool kHooksRegistered = (Camera_SetPreviewHooks(&kPreviewHooks), true);
