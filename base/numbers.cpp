#include "base/numbers.h"

#include <cstdio>
#include <cstdlib>
#include <cwctype>

// Reads sign and magnitude; the magnitude saturates at 2^32 so that both
// callers can tell an overflow.
static bool ReadMagnitude(const wchar_t *text, bool *negative, uint64_t *magnitude)
{
    const uint64_t limit = 1ull << 32;
    while (*text && iswspace(*text))
        text++;
    *negative = false;
    if (*text == L'+' || *text == L'-')
        *negative = *text++ == L'-';
    *magnitude = 0;
    bool any = false;
    for (; *text >= L'0' && *text <= L'9'; text++) {
        any = true;
        *magnitude = *magnitude * 10 + (uint64_t)(*text - L'0');
        if (*magnitude > limit)
            *magnitude = limit;
    }
    return any;
}

int32_t Number_ReadLong(const wchar_t *text)
{
    bool negative;
    uint64_t magnitude;
    if (!ReadMagnitude(text, &negative, &magnitude))
        return 0;
    if (negative)
        return magnitude >= (1ull << 31) ? INT32_MIN : -(int32_t)magnitude;
    return magnitude > INT32_MAX ? INT32_MAX : (int32_t)magnitude;
}

uint32_t Number_ReadUnsignedLong(const wchar_t *text)
{
    bool negative;
    uint64_t magnitude;
    if (!ReadMagnitude(text, &negative, &magnitude))
        return 0;
    if (magnitude > UINT32_MAX)
        return UINT32_MAX;
    return negative ? (uint32_t)(0u - (uint32_t)magnitude) : (uint32_t)magnitude;
}

double Number_ShortestDecimal(float value)
{
    char text[32];
    for (int digits = 1; digits < 9; digits++) {
        snprintf(text, sizeof text, "%.*g", digits, (double)value);
        double decimal = strtod(text, nullptr);
        if ((float)decimal == value)
            return decimal;
    }
    return value; // nine digits always read back: the float itself
}
