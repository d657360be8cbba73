#include "capture/frame_times.h"

#include <new>

FrameTimes gFrameTimes;

// The capacity is always a power of two, so indices wrap with a mask.
static bool FrameTimes_Grow(FrameTimes *times)
{
    uint32_t capacity = times->capacity ? 2 * times->capacity : 64;
    std::unique_ptr<uint32_t[]> stamps(new (std::nothrow) uint32_t[capacity]);
    if (!stamps)
        return false;
    for (uint32_t i = 0; i < times->count; i++)
        stamps[i] = times->stamps[(times->first + i) & (times->capacity - 1)];
    times->stamps = std::move(stamps);
    times->capacity = capacity;
    times->first = 0;
    return true;
}

void FrameTimes_Push(FrameTimes *times, uint32_t stamp)
{
    if (times->count == times->capacity && !FrameTimes_Grow(times)) {
        if (times->count == 0)
            return;
        FrameTimes_PopFront(times);
    }
    times->stamps[(times->first + times->count) & (times->capacity - 1)] = stamp;
    times->count++;
}

uint32_t FrameTimes_Front(const FrameTimes *times)
{
    return times->stamps[times->first];
}

void FrameTimes_PopFront(FrameTimes *times)
{
    times->first = (times->first + 1) & (times->capacity - 1);
    times->count--;
}

void FrameTimes_Clear(FrameTimes *times)
{
    times->first = 0;
    times->count = 0;
}
