// The per-user key-value store behind the settings: the registry key
// HKEY_CURRENT_USER\Software\Quorell in the Windows build.
#pragma once
#include <cstddef>
#include <cstdint>

// Opens the key for reading and writing, creating it when missing.
bool Store_Open();
void Store_Close();

// A number is read only from a 32-bit value of the number type; anything
// else (missing, another type, another size) fails.
bool Store_ReadNumber(const wchar_t *name, int32_t *value);

// A text is read only from a string value that fits in capacity characters
// with its terminator; the result is always terminated.
bool Store_ReadText(const wchar_t *name, wchar_t *text, size_t capacity);

// How a value read from the store is taken, once its type and size in bytes
// are known and its bytes (at most what the caller's buffer holds) are in
// that buffer: the registry's REG_SZ and REG_DWORD types.
enum { STORE_TYPE_TEXT = 1, STORE_TYPE_NUMBER = 4 };
bool StoreValue_Number(uint32_t type, const void *data, size_t size, int32_t *value);
// text holds the value's size bytes; the result is always terminated.
bool StoreValue_Text(uint32_t type, size_t size, wchar_t *text, size_t capacity);

bool Store_WriteNumber(const wchar_t *name, int32_t value);
bool Store_WriteText(const wchar_t *name, const wchar_t *text);
