// QuorellSoak.exe SECONDS SPLIT_SECONDS FOLDER: runs Quorell.exe for a while
// as a busy user would, with the virtual microscope at 1920x1080 MJPG, the
// grid and 50 items, a snapshot every 10 seconds and one recording split
// every SPLIT_SECONDS, into FOLDER; samples the program's private bytes,
// handles and GDI and USER objects every few seconds. Exits non-zero when the
// program failed at any of it or a counter grew beyond its bound after the
// warm-up. The videos stay in FOLDER for scripts/soak to play back.
#include "app/app_win.h"
#include "base/commands.h"
#include "counters.h"
#include "dialogs/recording_ids.h"
#include "modal_dialog.h"
#include "program_harness.h"
#include "rig_api.h"
#include "rig_graph.h"
#include "running_program.h"
#include "wine_support.h"

#include <commctrl.h>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const DWORD kSnapshotPeriod = 10;
const int kItems = 50;

struct Soak {
    DWORD seconds = 0, splitSeconds = 0;
    std::wstring folder;
    RunningProgram program;
    HWND view = nullptr, dialog = nullptr;
    int snapshots = 0, splits = 0;
};

bool Fail(const char *what)
{
    std::printf("soak: %s\n", what);
    return false;
}

// The settings the program starts with: the format, the folder, MP4 off (WMV,
// the default), no time limit and no how-to dialog.
void WriteSettings(const Soak &soak)
{
    Registry_SetNumber(L"width", 1920);
    Registry_SetNumber(L"height", 1080);
    Registry_SetString(L"ImgDir", soak.folder);
    Registry_SetNumber(L"MaxRecordTime", 0);
    Registry_SetNumber(L"FirstUse", 0);
}

BOOL CALLBACK FindView(HWND window, LPARAM found)
{
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    if (lstrcmpW(name, L"CameraWndClass") != 0)
        return TRUE;
    *(HWND *)found = window;
    return FALSE;
}

bool WaitForFrames(LONG count, DWORD timeout)
{
    LONG first = Rig_Counters(0).frames;
    for (DWORD waited = 0; waited < timeout; waited += 50) {
        if (Rig_Counters(0).frames >= first + count)
            return true;
        Sleep(50);
    }
    return false;
}

// A message handled before the call returns: a posted tool command could
// still be waiting when the mouse messages that follow it, sent, are handled.
void Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, 5000, &result);
}

// Posted: the Recording dialog is modal, and the commands posted to the main
// window while it is open are handled in its message loop.
void Command(const Soak &soak, int command)
{
    PostMessageW(soak.program.window, WM_COMMAND, command, 0);
}

void Mouse(HWND view, UINT message, int x, int y)
{
    Send(view, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
}

// 50 items of every kind drawn with the mouse in a 10 x 5 raster; the angle
// and the point-to-line distance take a third click.
void DrawItems(const Soak &soak)
{
    static const int tools[] = {CMD_TOOL_LINE, CMD_TOOL_RECTANGLE, CMD_TOOL_CIRCLE,
                                CMD_TOOL_FREEHAND, CMD_TOOL_ANGLE, CMD_TOOL_POINT_LINE};
    const int toolCount = sizeof tools / sizeof tools[0];
    for (int i = 0; i < kItems; i++) {
        int tool = tools[i % toolCount];
        Send(soak.program.window, WM_COMMAND, tool, 0);
        int x = 40 + (i % 10) * 110, y = 60 + (i / 10) * 120;
        Mouse(soak.view, WM_LBUTTONDOWN, x, y);
        for (int step = 1; step <= 4; step++)
            Mouse(soak.view, WM_MOUSEMOVE, x + step * 20, y + step * (tool == CMD_TOOL_LINE ? 5 : 15));
        Mouse(soak.view, WM_LBUTTONUP, x + 80, y + 60);
        if (tool == CMD_TOOL_ANGLE || tool == CMD_TOOL_POINT_LINE) {
            Mouse(soak.view, WM_MOUSEMOVE, x + 10, y + 90);
            Mouse(soak.view, WM_LBUTTONDOWN, x + 10, y + 90);
            Mouse(soak.view, WM_LBUTTONUP, x + 10, y + 90);
        }
    }
    Send(soak.program.window, WM_COMMAND, CMD_TOOL_POINTER, 0);
}

bool StartProgram(Soak &soak)
{
    if (!Devices_Has(L"Quorell Virtual Microscope") && FAILED(Rig_Plug(0)))
        return Fail("the virtual microscope could not be plugged in");
    if (!soak.program.Start())
        return Fail("Quorell.exe did not start");
    // The view opens the camera by itself a moment after the start.
    if (!WaitForFrames(10, 20000))
        return Fail("the microscope sent no frames");
    EnumChildWindows(soak.program.window, FindView, (LPARAM)&soak.view);
    if (!soak.view)
        return Fail("no camera view");
    // A toolbar click checks the button, then sends the command that reads it.
    HWND toolbar = FindWindowExW(soak.program.window, nullptr, TOOLBARCLASSNAMEW, nullptr);
    Send(toolbar, TB_CHECKBUTTON, CMD_OVERLAY_GRID, TRUE);
    Send(soak.program.window, WM_COMMAND, CMD_OVERLAY_GRID, 0);
    DrawItems(soak);
    Command(soak, CMD_RECORD);
    soak.dialog = WaitForDialog(L"Recording video", 10000);
    if (!soak.dialog)
        return Fail("the Recording dialog did not open");
    Dialog_Press(soak.dialog, IDOK);
    Sleep(1000);
    Window_Screenshot(soak.program.window, L"soak");
    return true;
}

// What the program does at second t of the soak.
void Act(Soak &soak, DWORD t)
{
    if (t > 0 && t % kSnapshotPeriod == 0) {
        Command(soak, CMD_SNAPSHOT);
        soak.snapshots++;
    }
    if (t > 0 && t % soak.splitSeconds == 0 && t < soak.seconds) {
        PostMessageW(soak.dialog, WM_COMMAND, IDC_RECORD_SPLIT_NOW, 0);
        soak.splits++;
    }
}

// Runs the soak second by second; the samples come every sampleEvery seconds.
std::vector<Sample> Run(Soak &soak, DWORD sampleEvery)
{
    std::vector<Sample> samples;
    DWORD start = GetTickCount();
    for (DWORD t = 0; t <= soak.seconds; t++) {
        DWORD due = start + t * 1000;
        while ((LONG)(due - GetTickCount()) > 0)
            Sleep(due - GetTickCount());
        Act(soak, t);
        if (t % sampleEvery == 0)
            samples.push_back(Counters_Read(soak.program.process.hProcess, soak.program.process.dwProcessId, t));
        if (WaitForSingleObject(soak.program.process.hProcess, 0) == WAIT_OBJECT_0) {
            Fail("Quorell.exe ended during the soak");
            break;
        }
    }
    return samples;
}

int CountFiles(const std::wstring &pattern)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    int count = 0;
    do
        count++;
    while (FindNextFileW(search, &found));
    FindClose(search);
    return count;
}

// Stops the recording, closes the program and counts what it wrote.
bool Finish(Soak &soak)
{
    bool ok = true;
    Dialog_Press(soak.dialog, IDOK);
    if (!Dialog_WaitClosed(soak.dialog, 10000))
        ok = Fail("the Recording dialog did not close");
    DWORD exitCode = soak.program.CloseAndWait();
    if (exitCode != 0)
        ok = Fail("Quorell.exe did not end with exit code 0");
    int snapshots = CountFiles(soak.folder + L"\\*-*-*.jpg");
    int videos = CountFiles(soak.folder + L"\\*.wmv");
    std::printf("snapshots: %d of %d asked for; videos: %d (%d splits)\n", snapshots, soak.snapshots, videos,
                soak.splits);
    if (snapshots != soak.snapshots)
        ok = Fail("snapshots missing");
    if (videos != soak.splits + 1)
        ok = Fail("videos missing");
    return ok;
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    if (argc != 4)
        return std::printf("usage: QuorellSoak SECONDS SPLIT_SECONDS FOLDER\n"), 2;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    Encoders_Find(); // for the screenshot
    Soak soak;
    soak.seconds = (DWORD)_wtoi(argv[1]);
    soak.splitSeconds = (DWORD)_wtoi(argv[2]);
    soak.folder = argv[3];
    if (soak.seconds < 30 || soak.splitSeconds == 0)
        return std::printf("a soak lasts at least 30 seconds and splits after at least 1\n"), 2;
    // The warm-up: the first minute, or the first fifth of a shorter run.
    DWORD warmUp = soak.seconds >= 300 ? 60 : soak.seconds / 5;
    // Every second in a short run, so that a level (counters.cpp) has
    // samples enough to catch a moment without a frame in flight.
    DWORD sampleEvery = soak.seconds >= 300 ? 5 : 1;

    ScopedRegistryKey key;
    WriteSettings(soak);
    if (!StartProgram(soak))
        return 1;
    std::vector<Sample> samples = Run(soak, sampleEvery);
    bool held = Counters_Report(samples, warmUp);
    bool finished = Finish(soak);
    std::printf("soak: %s\n", held && finished ? "passed" : "FAILED");
    return held && finished ? 0 : 1;
}
