// Timed scenarios (run by scripts/bench, not by the tests): the cost of one
// live frame from the grabber's callback to the composed view at 1920x1080,
// at 100 %, 200 % and fitted, each against a plain SetDIBits of the frame,
// the view's scaler against GDI's, the processor's share with a live picture,
// the time from process start to the first composed frame, and the running
// program's memory.
#include "state/app_state.h"
#include "base/commands.h"
#include "app/toolbar_table.h"
#include "capture/camera_graph.h"
#include "capture/frame_pipeline.h"
#include "program_harness.h"
#include "rig_api.h"
#include "rig_graph.h"
#include "view/frame_pixels.h"
#include "view/view_state.h"
#include "view/view_win.h"
#include "view_harness.h"

#include <gtest/gtest.h>
#include <psapi.h>
#include <algorithm>
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

// The yardstick each figure is given against: a plain SetDIBits of the frame
// into the view's back buffer at 100 % (median of 50).
double PlainSetDIBits()
{
    const BITMAPINFO *info = (const BITMAPINFO *)&gView.bitmapInfo;
    std::vector<double> times;
    for (int i = 0; i < 50; i++) {
        LARGE_INTEGER t0, t1;
        QueryPerformanceCounter(&t0);
        SetDIBits(gView.backDC, gView.backBitmap, 0, (UINT)gView.imageHeight, gView.frameBits.data(), info,
                  DIB_RGB_COLORS);
        GdiFlush();
        QueryPerformanceCounter(&t1);
        times.push_back(Milliseconds(t0, t1));
    }
    std::sort(times.begin(), times.end());
    printf("plain SetDIBits of the frame: %.2f ms\n", times[times.size() / 2]);
    return times[times.size() / 2];
}

// A real frame of the microscope, fed again and again as the grabber would,
// without and with the gray effect; the parts of the path per frame. Returns
// the total without the effect.
double MeasureFrames(const char *view, const std::vector<uint8_t> &sample, double blit)
{
    const int frames = 300;
    double plainTotal = 0;
    for (int effect = 0; effect < 2; effect++) {
        gCamera.gray = effect;
        HDC dc = GetDC(gApp.cameraView);
        double callback = 0, take = 0, compose = 0;
        for (int i = 0; i < frames; i++) {
            std::vector<uint8_t> incoming = sample;
            LARGE_INTEGER t0, t1, t2, t3;
            QueryPerformanceCounter(&t0);
            Camera_PreviewFrame(0.0, incoming.data(), (int32_t)incoming.size());
            QueryPerformanceCounter(&t1);
            Camera_TakeFrame(&gView.frameBits);
            QueryPerformanceCounter(&t2);
            View_Compose(dc);
            QueryPerformanceCounter(&t3);
            callback += Milliseconds(t0, t1);
            take += Milliseconds(t1, t2);
            compose += Milliseconds(t2, t3);
        }
        ReleaseDC(gApp.cameraView, dc);
        double total = (callback + take + compose) / frames;
        printf("1920x1080 %s, %s: callback %.2f ms, view take %.2f ms, compose %.2f ms, total %.2f ms per frame "
               "(%.2f x SetDIBits)\n",
               view, effect ? "gray" : "no effect", callback / frames, take / frames, compose / frames, total,
               total / blit);
        if (!effect)
            plainTotal = total;
    }
    gCamera.gray = 0;
    return plainTotal;
}

// The view's own scaler against GDI's StretchDIBits of the frame, as the view
// scaled it before (COLORONCOLOR when shrinking), on the microscope's ruler.
void CompareScalerWithGdi(const char *view)
{
    int width = gView.displayWidth, height = gView.displayHeight;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void *bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    if (gView.zoom < 100)
        SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, 0, 0, width, height, 0, 0, gView.imageWidth, gView.imageHeight, gView.frameBits.data(),
                  (const BITMAPINFO *)&gView.bitmapInfo, DIB_RGB_COLORS, SRCCOPY);
    GdiFlush();
    std::vector<uint32_t> own((size_t)width * height);
    View_ScaleFrame(own.data(), width, height, {0, 0, width, height});
    const uint32_t *gdi = (const uint32_t *)bits;
    size_t differing = 0;
    int largest = 0;
    for (size_t i = 0; i < own.size(); i++) {
        for (int shift = 0; shift < 24; shift += 8)
            largest = std::max(largest, std::abs((int)(own[i] >> shift & 0xFF) - (int)(gdi[i] >> shift & 0xFF)));
        differing += (own[i] & 0xFFFFFF) != (gdi[i] & 0xFFFFFF);
    }
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(bitmap);
    printf("%s: the view's scaler against GDI's StretchDIBits on the ruler picture: %.2f %% of the pixels differ, "
           "largest difference %d of 255\n",
           view, 100.0 * (double)differing / (double)own.size(), largest);
}

// The program's share of one processor while the view shows the live picture
// with 10 items, and the frame rate it shows.
void PrintCpuShare(const ProgramHarness &program, const char *view)
{
    for (int i = 0; i < 10; i++)
        gView.items.push_back(BenchItem(i));
    FILETIME created, exited, kernel0, user0, kernel1, user1;
    LARGE_INTEGER t0, t1;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel0, &user0);
    QueryPerformanceCounter(&t0);
    program.Run(5000);
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel1, &user1);
    QueryPerformanceCounter(&t1);
    auto ms = [](FILETIME from, FILETIME to) {
        ULARGE_INTEGER a, b;
        a.LowPart = from.dwLowDateTime, a.HighPart = from.dwHighDateTime;
        b.LowPart = to.dwLowDateTime, b.HighPart = to.dwHighDateTime;
        return (double)(b.QuadPart - a.QuadPart) / 10000.0;
    };
    double busy = ms(kernel0, kernel1) + ms(user0, user1);
    printf("CPU while showing the live 1920x1080 picture %s with 10 items: %.0f %% of one core at %.1f fps\n", view,
           100.0 * busy / Milliseconds(t0, t1), gCamera.fps.load());
    gView.items.clear();
}

// At 100 % (the view shows part of the frame), at 200 % and fitted into the view.
TEST(CaptureBenchmark, DISABLED_FrameCostFromCallbackToComposedViewAt1920x1080)
{
    ProgramHarness program;
    ASSERT_TRUE(program.WaitForCamera());
    SendMessageW(program.main, WM_COMMAND, CMD_RESOLUTION_FIRST + 2, 0);
    ASSERT_TRUE(program.WaitForCamera());
    SendMessageW(gApp.cameraView, WM_COMMAND, CMD_VIEW_ZOOM, 100);
    program.Run(500);
    ASSERT_EQ(gCamera.frameSize, 1920 * 1080 * 3);

    std::vector<uint8_t> sample = gView.frameBits; // the ruler, as the view shows it
    double blit = PlainSetDIBits();
    double full = MeasureFrames("at 100 %", sample, blit);

    SendMessageW(gApp.cameraView, WM_COMMAND, CMD_VIEW_ZOOM, 200);
    program.Run(500);
    double doubled = MeasureFrames("at 200 %", sample, blit);
    printf("200 %% against 100 %%: %.2f\n", doubled / full);
    CompareScalerWithGdi("at 200 %");

    SendMessageW(gApp.cameraView, WM_COMMAND, CMD_VIEW_ZOOM, 0);
    program.Run(500);
    ASSERT_LT(gView.zoom, 100);
    char fitted[64];
    snprintf(fitted, sizeof fitted, "fitted (%d %%, %dx%d)", gView.zoom, gView.displayWidth, gView.displayHeight);
    MeasureFrames(fitted, sample, blit);
    CompareScalerWithGdi(fitted);
    PrintCpuShare(program, "fitted");
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
