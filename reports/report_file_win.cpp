#include "view/view_source.h"
#include "reports/report_file_win.h"

#include "state/app_state.h"
#include "state/prompt.h"
#include "state/settings.h"
#include "base/platform.h"
#include "base/text.h"
#include "capture/camera_graph.h"
#include "reports/report_values.h"

#include <cwchar>

BOOL(WINAPI *Report_GetSaveFileName)(OPENFILENAMEW *dialog) = GetSaveFileNameW;

OPENFILENAMEW File_DialogSetup(const wchar_t *filter, wchar_t *path)
{
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = gApp.mainWindow;
    dialog.lpstrFilter = filter;
    dialog.lpstrFile = path;
    dialog.nMaxFile = PATH_CAPACITY;
    dialog.lpstrInitialDir = gSettings.imageFolder;
    return dialog;
}

bool Report_ChooseFile(const LocalTime &now, const wchar_t *filter, const wchar_t *extension, wchar_t *path)
{
    // The dialog proposes no name rather than one to be replaced, or cut.
    if (!Report_ProposedName(path, PATH_CAPACITY, gSettings.imageFolder, now, extension) ||
        !File_MakeNameFree(path, PATH_CAPACITY))
        path[0] = 0;
    OPENFILENAMEW dialog = File_DialogSetup(filter, path);
    dialog.lpstrDefExt = extension;
    dialog.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_PATHMUSTEXIST | OFN_NOREADONLYRETURN |
                   OFN_NODEREFERENCELINKS;
    bool pictureShown = View_HasPicture();
    if (!Report_GetSaveFileName(&dialog))
        return false;
    // A camera lost while the dialog was open took the picture and the items
    // with it: there is nothing left to report.
    if (pictureShown && !View_HasPicture()) {
        Prompt_ShowSaveFailure(path);
        return false;
    }
    return true;
}

// A new, empty file in the folder of path (GetTempFileNameW creates it).
static bool CreateScratchFile(const wchar_t *path, wchar_t *scratch)
{
    wchar_t folder[PATH_CAPACITY];
    Text_Copy(folder, PATH_CAPACITY, path);
    wchar_t *slash = wcsrchr(folder, L'\\');
    if (!slash)
        return false;
    *slash = 0;
    return GetTempFileNameW(folder, L"qrl", 0, scratch) != 0;
}

bool Report_WriteFile(const wchar_t *path, ReportWriter write, const void *context)
{
    wchar_t scratch[MAX_PATH] = L"";
    bool done = CreateScratchFile(path, scratch) && write(scratch, context) &&
                MoveFileExW(scratch, path, MOVEFILE_REPLACE_EXISTING);
    if (!done) {
        if (scratch[0])
            DeleteFileW(scratch);
        Prompt_ShowSaveFailure(path);
    }
    return done;
}

bool Report_WriteBytes(const wchar_t *file, const void *data, size_t size)
{
    HANDLE handle = CreateFileW(file, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool whole = size <= MAXDWORD && WriteFile(handle, data, (DWORD)size, &written, nullptr) && written == size;
    return CloseHandle(handle) && whole;
}
