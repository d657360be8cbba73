#include "base/platform.h"

#include "base/text.h"

#include <cstdarg>
#include <cwchar>
#include <string>

void Debug_Printf(const wchar_t *format, ...)
{
    wchar_t line[512];
    va_list args;
    va_start(args, format);
    Text_FormatV(line, 512, format, args);
    va_end(args);
    Debug_Print(line);
}

bool File_MakeNameFree(wchar_t *path, size_t capacity)
{
    if (!Path_Exists(path))
        return true;
    // A dot in a folder's name is no extension.
    const wchar_t *slash = wcsrchr(path, L'\\');
    const wchar_t *dot = wcsrchr(path, L'.');
    if (!dot || (slash && dot < slash))
        dot = path + wcslen(path);
    const std::wstring stem(path, (size_t)(dot - path)), extension(dot);
    for (int suffix = 2; suffix <= FREE_NAME_LAST_SUFFIX; suffix++) {
        std::wstring name = stem + L"-" + std::to_wstring(suffix) + extension;
        if (name.size() >= capacity)
            return false;
        if (!Path_Exists(name.c_str()))
            return Text_Copy(path, capacity, name.c_str());
    }
    return false;
}
