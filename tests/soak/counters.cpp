#include "counters.h"

#include <psapi.h>
#include <algorithm>
#include <cstdio>
#include <vector>

static const char *const kNames[COUNTER_COUNT] = {"private KB", "handles", "GDI objects", "USER objects",
                                                  "windows"};

// Beyond these a counter has grown from one level to the next. Private bytes
// move by whole 1920x1080 frames (6 MB each) while a snapshot is encoded or
// a file is switched, which the levels below smooth out; 8 MB is then less
// than two lost frames, or 15 KB lost on every one of the 10 minutes' frames.
// Handles, GDI and USER objects leak one at a time: 50 handles, 20 objects is
// fewer than one per snapshot, split or minute of a 10-minute run.
static const long long kBounds[COUNTER_COUNT] = {8 * 1024, 50, 20, 20, 20};

// Private bytes are the commit charge, which Windows gives twice (PrivateUsage
// and PagefileUsage). Wine 8 leaves PrivateUsage 0 and gives as
// PagefileUsage the private memory in use (touched), which shows a leak as well.
static long long PrivateKb(HANDLE process)
{
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof memory;
    if (!GetProcessMemoryInfo(process, (PROCESS_MEMORY_COUNTERS *)&memory, sizeof memory))
        return -1;
    SIZE_T bytes = memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
    return bytes ? (long long)(bytes / 1024) : -1;
}

// The system's table of every process's handles (SystemHandleInformation),
// for where GetProcessHandleCount gives 0 (Wine 8, which fills the table).
struct HandleEntry {
    ULONG processId;
    BYTE type, flags;
    USHORT handle;
    void *object;
    ACCESS_MASK access;
};
struct HandleTable {
    ULONG count;
    HandleEntry entries[1];
};

static long long HandlesInSystemTable(DWORD processId)
{
    using Query = LONG(WINAPI *)(ULONG, void *, ULONG, ULONG *);
    auto query = (Query)(void *)GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation");
    const ULONG kSystemHandleInformation = 16;
    const LONG kLengthMismatch = (LONG)0xC0000004;
    std::vector<BYTE> buffer(1 << 20);
    LONG status = kLengthMismatch;
    for (int tries = 0; query && status == kLengthMismatch && tries < 8; tries++) {
        ULONG needed = 0;
        status = query(kSystemHandleInformation, buffer.data(), (ULONG)buffer.size(), &needed);
        if (status == kLengthMismatch)
            buffer.resize(std::max<size_t>(buffer.size() * 2, needed + 4096));
    }
    if (!query || status != 0)
        return -1;
    const auto *table = (const HandleTable *)buffer.data();
    long long count = 0;
    for (ULONG i = 0; i < table->count; i++)
        count += table->entries[i].processId == processId;
    return count;
}

static long long Handles(HANDLE process, DWORD processId)
{
    DWORD handles = 0;
    if (GetProcessHandleCount(process, &handles) && handles != 0)
        return handles;
    long long counted = HandlesInSystemTable(processId);
    return counted > 0 ? counted : -1;
}

// GetGuiResources gives 0 when it cannot count (Wine 8 has it as a stub that
// says ERROR_CALL_NOT_IMPLEMENTED); a live program always holds objects.
static long long GuiResources(HANDLE process, DWORD kind)
{
    DWORD count = GetGuiResources(process, kind);
    return count == 0 ? -1 : (long long)count;
}

struct WindowCount {
    DWORD processId;
    long long count;
};

static BOOL CALLBACK CountChild(HWND, LPARAM count)
{
    ((WindowCount *)count)->count++;
    return TRUE;
}

static BOOL CALLBACK CountTopLevel(HWND window, LPARAM count)
{
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == ((WindowCount *)count)->processId) {
        ((WindowCount *)count)->count++;
        EnumChildWindows(window, CountChild, count);
    }
    return TRUE;
}

// The process's windows, top-level and child.
static long long Windows(DWORD processId)
{
    WindowCount count = {processId, 0};
    EnumWindows(CountTopLevel, (LPARAM)&count);
    return count.count;
}

Sample Counters_Read(HANDLE process, DWORD processId, DWORD seconds)
{
    Sample sample = {seconds, {}};
    sample.value[COUNTER_PRIVATE_KB] = PrivateKb(process);
    sample.value[COUNTER_HANDLES] = Handles(process, processId);
    sample.value[COUNTER_GDI] = GuiResources(process, GR_GDIOBJECTS);
    sample.value[COUNTER_USER] = GuiResources(process, GR_USEROBJECTS);
    sample.value[COUNTER_WINDOWS] = Windows(processId);
    return sample;
}

static void PrintValue(long long value)
{
    if (value < 0)
        std::printf(" %12s", "n/a");
    else
        std::printf(" %12lld", value);
}

static void PrintTable(const std::vector<Sample> &samples)
{
    std::printf("%7s", "seconds");
    for (const char *name : kNames)
        std::printf(" %12s", name);
    std::printf("\n");
    for (const Sample &s : samples) {
        std::printf("%7lu", s.seconds);
        for (long long value : s.value)
            PrintValue(value);
        std::printf("\n");
    }
}

// The lowest value over samples [first, last): the level a counter keeps
// under the moment's transient allocations.
static long long Level(const std::vector<Sample> &samples, size_t first, size_t last, int counter)
{
    long long level = samples[first].value[counter];
    for (size_t i = first; i < last; i++)
        level = std::min(level, samples[i].value[counter]);
    return level;
}

static bool Available(const std::vector<Sample> &samples, int counter)
{
    for (const Sample &s : samples)
        if (s.value[counter] < 0)
            return false;
    return true;
}

bool Counters_Report(const std::vector<Sample> &samples, DWORD warmUpSeconds)
{
    PrintTable(samples);
    size_t warm = 0;
    while (warm < samples.size() && samples[warm].seconds < warmUpSeconds)
        warm++;
    // A level is taken over a tenth of the run after the warm-up, at least
    // ten samples: every 1080p frame held by the pipeline, the recorder's
    // queue or an encoder adds 6 MB, and under load a few seconds can pass
    // with one or two of them always in flight.
    size_t window = std::max<size_t>(10, (samples.size() - warm) / 10);
    if (warm == 0 || samples.size() < warm + 2 * window) {
        std::printf("too few samples after the warm-up (%zu of %zu)\n", samples.size() - warm, samples.size());
        return false;
    }
    bool held = true;
    std::printf("%-13s %10s %10s %10s %10s %10s\n", "counter", "start", "warm", "end", "growth", "bound");
    for (int c = 0; c < COUNTER_COUNT; c++) {
        if (!Available(samples, c)) {
            // Memory and handles are what every system gives; without them the run proves nothing.
            bool needed = c == COUNTER_PRIVATE_KB || c == COUNTER_HANDLES;
            std::printf("%-13s not given by this system%s\n", kNames[c], needed ? "  MISSING" : "");
            held &= !needed;
            continue;
        }
        long long warmLevel = Level(samples, warm, warm + window, c);
        long long endLevel = Level(samples, samples.size() - window, samples.size(), c);
        long long growth = endLevel - warmLevel;
        bool ok = growth <= kBounds[c];
        held &= ok;
        std::printf("%-13s %10lld %10lld %10lld %+10lld %10lld%s\n", kNames[c], samples[0].value[c], warmLevel,
                    endLevel, growth, kBounds[c], ok ? "" : "  GREW");
    }
    return held;
}
