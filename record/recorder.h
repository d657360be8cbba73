// The video recorder: starts and stops recordings of the live frames.
#pragma once

// Ends the recording and returns once the file is finalised, dispatching the
// thread's messages meanwhile; returns at once when none runs.
void Camera_StopRecord();
