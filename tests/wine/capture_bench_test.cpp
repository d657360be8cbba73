// Timed scenarios (run by scripts/bench, not by the tests): the cost of one
// live frame from the grabber's callback to the composed view at 1920x1080,
// at 100 % and fitted, the time from process start to the first composed
// frame, and the running program's memory.
#include "state/app_state.h"
#include "base/commands.h"
#include "app/toolbar_table.h"
#include "capture/camera_graph.h"
#include "capture/frame_pipeline.h"
#include "program_harness.h"
#include "rig_api.h"
#include "rig_graph.h"
#include "view/view_state.h"
#include "view/view_win.h"

#include <gtest/gtest.h>
#include <psapi.h>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * (double)(to.QuadPart - from.QuadPart) / (double)frequency.QuadPart;
}

// A real frame of the microscope, fed again and again as the grabber would,
// without and with the gray effect; the parts of the path per frame.
void MeasureFrames(const char *view, const std::vector<uint8_t> &sample)
{
    const int frames = 300;
    for (int effect = 0; effect < 2; effect++) {
        gCamera.gray = effect;
        HDC dc = GetDC(gApp.cameraView);
        double callback = 0, copy = 0, compose = 0;
        for (int i = 0; i < frames; i++) {
            std::vector<uint8_t> incoming = sample;
            LARGE_INTEGER t0, t1, t2, t3;
            QueryPerformanceCounter(&t0);
            Camera_PreviewFrame(0.0, incoming.data(), (int32_t)incoming.size());
            QueryPerformanceCounter(&t1);
            int32_t capacity = gView.frameSize;
            Camera_CopyFrame(gView.frameBits.data(), &capacity);
            QueryPerformanceCounter(&t2);
            View_Compose(dc);
            QueryPerformanceCounter(&t3);
            callback += Milliseconds(t0, t1);
            copy += Milliseconds(t1, t2);
            compose += Milliseconds(t2, t3);
        }
        ReleaseDC(gApp.cameraView, dc);
        printf("1920x1080 %s, %s: callback %.2f ms, view copy %.2f ms, compose %.2f ms, total %.2f ms per frame\n",
               view, effect ? "gray" : "no effect", callback / frames, copy / frames, compose / frames,
               (callback + copy + compose) / frames);
    }
    gCamera.gray = 0;
}

// At 100 % (the view shows part of the frame) and fitted into the view.
TEST(CaptureBenchmark, DISABLED_FrameCostFromCallbackToComposedViewAt1920x1080)
{
    ProgramHarness program;
    ASSERT_TRUE(program.WaitForCamera());
    SendMessageW(program.main, WM_COMMAND, CMD_RESOLUTION_FIRST + 2, 0);
    ASSERT_TRUE(program.WaitForCamera());
    SendMessageW(gApp.cameraView, WM_COMMAND, CMD_VIEW_ZOOM, 100);
    program.Run(500);
    ASSERT_EQ(gCamera.frameSize, 1920 * 1080 * 3);

    std::vector<uint8_t> sample(gCamera.frameSize);
    int32_t capacity = gCamera.frameSize;
    ASSERT_EQ(Camera_CopyFrame(sample.data(), &capacity), 1);
    MeasureFrames("at 100 %", sample);

    SendMessageW(gApp.cameraView, WM_COMMAND, CMD_VIEW_ZOOM, 0);
    program.Run(500);
    ASSERT_LT(gView.zoom, 100);
    char fitted[64];
    snprintf(fitted, sizeof fitted, "fitted (%d %%, %dx%d)", gView.zoom, gView.displayWidth, gView.displayHeight);
    MeasureFrames(fitted, sample);
}

// The program's memory after a few seconds of live picture at this size.
void PrintMemory(HANDLE process, const char *size)
{
    Sleep(3000);
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, (PROCESS_MEMORY_COUNTERS *)&counters, sizeof counters)) {
        printf("memory at %s: not available (error %lu)\n", size, GetLastError());
        return;
    }
    // Windows gives PrivateUsage and PagefileUsage the same value (the
    // private bytes); Wine fills only the second for another process.
    printf("memory at %s: private bytes %.1f MB, working set %.1f MB (peak %.1f MB)\n", size,
           counters.PagefileUsage / 1048576.0, counters.WorkingSetSize / 1048576.0,
           counters.PeakWorkingSetSize / 1048576.0);
}

TEST(CaptureBenchmark, DISABLED_ProcessStartToFirstComposedFrameAndMemory)
{
    ScopedRegistryKey key;
    Registry_SetNumber(L"FirstUse", 0); // no instructions over the view
    if (!Devices_Has(L"Quorell Virtual Microscope"))
        Rig_Plug(0);
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring path = exe;
    path = L"\"" + path.substr(0, path.rfind(L'\\')) + L"\\Quorell.exe\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    LARGE_INTEGER start, now;
    QueryPerformanceCounter(&start);
    ASSERT_TRUE(CreateProcessW(nullptr, path.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
    double windowShown = -1, firstFrame = -1;
    bool emptySeen = false;
    COLORREF centre = CLR_INVALID;
    HDC screen = GetDC(nullptr);
    for (int i = 0; i < 2000 && firstFrame < 0; i++) {
        HWND main = FindWindowW(L"QuorellWndClass", L"Quorell");
        HWND view = main ? FindWindowExW(main, nullptr, L"CameraWndClass", nullptr) : nullptr;
        QueryPerformanceCounter(&now);
        if (view && windowShown < 0 && IsWindowVisible(main))
            windowShown = Milliseconds(start, now);
        if (view && IsWindowVisible(main)) {
            // The centre of the view: the grey of an empty view once it has
            // painted, then the picture, which lies over the centre.
            RECT r;
            GetWindowRect(view, &r);
            centre = GetPixel(screen, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
            if (centre == RGB(191, 191, 191))
                emptySeen = true;
            else if (emptySeen && centre != CLR_INVALID)
                firstFrame = Milliseconds(start, now);
        }
        Sleep(5);
    }
    ReleaseDC(nullptr, screen);
    printf("process start to main window shown: %.0f ms, to first composed frame: %.0f ms (centre %06lx)\n",
           windowShown, firstFrame, (unsigned long)centre);
    HWND main = FindWindowW(L"QuorellWndClass", L"Quorell");
    PrintMemory(process.hProcess, "1280x720");
    PostMessageW(main, WM_COMMAND, CMD_RESOLUTION_FIRST + 2, 0);
    PrintMemory(process.hProcess, "1920x1080");
    PostMessageW(main, WM_CLOSE, 0, 0);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    EXPECT_GT(firstFrame, 0);
}

} // namespace
