// gFrameTimes: the frame-rate meter's time stamps (milliseconds), oldest
// first, in a ring that doubles when full and never shrinks, so that a steady
// stream of frames allocates nothing. Only the streaming thread touches it.
#pragma once
#include <cstdint>
#include <memory>

struct FrameTimes {
    std::unique_ptr<uint32_t[]> stamps;
    uint32_t capacity = 0;
    uint32_t first = 0; // index of the oldest stamp
    uint32_t count = 0;
};

extern FrameTimes gFrameTimes;

// Appends a stamp. When the ring cannot grow, the oldest stamp makes room.
void FrameTimes_Push(FrameTimes *times, uint32_t stamp);
uint32_t FrameTimes_Front(const FrameTimes *times);
void FrameTimes_PopFront(FrameTimes *times);
void FrameTimes_Clear(FrameTimes *times);
