#include "running_program.h"

std::wstring ProgramPath()
{
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring path = exe;
    return path.substr(0, path.rfind(L'\\')) + L"\\Quorell.exe";
}

bool RunningProgram::Start(const std::wstring &path)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    std::wstring command = L"\"" + path + L"\"";
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return false;
    WaitForInputIdle(process.hProcess, 10000);
    for (int i = 0; i < 200 && !window; i++) {
        window = FindWindowW(L"QuorellWndClass", L"Quorell");
        if (!window)
            Sleep(50);
    }
    return window != nullptr;
}

DWORD RunningProgram::CloseAndWait()
{
    DWORD start = GetTickCount();
    PostMessageW(window, WM_CLOSE, 0, 0);
    DWORD exitCode = 1234;
    if (WaitForSingleObject(process.hProcess, 20000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &exitCode);
    closeMilliseconds = GetTickCount() - start;
    return exitCode;
}

RunningProgram::~RunningProgram()
{
    if (process.hProcess) {
        TerminateProcess(process.hProcess, 99);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
}

HWND WaitForDialog(const wchar_t *caption, DWORD timeout)
{
    for (DWORD waited = 0; waited < timeout; waited += 50) {
        HWND dialog = FindWindowW(L"#32770", caption);
        if (dialog && IsWindowVisible(dialog))
            return dialog;
        Sleep(50);
    }
    return nullptr;
}
