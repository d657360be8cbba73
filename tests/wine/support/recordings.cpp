#include "recordings.h"

#include "wine_support.h"

#include <windows.h>
#include <algorithm>
#include <cstdio>

RecordingFolder::RecordingFolder(const wchar_t *test)
{
    CreateDirectoryW(L"recordings", nullptr);
    std::wstring relative = std::wstring(L"recordings\\") + test;
    Folder_RemoveTree(relative);
    CreateDirectoryW(relative.c_str(), nullptr);
    wchar_t full[MAX_PATH];
    GetFullPathNameW(relative.c_str(), MAX_PATH, full, nullptr);
    path = full;
}

std::vector<std::wstring> RecordingFolder::Videos() const
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::wstring name = found.cFileName;
        if (name.size() > 4 && (name.ends_with(L".mp4") || name.ends_with(L".wmv")))
            names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

void RecordingFolder::Expect(const std::wstring &name, double shortest, double longest, int width,
                             int height) const
{
    FILE *file = _wfopen((path + L"\\expected.txt").c_str(), L"a");
    if (!file)
        return;
    fprintf(file, "%ls %.3f %.3f %d %d\n", name.c_str(), shortest, longest, width, height);
    fclose(file);
}
