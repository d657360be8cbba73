#include "base/text.h"

#include <cwchar>
#include <string>
#include <vector>

bool Text_Copy(wchar_t *dst, size_t capacity, const wchar_t *src)
{
    if (capacity == 0)
        return !src || !src[0];
    size_t i = 0;
    for (; src && src[i] && i + 1 < capacity; i++)
        dst[i] = src[i];
    dst[i] = 0;
    return !src || !src[i];
}

bool Text_FormatV(wchar_t *dst, size_t capacity, const wchar_t *format, va_list args)
{
    if (capacity == 0)
        return false;
    va_list copy;
    va_copy(copy, args);
    int n = vswprintf(dst, capacity, format, copy);
    va_end(copy);
    if (n >= 0 && (size_t)n < capacity)
        return true;
    // Too long for the buffer: what vswprintf leaves behind is unspecified, so
    // format into a buffer that is large enough and keep the part that fits.
    for (size_t size = capacity * 2 + 256; size <= (1u << 20); size *= 2) {
        std::vector<wchar_t> wide(size);
        va_copy(copy, args);
        n = vswprintf(wide.data(), size, format, copy);
        va_end(copy);
        if (n >= 0 && (size_t)n < size) {
            Text_Copy(dst, capacity, wide.data());
            return false;
        }
    }
    dst[0] = 0;
    return false;
}

bool Text_Format(wchar_t *dst, size_t capacity, const wchar_t *format, ...)
{
    va_list args;
    va_start(args, format);
    bool whole = Text_FormatV(dst, capacity, format, args);
    va_end(args);
    return whole;
}

bool Text_Append(wchar_t *dst, size_t capacity, const wchar_t *src)
{
    size_t used = wcslen(dst);
    return used < capacity && Text_Copy(dst + used, capacity - used, src);
}

bool Text_Substitute(wchar_t *dst, size_t capacity, const wchar_t *pattern, const wchar_t *value)
{
    return Text_SubstituteAll(dst, capacity, pattern, &value, 1);
}

bool Text_SubstituteAll(wchar_t *dst, size_t capacity, const wchar_t *pattern, const wchar_t *const *values,
                        int count)
{
    std::wstring whole;
    const wchar_t *rest = pattern;
    for (int i = 0; i < count; i++) {
        const wchar_t *mark = wcsstr(rest, L"%s");
        if (!mark)
            break;
        whole.append(rest, mark);
        whole += values[i];
        rest = mark + 2;
    }
    whole += rest;
    return Text_Copy(dst, capacity, whole.c_str());
}

size_t Text_Length(const wchar_t *text)
{
    return wcslen(text);
}

const wchar_t *Text_FileName(const wchar_t *path)
{
    const wchar_t *slash = wcsrchr(path, L'\\');
    return slash ? slash + 1 : path;
}

bool Text_Equal(const wchar_t *a, const wchar_t *b)
{
    return wcscmp(a, b) == 0;
}
