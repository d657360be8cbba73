#include "base/platform.h"

#include "base/text.h"

#include <cstdarg>

void Debug_Printf(const wchar_t *format, ...)
{
    wchar_t line[512];
    va_list args;
    va_start(args, format);
    Text_FormatV(line, 512, format, args);
    va_end(args);
    Debug_Print(line);
}
