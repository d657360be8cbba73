#include "fuzz_support.h"

#include <cstdio>
#include <cstdlib>

void Fuzz_Fail(const char *condition, const char *file, int line)
{
    fprintf(stderr, "%s:%d: property violated: %s\n", file, line, condition);
    abort();
}

std::wstring Fuzz_Utf16(const uint8_t *data, size_t size)
{
    std::wstring text;
    for (size_t i = 0; i + 1 < size; i += 2)
        text.push_back((wchar_t)(data[i] | data[i + 1] << 8));
    return text;
}

std::wstring Fuzz_Utf16(const std::string &bytes)
{
    return Fuzz_Utf16((const uint8_t *)bytes.data(), bytes.size());
}
