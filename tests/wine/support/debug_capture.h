// Collects what the program writes to the debugger output (OutputDebugString)
// while an instance lives, so tests can check the program's diagnostic lines.
#pragma once
#include <string>
#include <vector>

struct DebugCapture {
    DebugCapture();
    ~DebugCapture();
    std::vector<std::wstring> Lines() const;
    bool Contains(const std::wstring &line) const;
};
