// The Win32 handle behind a SyncEvent, for waits that also watch the message
// queue (MsgWaitForMultipleObjects).
#pragma once
#include <windows.h>

struct SyncEvent;

HANDLE Event_Handle(SyncEvent *event);
