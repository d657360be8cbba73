// The video recorder: starts and stops recordings of the live frames.
#pragma once

// Ends the recording and returns once the file is finalised, dispatching the
// thread's messages meanwhile; returns at once when none runs. A quit message
// that arrives meanwhile is posted again after the wait.
void Camera_StopRecord();

// True while Camera_StopRecord waits for the recording thread.
bool Camera_RecordStopping();
// Asks for Camera_FreeGraph once the waiting Camera_StopRecord has ended.
void Camera_FreeGraphAfterStop();
