#include "recordings.h"

#include "base/commands.h"
#include "modal_dialog.h"
#include "program_harness.h"
#include "record/recorder_state.h"
#include "wine_support.h"

#include <gtest/gtest.h>

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
    return Videos_In(path);
}

std::vector<std::wstring> Videos_In(const std::wstring &folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
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

void RecordingDialog_Run(const ProgramHarness &program, const std::function<void(HWND)> &actions)
{
    Modal_Run([&] { program.Click(CMD_RECORD); },
              [&] {
                  HWND dialog = Dialog_WaitFor(L"Recording video");
                  if (dialog)
                      actions(dialog);
                  else
                      ADD_FAILURE() << "the dialog did not open";
              });
}

// An ASF file keeps no duration for its last frame, which lasts a frame's
// duration at the rate measured at the start, or more after frames dropped
// at the queue's cap: a loaded machine measures 10 fps and less.
void RecordingFolder::ExpectRecorded(const std::wstring &name, int64_t recorded) const
{
    double seconds = recorded / 1e7;
    double slack = name.ends_with(L".wmv") ? 3 * gRecorder.frameDuration / 1e7 : 0.1;
    Expect(name, seconds - slack, seconds + 0.01);
}
