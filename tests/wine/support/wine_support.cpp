#include "wine_support.h"

#include "base/gdiplus_win.h"

#include <shellapi.h>
#include <tlhelp32.h>

#include <algorithm>

static const wchar_t *const kKey = L"Software\\Quorell";

ScopedRegistryKey::ScopedRegistryKey()
{
    RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
}

ScopedRegistryKey::~ScopedRegistryKey()
{
    RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
}

void Registry_SetRaw(const wchar_t *name, DWORD type, const void *data, DWORD size)
{
    HKEY key;
    RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegSetValueExW(key, name, 0, type, (const BYTE *)data, size);
    RegCloseKey(key);
}

void Registry_SetNumber(const wchar_t *name, DWORD value)
{
    Registry_SetRaw(name, REG_DWORD, &value, sizeof value);
}

void Registry_SetString(const wchar_t *name, const std::wstring &value)
{
    Registry_SetRaw(name, REG_SZ, value.c_str(), (DWORD)((value.size() + 1) * sizeof(wchar_t)));
}

bool Registry_GetNumber(const wchar_t *name, DWORD *value)
{
    DWORD size = sizeof *value, type = 0;
    LONG status = RegGetValueW(HKEY_CURRENT_USER, kKey, name, RRF_RT_ANY, &type, value, &size);
    return status == ERROR_SUCCESS && type == REG_DWORD;
}

std::wstring Registry_GetString(const wchar_t *name)
{
    wchar_t text[4096] = L"";
    DWORD size = sizeof text;
    RegGetValueW(HKEY_CURRENT_USER, kKey, name, RRF_RT_REG_SZ, nullptr, text, &size);
    return text;
}

ScratchFolder::ScratchFolder(const wchar_t *name)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    path = std::wstring(temp) + L"quorell-" + name;
    Folder_RemoveTree(path);
    CreateDirectoryW(path.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder()
{
    Folder_RemoveTree(path);
}

bool Path_IsFolder(const std::wstring &path)
{
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool Path_IsFile(const std::wstring &path)
{
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

void File_WriteBytes(const std::wstring &path, const void *data, size_t size)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, data, (DWORD)size, &written, nullptr);
    CloseHandle(file);
}

void Folder_RemoveTree(const std::wstring &path)
{
    // SHFileOperation wants a double-terminated list.
    std::wstring from = path + L'\0';
    SHFILEOPSTRUCTW op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    SHFileOperationW(&op);
}

void PumpMessages(DWORD milliseconds, void (*dispatch)(MSG *))
{
    DWORD end = GetTickCount() + milliseconds;
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (dispatch) {
                dispatch(&msg);
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while ((LONG)(GetTickCount() - end) < 0);
}

bool Image_Size(const std::wstring &path, UINT *width, UINT *height)
{
    Gdiplus::GpImage *image = nullptr;
    if (Gdip::GdipLoadImageFromFile(path.c_str(), &image) != Gdiplus::Ok)
        return false;
    Gdip::GdipGetImageWidth(image, width);
    Gdip::GdipGetImageHeight(image, height);
    Gdip::GdipDisposeImage(image);
    return true;
}

COLORREF Image_Pixel(const std::wstring &path, int x, int y)
{
    Gdiplus::GpBitmap *bitmap = nullptr;
    if (Gdip::GdipCreateBitmapFromFile(path.c_str(), &bitmap) != Gdiplus::Ok)
        return CLR_INVALID;
    Gdiplus::ARGB argb = 0;
    Gdip::GdipBitmapGetPixel(bitmap, x, y, &argb);
    Gdip::GdipDisposeImage(bitmap);
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

unsigned File_Magic(const std::wstring &path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    unsigned char bytes[2] = {};
    DWORD read = 0;
    if (file != INVALID_HANDLE_VALUE) {
        ReadFile(file, bytes, 2, &read, nullptr);
        CloseHandle(file);
    }
    return bytes[0] | (bytes[1] << 8);
}

std::set<DWORD> Processes_Running()
{
    std::set<DWORD> ids;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
        ids.insert(entry.th32ProcessID);
    CloseHandle(snapshot);
    return ids;
}

int Processes_EndStartedSince(const std::set<DWORD> &before)
{
    int ended = 0;
    for (DWORD id : Processes_Running()) {
        if (before.count(id) || id == GetCurrentProcessId())
            continue;
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
        if (process) {
            ended += TerminateProcess(process, 0) != 0;
            WaitForSingleObject(process, 2000);
            CloseHandle(process);
        }
    }
    return ended;
}

std::vector<std::wstring> Folder_Files(const std::wstring &folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

std::wstring Folder_Fresh(const wchar_t *kind, const wchar_t *test)
{
    CreateDirectoryW(kind, nullptr);
    std::wstring relative = std::wstring(kind) + L"\\" + test;
    Folder_RemoveTree(relative);
    CreateDirectoryW(relative.c_str(), nullptr);
    wchar_t full[MAX_PATH];
    GetFullPathNameW(relative.c_str(), MAX_PATH, full, nullptr);
    return full;
}
