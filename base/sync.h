// Locks, events and threads shared between the streaming, recording and UI
// threads. The Windows build uses critical sections, events and the C
// runtime's threads (sync_win.cpp); the host tests use the standard library's
// (tests/host/support).
#pragma once
#include <cstdint>

struct SyncLock;
struct SyncEvent;

SyncLock *Lock_Create();
void Lock_Destroy(SyncLock *lock);
void Lock_Enter(SyncLock *lock);
void Lock_Leave(SyncLock *lock);

SyncEvent *Event_Create(bool manualReset, bool signalled);
void Event_Destroy(SyncEvent *event);
void Event_Set(SyncEvent *event);
void Event_Reset(SyncEvent *event);
// Waits at most the given milliseconds; true when the event was signalled.
bool Event_Wait(SyncEvent *event, uint32_t milliseconds);

// Runs routine on a new thread of its own (default stack size); the thread is
// not joined: it tells its end through an event of its own. False when no
// thread could be started.
bool Thread_Start(void (*routine)());

// Holds a SyncLock for its lifetime.
class ScopedLock {
public:
    explicit ScopedLock(SyncLock *lock) : lock(lock) { Lock_Enter(lock); }
    ~ScopedLock() { Lock_Leave(lock); }
    ScopedLock(const ScopedLock &) = delete;
    ScopedLock &operator=(const ScopedLock &) = delete;

private:
    SyncLock *lock;
};
