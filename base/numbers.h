// Number reading as the stored texts need it: base 10, leading white space
// skipped, reading stops at the first character that is not part of the
// number, no digits give 0. Results are 32-bit, as the platform's long is:
// values beyond the range saturate, and an unsigned read of a negative
// number wraps as strtoul does.
#pragma once
#include <cstdint>

int32_t Number_ReadLong(const wchar_t *text);
uint32_t Number_ReadUnsignedLong(const wchar_t *text);

// The decimal with the fewest significant digits that reads back as the
// same float: the value a stored 32-bit number stands for (0.04f gives
// 0.04, not 0.0399999991), so that double arithmetic on it shows no digits
// of the float's rounding.
double Number_ShortestDecimal(float value);
