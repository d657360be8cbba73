// The frame pipeline in the Windows build: the grabber callback objects, the
// locks and events, and the vector effect loops as MinGW compiles them.
#include "capture/camera_graph.h"
#include "capture/effect_kernels.h"
#include "capture/grabber_callbacks_win.h"
#include "base/sync.h"
#include "base/sync_win.h"
#include "record/recorder_state.h"
#include "wine_support.h"

#include <gtest/gtest.h>
#include <cstdlib>
#include <cstring>
#include <random>
#include <thread>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

ISampleGrabberCB *const kCallbacks[] = {&gGrabberCallback, &gGrabberCallback2};

TEST(GrabberCallbacks, AnswerForTheirTwoInterfacesAndCountNoReferences)
{
    for (ISampleGrabberCB *callback : kCallbacks) {
        void *object = nullptr;
        EXPECT_EQ(callback->QueryInterface(IID_IUnknown, &object), S_OK);
        EXPECT_EQ(object, callback);
        object = nullptr;
        EXPECT_EQ(callback->QueryInterface(__uuidof(ISampleGrabberCB), &object), S_OK);
        EXPECT_EQ(object, callback);
        void *untouched = &object;
        EXPECT_EQ(callback->QueryInterface(IID_IClassFactory, &untouched), E_NOINTERFACE);
        EXPECT_EQ(untouched, &object);
        EXPECT_EQ(callback->AddRef(), 1u);
        EXPECT_EQ(callback->AddRef(), 1u);
        EXPECT_EQ(callback->Release(), 2u);
        EXPECT_EQ(callback->SampleCB(0.0, nullptr), E_NOTIMPL);
    }
}

// A shown window standing in for the camera view, with nothing left to paint.
HWND View_Create()
{
    HWND view = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 120, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
    PumpMessages(100);
    ValidateRect(view, nullptr);
    return view;
}

// The pipeline's own work (effects, recorder copies) is tested on the host,
// the still path with a real graph; here the preview callback hands the
// sample on and the view gets a repaint.
TEST(GrabberCallbacks, ThePreviewBufferCBRunsThePipelineAndRepaintsTheView)
{
    HWND view = View_Create();
    ASSERT_NE(view, nullptr);
    RECT dirty;
    ASSERT_FALSE(GetUpdateRect(view, &dirty, FALSE));

    const int32_t size = 5 * 2 * 3;
    gCamera.frameHeader = {};
    gCamera.frameHeader.biWidth = 5;
    gCamera.frameHeader.biHeight = 2;
    gCamera.frameSize = size;
    gCamera.frameBuffer.assign(size, 0);
    gCamera.frameLock = Lock_Create();
    gCamera.viewWindow = view;
    gRecorder.queueLock = Lock_Create();

    Bytes frame(size);
    for (int i = 0; i < size; i++)
        frame[i] = (uint8_t)(10 * i);
    EXPECT_EQ(gGrabberCallback.BufferCB(0.5, frame.data(), size), S_OK);
    EXPECT_EQ(gCamera.frameBuffer, frame);
    RECT client;
    GetClientRect(view, &client);
    ASSERT_TRUE(GetUpdateRect(view, &dirty, FALSE));
    EXPECT_TRUE(EqualRect(&dirty, &client));
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, view, WM_CAMERA_STILL, WM_CAMERA_STILL, PM_REMOVE));

    Lock_Destroy(gRecorder.queueLock);
    Lock_Destroy(gCamera.frameLock);
    gCamera.frameBuffer.clear();
    gCamera.frameSize = 0;
    gCamera.viewWindow = nullptr;
    DestroyWindow(view);
}

TEST(Sync, EventsWakeWaitersOnOtherThreadsAndKeepTheirResetMode)
{
    SyncEvent *manual = Event_Create(true, false), *automatic = Event_Create(false, true);
    EXPECT_FALSE(Event_Wait(manual, 10));
    std::thread setter([manual] {
        Sleep(20);
        Event_Set(manual);
    });
    EXPECT_TRUE(Event_Wait(manual, 5000));
    setter.join();
    EXPECT_EQ(WaitForSingleObject(Event_Handle(manual), 0), WAIT_OBJECT_0); // still set
    Event_Reset(manual);
    EXPECT_FALSE(Event_Wait(manual, 0));

    EXPECT_TRUE(Event_Wait(automatic, 0));
    EXPECT_FALSE(Event_Wait(automatic, 0)); // the wait reset it
    Event_Destroy(manual);
    Event_Destroy(automatic);

    SyncLock *lock = Lock_Create();
    int counter = 0;
    auto add = [&] {
        for (int i = 0; i < 100000; i++) {
            Lock_Enter(lock);
            counter++;
            Lock_Leave(lock);
        }
    };
    std::thread other(add);
    add();
    other.join();
    EXPECT_EQ(counter, 200000);
    Lock_Destroy(lock);
}

// The vector loops as the Windows build compiles them, against the plain ones.
TEST(EffectKernels, EveryVectorVersionGivesThePlainBytes)
{
    std::vector<const EffectKernels *> vectors = EffectKernels_Vectors();
    ASSERT_FALSE(vectors.empty());
    EXPECT_EQ(gEffectKernels, vectors.front());
    std::mt19937 random(3);
    for (size_t pixels : {0u, 1u, 17u, 33u, 66u, 131u, 1920u * 3 + 7}) {
        size_t bytes = 3 * pixels;
        Bytes in(bytes), below(bytes);
        for (size_t i = 0; i < bytes; i++) {
            in[i] = (uint8_t)random();
            below[i] = (uint8_t)random();
        }
        auto run = [&](const EffectKernels *k) {
            Bytes out(5 * bytes + 5, 0);
            k->mirrorRow(in.data(), out.data(), pixels);
            k->gray(in.data(), out.data() + bytes + 1, pixels);
            k->blackWhite(in.data(), out.data() + 2 * bytes + 2, pixels);
            k->negative(in.data(), out.data() + 3 * bytes + 3, bytes);
            k->emboss(in.data(), below.data(), out.data() + 4 * bytes + 4, bytes);
            return out;
        };
        Bytes plain = run(&gPlainKernels);
        for (const EffectKernels *version : vectors)
            EXPECT_EQ(run(version), plain) << version->name << ", " << pixels << " pixels";
    }
}

} // namespace
