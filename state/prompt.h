// The prompt window: a pale-yellow box with one line of text, centred near
// the top of the main window, that closes itself about four seconds after
// its last text.
#pragma once
#include "base/geometry.h"
#include "base/handles.h"

enum {
    PROMPT_TEXT_CAPACITY = 512,
    PROMPT_TICKS = 38, // the prompt closes at the tick after the 38th
    PROMPT_ID = 5889,
};

// Shows text at the given distance below the top of the main window's
// client area; a prompt already shown is reused. Returns the prompt window.
HWND__ *Prompt_Show(const wchar_t *text, int top);

// Where the prompt goes for a measured text: width + 32, height + 24,
// centred in the main window's client width, top pixels below its top.
Rect Prompt_Placement(int textWidth, int textHeight, int clientWidth, int clientTop, int top);

// Tells the user that a file could not be written: "Could not save: %s" (text
// 1310) with the path, shown like the snapshot announcements, under the toolbar.
void Prompt_ShowSaveFailure(const wchar_t *path);
// The same with the reason after the path, top pixels below the main
// window's client top (a recording whose file could not be written on).
void Prompt_ShowSaveFailureAt(const wchar_t *pathAndReason, int top);
// Tells the user that no recording could be started and why: "Could not start
// recording: %s" (text 1311), top pixels below the main window's client top.
void Prompt_ShowRecordFailure(const wchar_t *reason, int top);

// Tells the user that the recording stopped because the camera went away,
// and where its file is: "The camera was disconnected: recording stopped,
// video saved as %s" (text 1312) with the path, under the toolbar.
void Prompt_ShowRecordingLost(const wchar_t *path);

// One timer tick: true when the prompt should close now.
bool Prompt_Tick(int timed, int *ticks);
