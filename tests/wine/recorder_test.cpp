// Stopping a recording while the program's messages keep arriving, and
// Media Foundation loaded at run time.
#include "base/sync.h"
#include "capture/camera_graph.h"
#include "record/mf_runtime_win.h"
#include "record/recorder.h"
#include "record/recorder_state.h"
#include "wine_support.h"

#include <gtest/gtest.h>

namespace {

enum { WM_TEARDOWN = WM_APP + 1 };

// What the teardown asked for during the wait found: the stop's event still there.
bool gEventKeptThroughTeardown;

LRESULT CALLBACK TeardownProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_TEARDOWN)
        return DefWindowProcW(window, message, wParam, lParam);
    // As an unplugged camera does while the recording finishes.
    Camera_FreeGraph();
    gEventKeptThroughTeardown = gRecorder.stoppedEvent != nullptr;
    return 0;
}

volatile LONG gFileFinished;

// Stands in for the recording thread: finishes the file a little later.
DWORD WINAPI FinishLater(void *event)
{
    Sleep(300);
    InterlockedExchange(&gFileFinished, 1);
    Event_Set((SyncEvent *)event);
    return 0;
}

TEST(RecorderStop, AQuitAndATeardownArrivingDuringTheWaitTakeEffectAfterIt)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = TeardownProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"RecorderStopTest";
    RegisterClassW(&wc);
    HWND window = CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(window, nullptr);

    Camera_Init(nullptr);
    gRecorder.stoppedEvent = Event_Create(true, false);
    Event_Set(gRecorder.stoppedEvent);
    Camera_StopRecord(); // nothing records: it returns at once and leaves the event alone
    EXPECT_TRUE(Event_Wait(gRecorder.stoppedEvent, 0));
    Event_Reset(gRecorder.stoppedEvent);
    gRecorder.recording = 1;
    HANDLE thread = CreateThread(nullptr, 0, FinishLater, gRecorder.stoppedEvent, 0, nullptr);
    PostMessageW(window, WM_TEARDOWN, 0, 0);
    PostQuitMessage(7);

    Camera_StopRecord();
    EXPECT_EQ(gFileFinished, 1) << "returned before the file was finished";
    EXPECT_TRUE(gEventKeptThroughTeardown);
    EXPECT_EQ(gRecorder.stoppedEvent, nullptr) << "the teardown ran after the wait";
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit message was swallowed";
    EXPECT_EQ(msg.wParam, 7u);

    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    DestroyWindow(window);
}

// Every function the recorder needs resolves by name (Wine has them all, as
// Windows has with its media features).
TEST(MediaFoundationRuntime, ResolvesTheRecorderFunctionsAndStarts)
{
    EXPECT_TRUE(MediaFoundation_Start());
    MediaFoundation_Stop();
}

} // namespace
