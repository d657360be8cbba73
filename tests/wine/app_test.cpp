// Quorell.exe as a whole: start-up, the main window, shut-down.
#include "app/app_state.h"
#include "app/mainwnd_win.h"
#include "app/prompt.h"
#include "wine_support.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

std::wstring ProgramPath()
{
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring path = exe;
    return path.substr(0, path.rfind(L'\\')) + L"\\Quorell.exe";
}

struct RunningProgram {
    PROCESS_INFORMATION process = {};
    HWND window = nullptr;

    bool Start()
    {
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        std::wstring command = L"\"" + ProgramPath() + L"\"";
        if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &process))
            return false;
        WaitForInputIdle(process.hProcess, 10000);
        for (int i = 0; i < 200 && !window; i++) {
            window = FindWindowW(L"QuorellWndClass", L"Quorell");
            if (!window)
                Sleep(50);
        }
        return window != nullptr;
    }

    DWORD CloseAndWait()
    {
        PostMessageW(window, WM_CLOSE, 0, 0);
        DWORD exitCode = 1234;
        if (WaitForSingleObject(process.hProcess, 20000) == WAIT_OBJECT_0)
            GetExitCodeProcess(process.hProcess, &exitCode);
        return exitCode;
    }

    ~RunningProgram()
    {
        if (process.hProcess) {
            TerminateProcess(process.hProcess, 99);
            CloseHandle(process.hProcess);
            CloseHandle(process.hThread);
        }
    }
};

TEST(App, ShowsTheMaximisedMainWindowAndEndsWithExitCodeZeroWhenClosed)
{
    ScopedRegistryKey key;
    RunningProgram program;
    ASSERT_TRUE(program.Start());
    EXPECT_TRUE(IsZoomed(program.window));
    wchar_t title[64] = L"";
    GetWindowTextW(program.window, title, 64);
    EXPECT_STREQ(title, L"Quorell");
    EXPECT_EQ(program.CloseAndWait(), 0u);
}

// Wine told not to load Media Foundation's DLLs for Quorell.exe, as where
// they are missing (the N editions of Windows).
struct MediaFoundationDisabled {
    static constexpr const wchar_t *kKey = L"Software\\Wine\\AppDefaults\\Quorell.exe\\DllOverrides";
    MediaFoundationDisabled()
    {
        for (const wchar_t *dll : {L"mfplat", L"mfreadwrite"})
            RegSetKeyValueW(HKEY_CURRENT_USER, kKey, dll, REG_SZ, L"", sizeof(wchar_t));
    }
    ~MediaFoundationDisabled() { RegDeleteKeyW(HKEY_CURRENT_USER, kKey); }
};

TEST(App, StartsAndEndsWhereMediaFoundationIsMissing)
{
    ScopedRegistryKey key;
    MediaFoundationDisabled disabled;
    RunningProgram program;
    ASSERT_TRUE(program.Start());
    EXPECT_EQ(program.CloseAndWait(), 0u);
}

TEST(App, TheMainWindowCannotBeMadeSmallerThanItsMinimumTrackingSize)
{
    HWND window = MainWnd_Create(GetModuleHandleW(nullptr));
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    SetWindowPos(window, nullptr, 0, 0, 300, 200, SWP_NOZORDER | SWP_NOMOVE);
    RECT r;
    GetWindowRect(window, &r);
    EXPECT_EQ(r.right - r.left, 798);
    EXPECT_EQ(r.bottom - r.top, 520);
    DestroyWindow(window);
}

TEST(App, TheMainWindowsEndFreesTheToolbarImagesAndThePromptFont)
{
    gApp.instance = GetModuleHandleW(nullptr);
    HWND window = MainWnd_Create(gApp.instance);
    ASSERT_NE(window, nullptr);
    auto images = (HIMAGELIST)SendMessageW(gApp.toolbar, TB_GETIMAGELIST, 0, 0);
    IMAGEINFO info = {};
    ASSERT_TRUE(ImageList_GetImageInfo(images, 0, &info));
    ASSERT_NE(Prompt_Show(L"Quorell", 0), nullptr);
    HGDIOBJ font = gApp.promptFont;
    DestroyWindow(window);
    EXPECT_EQ(GetObjectType(info.hbmImage), 0u);
    EXPECT_EQ(GetObjectType(font), 0u);
}

} // namespace
