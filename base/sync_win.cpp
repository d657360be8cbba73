// Locks, events and threads on Win32: critical sections, event objects and
// the C runtime's threads. A SyncEvent is the event's handle itself.
#include "base/sync.h"
#include "base/sync_win.h"

#include <new>
#include <process.h>

struct SyncLock {
    CRITICAL_SECTION section;
};

SyncLock *Lock_Create()
{
    SyncLock *lock = new (std::nothrow) SyncLock;
    if (lock)
        InitializeCriticalSection(&lock->section);
    return lock;
}

void Lock_Destroy(SyncLock *lock)
{
    if (!lock)
        return;
    DeleteCriticalSection(&lock->section);
    delete lock;
}

void Lock_Enter(SyncLock *lock)
{
    EnterCriticalSection(&lock->section);
}

void Lock_Leave(SyncLock *lock)
{
    LeaveCriticalSection(&lock->section);
}

HANDLE Event_Handle(SyncEvent *event)
{
    return reinterpret_cast<HANDLE>(event);
}

SyncEvent *Event_Create(bool manualReset, bool signalled)
{
    return reinterpret_cast<SyncEvent *>(CreateEventW(nullptr, manualReset, signalled, nullptr));
}

void Event_Destroy(SyncEvent *event)
{
    if (event)
        CloseHandle(Event_Handle(event));
}

void Event_Set(SyncEvent *event)
{
    SetEvent(Event_Handle(event));
}

void Event_Reset(SyncEvent *event)
{
    ResetEvent(Event_Handle(event));
}

bool Event_Wait(SyncEvent *event, uint32_t milliseconds)
{
    return WaitForSingleObject(Event_Handle(event), milliseconds) == WAIT_OBJECT_0;
}

static unsigned __stdcall RunRoutine(void *routine)
{
    reinterpret_cast<void (*)()>(routine)();
    return 0;
}

bool Thread_Start(void (*routine)())
{
    // Through the C runtime, which the routine uses (malloc, free, the encoders).
    uintptr_t thread = _beginthreadex(nullptr, 0, RunRoutine, reinterpret_cast<void *>(routine), 0, nullptr);
    if (thread == 0)
        return false;
    CloseHandle(reinterpret_cast<HANDLE>(thread));
    return true;
}
