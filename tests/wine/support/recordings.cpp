#include "recordings.h"

#include "base/commands.h"
#include "modal_dialog.h"
#include "program_harness.h"
#include "rig_api.h"
#include "wine_support.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <cstdio>

RecordingFolder::RecordingFolder(const wchar_t *test) : path(Folder_Fresh(L"recordings", test))
{
    // A frame captured before carries no number: let the one in flight by.
    Rig_NumberFrames(0, true);
    LONG frames = Rig_Counters(0).frames;
    for (int i = 0; i < 25 && Rig_Counters(0).frames == frames; i++)
        Sleep(20);
}

RecordingFolder::~RecordingFolder()
{
    Rig_NumberFrames(0, false);
    std::vector<RigCapture> captures(RIG_CAPTURE_LOG);
    captures.resize(Rig_CaptureLog(0, captures.data(), RIG_CAPTURE_LOG));
    FILE *file = _wfopen((path + L"\\captures.txt").c_str(), L"w");
    if (!file)
        return;
    for (const RigCapture &capture : captures)
        if (capture.stamped)
            fprintf(file, "%ld %lld\n", capture.number, capture.time);
        else
            fprintf(file, "%ld -\n", capture.number);
    fclose(file);
}

std::vector<std::wstring> RecordingFolder::Videos() const
{
    return Videos_In(path);
}

std::vector<std::wstring> Videos_In(const std::wstring &folder)
{
    std::vector<std::wstring> names;
    for (const std::wstring &name : Folder_Files(folder))
        if (name.size() > 4 && (name.ends_with(L".mp4") || name.ends_with(L".wmv")))
            names.push_back(name);
    return names;
}

void RecordingFolder::Expect(const std::wstring &name, double shortest, double longest, int width, int height,
                             bool turned) const
{
    FILE *file = _wfopen((path + L"\\expected.txt").c_str(), L"a");
    if (!file)
        return;
    fprintf(file, "%ls %.3f %.3f %d %d%s\n", name.c_str(), shortest, longest, width, height, turned ? " turned" : "");
    fclose(file);
}

void RecordingFolder::ExpectTotal(const std::wstring &first, const std::wstring &last, int64_t total) const
{
    FILE *file = _wfopen((path + L"\\expected.txt").c_str(), L"a");
    if (!file)
        return;
    fprintf(file, "total %ls %ls %.4f\n", first.c_str(), last.c_str(), total / 1e7);
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
