// Where the recording tests leave their videos: recordings\<test> in the
// build tree, read back on the Linux side by tests/wine/check_recordings.py
// with the expectations each test writes beside them.
#pragma once
#include <windows.h>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct ProgramHarness;

struct RecordingFolder {
    // Empties (or makes) the test's folder.
    explicit RecordingFolder(const wchar_t *test);
    std::wstring path; // full path

    // The names of the videos (.mp4, .wmv) in it, in name order.
    std::vector<std::wstring> Videos() const;
    // Adds a video's expected length in seconds and size to expected.txt.
    void Expect(const std::wstring &name, double shortest, double longest, int width = 1280,
                int height = 720) const;
    // Adds a video that must last what the recorder counted (100-ns units).
    void ExpectRecorded(const std::wstring &name, int64_t recorded) const;
};

// The names of the videos (.mp4, .wmv) in a folder, in name order.
std::vector<std::wstring> Videos_In(const std::wstring &folder);

// Opens the Recording dialog from the program's toolbar and hands it to the
// actions on a second thread while the dialog's loop runs here.
void RecordingDialog_Run(const ProgramHarness &program, const std::function<void(HWND)> &actions);
