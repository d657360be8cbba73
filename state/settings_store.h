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

// What a stored value gives, from its type (the registry's numbering) and
// all its bytes as stored: the rules of the two reads above, shared by the
// registry and the host tests' store. Texts are stored as UTF-16. A text that
// is not read leaves the field untouched but for its terminator.
enum { STORE_TYPE_TEXT = 1, STORE_TYPE_NUMBER = 4 }; // REG_SZ, REG_DWORD
bool Store_DecodeNumber(uint32_t type, const uint8_t *data, size_t size, int32_t *value);
bool Store_DecodeText(uint32_t type, const uint8_t *data, size_t size, wchar_t *text, size_t capacity);

bool Store_WriteNumber(const wchar_t *name, int32_t value);
bool Store_WriteText(const wchar_t *name, const wchar_t *text);
