// The Win32 test program: starts the platform services the way App_Run does,
// registers the program's window classes, then runs the tests.
#include "app/app_win.h"
#include "base/gdiplus_win.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <cstdio>

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    LoadLibraryW(L"Msftedit.dll");
    App_RegisterClasses(GetModuleHandleW(nullptr));
    int result = RUN_ALL_TESTS();
    // A filter that matches nothing means the test is not in this build.
    if (testing::UnitTest::GetInstance()->test_to_run_count() == 0) {
        fprintf(stderr, "no test matched: the test program is older than its sources\n");
        result = 1;
    }
    Gdiplus::GdiplusShutdown(token);
    CoUninitialize();
    return result;
}
