// Helpers shared by the Win32 tests.
#pragma once
#include <windows.h>
#include <string>

// A fresh HKEY_CURRENT_USER\Software\Quorell: deleted now and after the test.
struct ScopedRegistryKey {
    ScopedRegistryKey();
    ~ScopedRegistryKey();
};

void Registry_SetNumber(const wchar_t *name, DWORD value);
void Registry_SetString(const wchar_t *name, const std::wstring &value);
void Registry_SetRaw(const wchar_t *name, DWORD type, const void *data, DWORD size);
bool Registry_GetNumber(const wchar_t *name, DWORD *value);
std::wstring Registry_GetString(const wchar_t *name);

// A new, empty folder under the temporary folder; removed with its contents.
struct ScratchFolder {
    explicit ScratchFolder(const wchar_t *name);
    ~ScratchFolder();
    std::wstring path;
};

bool Path_IsFolder(const std::wstring &path);
bool Path_IsFile(const std::wstring &path);
void File_WriteBytes(const std::wstring &path, const void *data, size_t size);
void Folder_RemoveTree(const std::wstring &path);
// An empty folder <kind>\<test> in the working folder (the build tree,
// where the Linux side reads what a test left), emptied if it was there;
// its full path.
std::wstring Folder_Fresh(const wchar_t *kind, const wchar_t *test);
// The names of the files (not folders) in a folder, in name order.
#include <vector>
std::vector<std::wstring> Folder_Files(const std::wstring &folder);

// An image file's size and one pixel (top-down), read with GDI+.
bool Image_Size(const std::wstring &path, UINT *width, UINT *height);
COLORREF Image_Pixel(const std::wstring &path, int x, int y);
// The first two bytes of a file, little-endian (0xD8FF for JPEG, 0x5089 for PNG).
unsigned File_Magic(const std::wstring &path);

// The processes running now, and an end to those started since (such as a
// file browser the shell opened, which would hold the test's output open);
// gives how many it ended.
#include <set>
std::set<DWORD> Processes_Running();
int Processes_EndStartedSince(const std::set<DWORD> &before);

// Dispatches the thread's pending messages, for up to the given time: each
// translated and dispatched, or handed to dispatch when one is given.
void PumpMessages(DWORD milliseconds, void (*dispatch)(MSG *) = nullptr);
