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

bool Store_WriteNumber(const wchar_t *name, int32_t value);
bool Store_WriteText(const wchar_t *name, const wchar_t *text);
