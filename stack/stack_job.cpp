#include "stack/stack_job.h"
#include "base/sync.h"

#include <deque>
#include <vector>

namespace {

struct StackJob {
    SyncLock *lock = nullptr;   // guards queue
    SyncEvent *wake = nullptr;  // a frame, the finish or the cancel for the worker
    SyncEvent *ended = nullptr; // the worker ended
    std::deque<std::vector<uint8_t>> queue;
    int width = 0, height = 0; // of the series' frames
    std::atomic<int32_t> phase{STACK_IDLE}, kept{0}, fused{0}, cancel{0};
    Fusion fusion; // the worker's until it ends
} gStack;

// The next waiting frame, or an empty one when none waits.
std::vector<uint8_t> TakeFrame()
{
    ScopedLock hold(gStack.lock);
    if (gStack.queue.empty())
        return {};
    std::vector<uint8_t> frame = std::move(gStack.queue.front());
    gStack.queue.pop_front();
    return frame;
}

void Stack_Worker()
{
    const ptrdiff_t stride = (ptrdiff_t)gStack.width * 3;
    while (!gStack.cancel) {
        std::vector<uint8_t> frame = TakeFrame();
        if (!frame.empty()) {
            Fusion_Add(&gStack.fusion, frame.data(), stride);
            gStack.fused++;
        } else if (gStack.phase == STACK_FINISHING) {
            break;
        } else {
            Event_Wait(gStack.wake, 1000);
        }
    }
    {
        ScopedLock hold(gStack.lock);
        gStack.queue.clear();
    }
    if (gStack.cancel)
        Fusion_End(&gStack.fusion);
    gStack.phase = gStack.cancel ? STACK_CANCELLED : STACK_DONE;
    Event_Set(gStack.ended);
}

} // namespace

bool Stack_Start(int width, int height)
{
    if (!gStack.lock) {
        gStack.lock = Lock_Create();
        gStack.wake = Event_Create(false, false);
        gStack.ended = Event_Create(true, true);
    }
    // The worker sets `ended` last: until then it may still touch gStack.
    if (!Event_Wait(gStack.ended, 0))
        return false;
    Fusion_Begin(&gStack.fusion, width, height);
    gStack.width = width, gStack.height = height;
    gStack.kept = gStack.fused = gStack.cancel = 0;
    gStack.phase = STACK_RUNNING;
    Event_Reset(gStack.ended);
    if (!Thread_Start(Stack_Worker)) {
        Fusion_End(&gStack.fusion);
        gStack.phase = STACK_FAILED;
        Event_Set(gStack.ended);
        return false;
    }
    return true;
}

bool Stack_Offer(const uint8_t *bgr, ptrdiff_t stride)
{
    if (gStack.phase != STACK_RUNNING || gStack.kept >= STACK_MAX_FRAMES)
        return false;
    {
        ScopedLock hold(gStack.lock);
        if (gStack.queue.size() >= STACK_QUEUE)
            return false;
    }
    const int w = gStack.width, h = gStack.height;
    std::vector<uint8_t> frame((size_t)w * h * 3);
    for (int y = 0; y < h; y++)
        std::copy(bgr + y * stride, bgr + y * stride + w * 3, &frame[(size_t)y * w * 3]);
    {
        ScopedLock hold(gStack.lock);
        gStack.queue.push_back(std::move(frame));
    }
    gStack.kept++;
    Event_Set(gStack.wake);
    return true;
}

void Stack_Finish()
{
    int32_t running = STACK_RUNNING;
    if (gStack.phase.compare_exchange_strong(running, STACK_FINISHING))
        Event_Set(gStack.wake);
}

void Stack_Cancel()
{
    gStack.cancel = 1;
    if (gStack.wake)
        Event_Set(gStack.wake);
}

StackPhase Stack_Phase() { return (StackPhase)gStack.phase.load(); }
int32_t Stack_Kept() { return gStack.kept; }
int32_t Stack_Fused() { return gStack.fused; }

bool Stack_WaitEnded(uint32_t milliseconds)
{
    return !gStack.ended || Event_Wait(gStack.ended, milliseconds);
}

const Fusion &Stack_Result() { return gStack.fusion; }

void Stack_Release()
{
    if (!Stack_WaitEnded(0))
        return;
    Fusion_End(&gStack.fusion);
    gStack.phase = STACK_IDLE;
}
