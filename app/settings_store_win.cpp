// The settings store on the registry: HKEY_CURRENT_USER\Software\Quorell.
#include "app/settings_store.h"

#include <windows.h>
#include <cwchar>

static_assert(STORE_TYPE_TEXT == REG_SZ && STORE_TYPE_NUMBER == REG_DWORD,
              "the store's types are the registry's");

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

bool Store_ReadNumber(const wchar_t *name, int32_t *value)
{
    DWORD type = 0, data = 0, size = sizeof data;
    if (!gStoreKey ||
        RegQueryValueExW(gStoreKey, name, nullptr, &type, (BYTE *)&data, &size) != ERROR_SUCCESS)
        return false;
    return StoreValue_Number(type, &data, size, value);
}

bool Store_ReadText(const wchar_t *name, wchar_t *text, size_t capacity)
{
    DWORD type = 0, size = (DWORD)(capacity * sizeof(wchar_t));
    if (!gStoreKey ||
        RegQueryValueExW(gStoreKey, name, nullptr, &type, (BYTE *)text, &size) != ERROR_SUCCESS) {
        text[0] = 0;
        return false;
    }
    return StoreValue_Text(type, size, text, capacity);
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
