// Where the recording tests leave their videos: recordings\<test> in the
// build tree, read back on the Linux side by tests/wine/check_recordings.py
// with the expectations each test writes beside them.
#pragma once
#include <string>
#include <vector>

struct RecordingFolder {
    // Empties (or makes) the test's folder.
    explicit RecordingFolder(const wchar_t *test);
    std::wstring path; // full path

    // The names of the videos (.mp4, .wmv) in it, in name order.
    std::vector<std::wstring> Videos() const;
    // Adds a video's expected length in seconds and size to expected.txt.
    void Expect(const std::wstring &name, double shortest, double longest, int width = 1280,
                int height = 720) const;
};
