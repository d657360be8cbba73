// Platform services of the portable shell code, on Win32.
#include "base/clock.h"
#include "base/platform.h"
#include "base/text.h"

#include <windows.h>
#include <mmsystem.h>
#include <shlobj.h>
#include <cstdint>

bool Platform_ModulePath(wchar_t *path, size_t capacity)
{
    DWORD n = GetModuleFileNameW(nullptr, path, (DWORD)capacity);
    return n > 0 && n < capacity;
}

bool Platform_DocumentsFolder(wchar_t *path, size_t capacity)
{
    wchar_t folder[MAX_PATH];
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return false;
    return Text_Copy(path, capacity, folder);
}

bool Folder_Exists(const wchar_t *path)
{
    DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Path_Exists(const wchar_t *path)
{
    return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

bool Folder_Create(const wchar_t *path)
{
    // ERROR_ALREADY_EXISTS also comes for a file of that name: only a folder counts.
    return CreateDirectoryW(path, nullptr) || Folder_Exists(path);
}

bool File_ReadAll(const wchar_t *path, size_t maxBytes, std::vector<unsigned char> *content)
{
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size;
    bool ok = GetFileSizeEx(file, &size) && (uint64_t)size.QuadPart <= maxBytes;
    if (ok) {
        content->resize((size_t)size.QuadPart);
        DWORD read = 0;
        ok = content->empty() ||
             (ReadFile(file, content->data(), (DWORD)content->size(), &read, nullptr) &&
              read == content->size());
    }
    CloseHandle(file);
    if (!ok)
        content->clear();
    return ok;
}

void Debug_Print(const wchar_t *line)
{
    OutputDebugStringW(line);
}

static void SystemLocalTime(LocalTime *now)
{
    SYSTEMTIME t;
    GetLocalTime(&t);
    *now = {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

void (*Clock_LocalTime)(LocalTime *now) = SystemLocalTime;

uint32_t Clock_Milliseconds()
{
    return timeGetTime();
}

// Whole seconds and the remainder apart, so that no product overflows
// however long the machine has been running.
static int64_t PerformanceCounterTime()
{
    static const int64_t frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f); // never fails since Windows XP
        return (int64_t)f.QuadPart;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    int64_t seconds = counter.QuadPart / frequency, rest = counter.QuadPart % frequency;
    return seconds * 10000000 + rest * 10000000 / frequency;
}

int64_t (*Clock_Precise)() = PerformanceCounterTime;
