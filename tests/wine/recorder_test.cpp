// Stopping a recording while the program's messages keep arriving, Media
// Foundation loaded at run time, and the sink writer's part in a recording.
#include "state/app_state.h"
#include "state/prompt.h"
#include "base/sync.h"
#include "capture/camera_graph.h"
#include "dialogs/small_dialog_ids.h"
#include "modal_dialog.h"
#include "program_harness.h"
#include "record/mf_runtime_win.h"
#include "record/recorder.h"
#include "record/recorder_state.h"
#include "recordings.h"
#include "wine_support.h"

#include <gtest/gtest.h>
#include <atomic>
#include <string>
#include <vector>

namespace {

enum { WM_TEARDOWN = WM_APP + 1, WM_COUNT = WM_APP + 2, QUEUED_COUNTS = 5 };

// What the teardown asked for during the wait found: the stop's event still there.
bool gEventKeptThroughTeardown;
std::atomic<int> gCounted;
std::atomic<bool> gDialogOk, gTyped;

LRESULT CALLBACK TeardownProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COUNT) {
        gCounted++;
        return 0;
    }
    if (message != WM_TEARDOWN)
        return DefWindowProcW(window, message, wParam, lParam);
    // As an unplugged camera does while the recording finishes.
    Camera_FreeGraph();
    gEventKeptThroughTeardown = gRecorder.stoppedEvent != nullptr;
    return 0;
}

INT_PTR CALLBACK KeyDialogProc(HWND, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK)
        gDialogOk = true;
    if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE)
        gTyped = true;
    return message == WM_INITDIALOG;
}

volatile LONG gFileFinished;

// Stands in for the recording thread: finishes the file once the messages
// queued before the wait were handled, or after two seconds all the same.
DWORD WINAPI FinishLater(void *event)
{
    for (int waited = 0; waited < 2000 && !(gCounted == QUEUED_COUNTS && gDialogOk && gTyped); waited += 10)
        Sleep(10);
    InterlockedExchange(&gFileFinished, 1);
    Event_Set((SyncEvent *)event);
    return 0;
}

// Messages queued before the wait are all handled during it, a key for a
// dialog is translated and goes through the dialog's navigation (Enter in
// its edit presses OK), a teardown waits for the wait's end, and a quit
// message is kept for the main loop.
TEST(RecorderStop, MessagesAndKeysAreHandledDuringTheWaitAQuitAndATeardownAfterIt)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = TeardownProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"RecorderStopTest";
    RegisterClassW(&wc);
    HWND window = CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    HWND dialog = CreateDialogParamW(wc.hInstance, MAKEINTRESOURCEW(IDD_TEXT_INPUT), nullptr, KeyDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    HWND edit = GetDlgItem(dialog, IDC_TEXT_INPUT_EDIT);

    Camera_Init(nullptr);
    gRecorder.stoppedEvent = Event_Create(true, false);
    Event_Set(gRecorder.stoppedEvent);
    Camera_StopRecord(); // nothing records: it returns at once and leaves the event alone
    EXPECT_TRUE(Event_Wait(gRecorder.stoppedEvent, 0));
    Event_Reset(gRecorder.stoppedEvent);
    gRecorder.recording = 1;
    for (int i = 0; i < QUEUED_COUNTS; i++)
        PostMessageW(window, WM_COUNT, 0, 0);
    PostMessageW(edit, WM_KEYDOWN, 'A', MAKELPARAM(1, 0x1E));
    PostMessageW(edit, WM_KEYDOWN, VK_RETURN, MAKELPARAM(1, 0x1C));
    PostMessageW(window, WM_TEARDOWN, 0, 0);
    PostQuitMessage(7);
    HANDLE thread = CreateThread(nullptr, 0, FinishLater, gRecorder.stoppedEvent, 0, nullptr);

    Camera_StopRecord();
    EXPECT_EQ(gFileFinished, 1) << "returned before the file was finished";
    EXPECT_EQ(gCounted, QUEUED_COUNTS);
    wchar_t typed[8] = L"";
    GetWindowTextW(edit, typed, 8);
    EXPECT_EQ(_wcsicmp(typed, L"a"), 0) << "the key was not translated into a character";
    EXPECT_TRUE(gDialogOk) << "Enter did not reach the dialog's navigation";
    EXPECT_TRUE(gEventKeptThroughTeardown);
    EXPECT_EQ(gRecorder.stoppedEvent, nullptr) << "the teardown ran after the wait";
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit message was swallowed";
    EXPECT_EQ(msg.wParam, 7u);

    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    DestroyWindow(dialog);
    DestroyWindow(window);
}

// Every function the recorder needs resolves by name (Wine has them all, as
// Windows has with its media features).
TEST(MediaFoundationRuntime, ResolvesTheRecorderFunctionsAndStarts)
{
    EXPECT_TRUE(MediaFoundation_Start());
    MediaFoundation_Stop();
}

enum SinkCallKind { SINK_WRITE, SINK_FLUSH, SINK_FINALIZE };

// One call of the sink writer: which, the sample's time and duration, and
// the thread and COM apartment it came from.
struct SinkCall {
    SinkCallKind kind;
    LONGLONG time, duration;
    DWORD thread;
    APTTYPE apartment;
    APTTYPEQUALIFIER qualifier;
};

// A sink writer that keeps what the recorder asks of it; its Finalize fails
// as on a full disk. Wine's own sink writer has no encoders.
class FakeSinkWriter : public IMFSinkWriter {
public:
    std::vector<SinkCall> calls; // by the recording thread; read after it ended
    std::atomic<int> samples{0};
    std::atomic<ULONG> references{1};

    STDMETHODIMP QueryInterface(REFIID iid, void **object) override
    {
        *object = iid == __uuidof(IUnknown) || iid == __uuidof(IMFSinkWriter) ? this : nullptr;
        if (!*object)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references; }
    STDMETHODIMP_(ULONG) Release() override { return --references; }
    STDMETHODIMP AddStream(IMFMediaType *, DWORD *index) override
    {
        *index = 0;
        return S_OK;
    }
    STDMETHODIMP SetInputMediaType(DWORD, IMFMediaType *, IMFAttributes *) override { return S_OK; }
    STDMETHODIMP BeginWriting() override { return S_OK; }
    STDMETHODIMP WriteSample(DWORD, IMFSample *sample) override
    {
        SinkCall call = Called(SINK_WRITE);
        sample->GetSampleTime(&call.time);
        sample->GetSampleDuration(&call.duration);
        calls.push_back(call);
        samples++;
        return S_OK;
    }
    STDMETHODIMP SendStreamTick(DWORD, LONGLONG) override { return E_NOTIMPL; }
    STDMETHODIMP PlaceMarker(DWORD, void *) override { return E_NOTIMPL; }
    STDMETHODIMP NotifyEndOfSegment(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP Flush(DWORD) override
    {
        calls.push_back(Called(SINK_FLUSH));
        return S_OK;
    }
    STDMETHODIMP Finalize() override
    {
        calls.push_back(Called(SINK_FINALIZE));
        return HRESULT_FROM_WIN32(ERROR_HANDLE_DISK_FULL);
    }
    STDMETHODIMP GetServiceForStream(DWORD, REFGUID, REFIID, void **object) override
    {
        *object = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetStatistics(DWORD, MF_SINK_WRITER_STATISTICS *) override { return E_NOTIMPL; }

private:
    static SinkCall Called(SinkCallKind kind)
    {
        SinkCall call = {kind, -1, -1, GetCurrentThreadId(), APTTYPE_CURRENT, APTTYPEQUALIFIER_NONE};
        if (FAILED(CoGetApartmentType(&call.apartment, &call.qualifier)))
            call.apartment = APTTYPE_CURRENT; // no apartment at all
        return call;
    }
};

FakeSinkWriter gSinkWriter;

HRESULT WINAPI CreateFakeSinkWriter(LPCWSTR, IMFByteStream *, IMFAttributes *, IMFSinkWriter **writer)
{
    gSinkWriter.AddRef();
    *writer = &gSinkWriter;
    return S_OK;
}

// A recording through the Recording dialog into Media Foundation's sink
// writer: every sample at the time and for the duration the recorder gave
// it, written on the recording thread in COM's multithreaded apartment; the
// file finished with Finalize and no Flush (which would drop the samples the
// encoder holds); a Finalize that fails told to the user.
TEST(SinkWriter, WritesInTheRecordingThreadsApartmentFinishesWithoutFlushAndTellsAFailedFinish)
{
    ProgramHarness program;
    ASSERT_TRUE(program.StartCamera());
    ASSERT_TRUE(MediaFoundation_Start());
    gMediaFoundation.createSinkWriterFromURL = CreateFakeSinkWriter;
    RecordingDialog_Run(program, [](HWND dialog) {
        Dialog_Press(dialog, IDOK);
        for (int waited = 0; waited < 5000 && gSinkWriter.samples < 10; waited += 20)
            Sleep(20);
        Dialog_Press(dialog, IDOK);
        EXPECT_TRUE(Dialog_WaitClosed(dialog));
    });
    std::wstring prompt = Dialog_Text(gApp.mainWindow, PROMPT_ID);
    MediaFoundation_Stop();

    const std::vector<SinkCall> &calls = gSinkWriter.calls;
    ASSERT_GE(calls.size(), 11u);
    EXPECT_EQ(calls.back().kind, SINK_FINALIZE);
    LONGLONG end = 0;
    for (size_t i = 0; i + 1 < calls.size(); i++) {
        ASSERT_EQ(calls[i].kind, SINK_WRITE) << "call " << i << " of " << calls.size();
        EXPECT_EQ(calls[i].time, end) << "sample " << i;
        EXPECT_GT(calls[i].duration, 0) << "sample " << i;
        end = calls[i].time + calls[i].duration;
    }
    EXPECT_EQ(calls[calls.size() - 2].time, gRecorder.sampleTime.load()) << "the recorder's time of the last sample";
    // Without its own CoInitializeEx the thread would be in the process's
    // implicit multithreaded apartment.
    size_t elsewhere = 0, outside = 0;
    for (const SinkCall &call : calls) {
        elsewhere += call.thread != calls[0].thread;
        outside += call.apartment != APTTYPE_MTA || call.qualifier == APTTYPEQUALIFIER_IMPLICIT_MTA;
    }
    EXPECT_NE(calls[0].thread, GetCurrentThreadId());
    EXPECT_EQ(elsewhere, 0u) << "calls from another thread";
    EXPECT_EQ(outside, 0u) << "calls outside a multithreaded apartment the thread joined";
    EXPECT_EQ(gSinkWriter.references, 1u) << "the writer was not let go";
    EXPECT_TRUE(prompt.starts_with(L"Could not save: " + std::wstring(gRecorder.path) + L" (")) << prompt;
}

} // namespace
