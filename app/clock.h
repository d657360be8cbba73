// The local wall clock. The program reads it through this pointer, which the
// platform layer sets up and which tests may point at a clock of their own.
#pragma once

struct LocalTime {
    int year, month, day, hour, minute, second, millisecond;
};

extern void (*Clock_LocalTime)(LocalTime *now);
