// The local wall clock. The program reads it through this pointer, which the
// platform layer sets up and which tests may point at a clock of their own.
#pragma once
#include <cstdint>

struct LocalTime {
    int year, month, day, hour, minute, second, millisecond;
};

extern void (*Clock_LocalTime)(LocalTime *now);

// The multimedia clock in milliseconds (timeGetTime); wraps every 49.7 days.
uint32_t Clock_Milliseconds();
