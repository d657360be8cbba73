#include "state/folders.h"

#include "state/app_state.h"
#include "base/platform.h"
#include "base/text.h"

bool Folder_Ensure(const wchar_t *path)
{
    wchar_t walk[PATH_CAPACITY + 1];
    if (!Text_Copy(walk, PATH_CAPACITY, path))
        return false; // never make the folders of a cut path
    size_t length = Text_Length(walk);
    if (length == 0 || walk[length - 1] != L'\\') {
        walk[length++] = L'\\';
        walk[length] = 0;
    }

    // The part up to the first backslash is the drive.
    size_t i = 0;
    while (i < length && walk[i] != L'\\')
        i++;

    bool ok = true;
    for (i++; i < length; i++) {
        if (walk[i] != L'\\')
            continue;
        walk[i] = 0;
        if (!Folder_Exists(walk) && !Folder_Create(walk))
            ok = false;
        walk[i] = L'\\';
    }
    return ok;
}
