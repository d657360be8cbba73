// The settings store on the registry: HKEY_CURRENT_USER\Software\Quorell.
#include "state/settings_store.h"

#include <windows.h>
#include <cwchar>
#include <vector>

static HKEY gStoreKey;

bool Store_Open()
{
    gStoreKey = nullptr;
    LONG status = RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Quorell", 0, nullptr, 0,
                                  KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY, nullptr,
                                  &gStoreKey, nullptr);
    if (status != ERROR_SUCCESS)
        gStoreKey = nullptr;
    return gStoreKey != nullptr;
}

void Store_Close()
{
    if (gStoreKey)
        RegCloseKey(gStoreKey);
    gStoreKey = nullptr;
}

// The value's type and bytes when it is there and holds at most limit bytes
// (anything longer no read takes).
static bool ReadStored(const wchar_t *name, DWORD limit, DWORD *type, std::vector<uint8_t> *bytes)
{
    DWORD size = 0;
    if (!gStoreKey || RegQueryValueExW(gStoreKey, name, nullptr, type, nullptr, &size) != ERROR_SUCCESS ||
        size > limit)
        return false;
    bytes->resize(size);
    if (RegQueryValueExW(gStoreKey, name, nullptr, type, bytes->data(), &size) != ERROR_SUCCESS)
        return false;
    bytes->resize(size);
    return true;
}

bool Store_ReadNumber(const wchar_t *name, int32_t *value)
{
    DWORD type = 0;
    std::vector<uint8_t> bytes;
    return ReadStored(name, sizeof(DWORD), &type, &bytes) &&
           Store_DecodeNumber(type, bytes.data(), bytes.size(), value);
}

bool Store_ReadText(const wchar_t *name, wchar_t *text, size_t capacity)
{
    DWORD type = 0;
    std::vector<uint8_t> bytes;
    if (!ReadStored(name, (DWORD)(capacity * sizeof(wchar_t)), &type, &bytes)) {
        text[0] = 0;
        return false;
    }
    return Store_DecodeText(type, bytes.data(), bytes.size(), text, capacity);
}

bool Store_WriteNumber(const wchar_t *name, int32_t value)
{
    DWORD data = (DWORD)value;
    return gStoreKey &&
           RegSetValueExW(gStoreKey, name, 0, REG_DWORD, (const BYTE *)&data, sizeof data) ==
               ERROR_SUCCESS;
}

bool Store_WriteText(const wchar_t *name, const wchar_t *text)
{
    DWORD bytes = (DWORD)((wcslen(text) + 1) * sizeof(wchar_t));
    return gStoreKey &&
           RegSetValueExW(gStoreKey, name, 0, REG_SZ, (const BYTE *)text, bytes) == ERROR_SUCCESS;
}
