// Taking snapshots of the camera view and showing them in the file browser.
#include "reports/snapshot.h"

#include "state/app_state.h"
#include "state/prompt.h"
#include "state/settings.h"
#include "base/text.h"
#include "capture/camera_graph.h"
#include "view/view_snapshot_win.h"

#include <windows.h>
#include <shlobj.h>

void Snapshot_Take()
{
    if (!Camera_IsOpen())
        return;
    wchar_t name[PATH_CAPACITY];
    if (!Snapshot_MakeFileName(name)) {
        Prompt_ShowSaveFailure(gSettings.imageFolder); // no room or no free name in it
        return;
    }
    if (!View_SaveSnapshot(name, false)) {
        Prompt_ShowSaveFailure(name);
        return;
    }
    wchar_t text[PROMPT_TEXT_CAPACITY];
    Snapshot_SavedText(text, PROMPT_TEXT_CAPACITY, name);
    Prompt_Show(text, gApp.toolbarHeight + 1);
    Text_Copy(gApp.lastSavedFile, PATH_CAPACITY, name);
}

void Gallery_Target(wchar_t *path)
{
    if (gApp.lastSavedFile[0]) {
        Text_Copy(path, PATH_CAPACITY, gApp.lastSavedFile);
        return;
    }
    Text_Copy(path, PATH_CAPACITY, gSettings.imageFolder);
    wchar_t pattern[PATH_CAPACITY];
    if (!Text_Format(pattern, PATH_CAPACITY, L"%ls\\*-*-*.jpg", gSettings.imageFolder))
        return;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(pattern, &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    wchar_t first[PATH_CAPACITY];
    if (Text_Format(first, PATH_CAPACITY, L"%ls\\%ls", gSettings.imageFolder, found.cFileName))
        Text_Copy(path, PATH_CAPACITY, first);
    FindClose(search);
}

void Gallery_Open()
{
    IShellLinkW *link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                (void **)&link)) || !link)
        return;
    wchar_t path[PATH_CAPACITY];
    Gallery_Target(path);
    PIDLIST_ABSOLUTE items = nullptr;
    if (SUCCEEDED(link->SetPath(path)) && SUCCEEDED(link->GetIDList(&items)) && items)
        SHOpenFolderAndSelectItems(items, 0, nullptr, 0);
    link->Release();
    CoTaskMemFree(items);
}
