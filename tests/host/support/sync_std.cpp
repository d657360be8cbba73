// Locks, events and threads of the frame pipeline and recorder for the host
// tests, from the standard library.
#include "base/sync.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

struct SyncLock {
    std::mutex mutex;
};

struct SyncEvent {
    std::mutex mutex;
    std::condition_variable changed;
    bool manualReset;
    bool signalled;
};

SyncLock *Lock_Create()
{
    return new SyncLock;
}

void Lock_Destroy(SyncLock *lock)
{
    delete lock;
}

void Lock_Enter(SyncLock *lock)
{
    lock->mutex.lock();
}

void Lock_Leave(SyncLock *lock)
{
    lock->mutex.unlock();
}

SyncEvent *Event_Create(bool manualReset, bool signalled)
{
    return new SyncEvent{{}, {}, manualReset, signalled};
}

void Event_Destroy(SyncEvent *event)
{
    delete event;
}

void Event_Set(SyncEvent *event)
{
    std::lock_guard<std::mutex> hold(event->mutex);
    event->signalled = true;
    if (event->manualReset)
        event->changed.notify_all();
    else
        event->changed.notify_one();
}

void Event_Reset(SyncEvent *event)
{
    std::lock_guard<std::mutex> hold(event->mutex);
    event->signalled = false;
}

bool Event_Wait(SyncEvent *event, uint32_t milliseconds)
{
    std::unique_lock<std::mutex> hold(event->mutex);
    bool signalled = event->changed.wait_for(hold, std::chrono::milliseconds(milliseconds),
                                             [event] { return event->signalled; });
    if (signalled && !event->manualReset)
        event->signalled = false;
    return signalled;
}

bool Thread_Start(void (*routine)())
{
    std::thread(routine).detach();
    return true;
}
