// The clocks: local wall time, and two monotonic ones. The program reads the
// wall time and the precise clock through pointers, which the platform layer
// sets up and which tests may point at clocks of their own.
#pragma once
#include <cstdint>

struct LocalTime {
    int year, month, day, hour, minute, second, millisecond;
};

extern void (*Clock_LocalTime)(LocalTime *now);

// The multimedia clock in milliseconds (timeGetTime); wraps every 49.7 days.
uint32_t Clock_Milliseconds();

// A monotonic clock in 100-ns units (the performance counter), from an
// arbitrary origin; fine enough to tell apart frames that arrive within a
// millisecond of each other.
extern int64_t (*Clock_Precise)();
