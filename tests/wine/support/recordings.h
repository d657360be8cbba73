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

// While it lives, the virtual microscope numbers its frames (rig_api.h:
// Rig_NumberFrames); at its end it leaves their capture times in
// captures.txt, against which check_recordings.py holds each video's time
// stamps and length.
struct RecordingFolder {
    // Empties (or makes) the test's folder.
    explicit RecordingFolder(const wchar_t *test);
    ~RecordingFolder();
    std::wstring path; // full path

    // The names of the videos (.mp4, .wmv) in it, in name order.
    std::vector<std::wstring> Videos() const;
    // Adds a video's expected length in seconds and size to expected.txt;
    // `turned`: mirrored and upside down.
    void Expect(const std::wstring &name, double shortest, double longest, int width = 1280, int height = 720,
                bool turned = false) const;
    // Adds the total time the Recording dialog showed at the end of a
    // recording (100-ns units) that began with the first video's first frame
    // and ended with the last one's last frame.
    void ExpectTotal(const std::wstring &first, const std::wstring &last, int64_t total) const;
};

// The names of the videos (.mp4, .wmv) in a folder, in name order.
std::vector<std::wstring> Videos_In(const std::wstring &folder);

// Opens the Recording dialog from the program's toolbar and hands it to the
// actions on a second thread while the dialog's loop runs here.
void RecordingDialog_Run(const ProgramHarness &program, const std::function<void(HWND)> &actions);
