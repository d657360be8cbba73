#include "state/settings_cameras.h"

#include "base/text.h"
#include "state/settings_store.h"

#include <cstring>

CameraMemory gCameraMemory[CAMERA_MEMORY_SLOTS];

// One whole decimal number (an optional '-' and at least one digit) that fits
// 32 bits and lies in low..high, followed by `end`; *at moves past the end.
static bool ReadField(const wchar_t **at, wchar_t end, int64_t low, int64_t high, int32_t *value)
{
    const wchar_t *p = *at;
    bool negative = *p == L'-';
    if (negative)
        p++;
    int64_t number = 0;
    const wchar_t *digits = p;
    for (; *p >= L'0' && *p <= L'9'; p++) {
        number = number * 10 + (*p - L'0');
        if (number > (int64_t)INT32_MAX + 1)
            return false;
    }
    if (p == digits || *p != end)
        return false;
    number = negative ? -number : number;
    if (number < low || number > high)
        return false;
    *value = (int32_t)number;
    *at = p + 1;
    return true;
}

bool CameraMemory_Parse(const wchar_t *text, CameraMemory *memory)
{
    CameraMemory read = {};
    const wchar_t *at = text;
    for (KeptProperty &p : read.properties)
        if (!ReadField(&at, L',', KEPT_NONE, KEPT_AUTO_AFTER_MANUAL, &p.mode) ||
            !ReadField(&at, L';', INT32_MIN, INT32_MAX, &p.value))
            return false;
    if (!ReadField(&at, L';', 0, 2, &read.powerLine) || !*at ||
        !Text_Copy(read.devicePath, CAMERA_PATH_CAPACITY, at))
        return false;
    *memory = read;
    return true;
}

bool CameraMemory_Format(const CameraMemory &memory, wchar_t *text, size_t capacity)
{
    text[0] = 0;
    bool fits = true;
    for (const KeptProperty &p : memory.properties) {
        wchar_t pair[32];
        Text_Format(pair, 32, L"%d,%d;", p.mode, p.value);
        fits = fits && Text_Append(text, capacity, pair);
    }
    wchar_t powerLine[16];
    Text_Format(powerLine, 16, L"%d;", memory.powerLine);
    return fits && Text_Append(text, capacity, powerLine) && Text_Append(text, capacity, memory.devicePath);
}

const CameraMemory *CameraMemory_Find(const wchar_t *devicePath)
{
    if (!devicePath[0])
        return nullptr;
    for (const CameraMemory &m : gCameraMemory)
        if (Text_Equal(m.devicePath, devicePath))
            return &m;
    return nullptr;
}

// Moves the slots before `index` one down and puts `memory` first; an index
// past the end drops the last slot.
static void PutFirst(const CameraMemory &memory, int index)
{
    CameraMemory kept = memory; // `memory` may be one of the slots moved
    if (index >= CAMERA_MEMORY_SLOTS)
        index = CAMERA_MEMORY_SLOTS - 1;
    memmove(&gCameraMemory[1], &gCameraMemory[0], (size_t)index * sizeof(CameraMemory));
    gCameraMemory[0] = kept;
}

void CameraMemory_Remember(const CameraMemory &memory)
{
    if (!memory.devicePath[0])
        return;
    int index = 0;
    while (index < CAMERA_MEMORY_SLOTS && !Text_Equal(gCameraMemory[index].devicePath, memory.devicePath))
        index++;
    PutFirst(memory, index);
    if (Store_Open()) {
        CameraMemory_Write();
        Store_Close();
    }
}

static void ValueName(wchar_t *name, int slot)
{
    Text_Format(name, 16, L"Camera%d", slot + 1);
}

void CameraMemory_Read()
{
    int used = 0;
    for (int slot = 0; slot < CAMERA_MEMORY_SLOTS; slot++) {
        wchar_t name[16], text[CAMERA_MEMORY_TEXT_CAPACITY];
        ValueName(name, slot);
        CameraMemory read;
        if (Store_ReadText(name, text, CAMERA_MEMORY_TEXT_CAPACITY) && CameraMemory_Parse(text, &read) &&
            !CameraMemory_Find(read.devicePath))
            gCameraMemory[used++] = read;
    }
}

// A free slot is written as an empty text, which no read takes.
void CameraMemory_Write()
{
    for (int slot = 0; slot < CAMERA_MEMORY_SLOTS; slot++) {
        wchar_t name[16], text[CAMERA_MEMORY_TEXT_CAPACITY] = L"";
        ValueName(name, slot);
        if (gCameraMemory[slot].devicePath[0] &&
            !CameraMemory_Format(gCameraMemory[slot], text, CAMERA_MEMORY_TEXT_CAPACITY))
            text[0] = 0;
        Store_WriteText(name, text);
    }
}
