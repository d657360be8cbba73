// Number reading as the stored texts need it: base 10, leading white space
// skipped, reading stops at the first character that is not part of the
// number, no digits give 0. Results are 32-bit, as the platform's long is:
// values beyond the range saturate, and an unsigned read of a negative
// number wraps as strtoul does.
#pragma once
#include <cstdint>

int32_t Number_ReadLong(const wchar_t *text);
uint32_t Number_ReadUnsignedLong(const wchar_t *text);
