// Quorell.exe started as a separate process, as a user starts it.
#pragma once
#include <windows.h>
#include <string>

// Quorell.exe beside the test executable.
std::wstring ProgramPath();

struct RunningProgram {
    PROCESS_INFORMATION process = {};
    HWND window = nullptr;
    DWORD closeMilliseconds = 0; // from the close to the process's end

    // Starts the program and waits for its main window.
    bool Start(const std::wstring &path = ProgramPath());
    // Closes the main window; the exit code, or 1234 when it did not end.
    DWORD CloseAndWait();
    ~RunningProgram();
};

// A visible dialog with that caption, of any process; null after the timeout.
HWND WaitForDialog(const wchar_t *caption, DWORD timeout = 8000);
