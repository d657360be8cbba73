// What the soak run samples of the program's process, and the growth rule
// that decides whether something leaks.
#pragma once
#include <windows.h>
#include <vector>

// Windows are a part of the USER objects that can be counted where
// GetGuiResources cannot (under Wine).
enum Counter { COUNTER_PRIVATE_KB, COUNTER_HANDLES, COUNTER_GDI, COUNTER_USER, COUNTER_WINDOWS, COUNTER_COUNT };

struct Sample {
    DWORD seconds;                // since the soak began
    long long value[COUNTER_COUNT]; // -1: the system did not give it
};

// The counters of a running process (opened with query rights).
Sample Counters_Read(HANDLE process, DWORD processId, DWORD seconds);

// Prints the samples as a table, then each counter at the start, at the end
// of the warm-up and at the end with its growth and bound. Returns false when
// a counter grew beyond its bound after the warm-up.
bool Counters_Report(const std::vector<Sample> &samples, DWORD warmUpSeconds);
