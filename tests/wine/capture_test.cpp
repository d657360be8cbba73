// The capture graph, formats and controls over the virtual microscope.
#include "capture/camera_controls.h"
#include "capture/camera_graph.h"
#include "capture/frame_pipeline.h"
#include "capture/dshow_win.h"
#include "capture/media_format.h"
#include "record/recorder_state.h"
#include "rig_api.h"
#include "rig_graph.h"
#include "wine_support.h"

#include <gtest/gtest.h>
#include <set>

namespace {

const wchar_t *const kMicroscope = L"Quorell Virtual Microscope";
const wchar_t *const kMicroscope2 = L"Quorell Virtual Microscope 2";

// A window that records the capture messages posted to it.
struct MessageWindow {
    HWND window;
    static std::set<UINT> *received;
    std::set<UINT> messages;

    static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp)
    {
        if (m >= WM_CAMERA_EVENT && m <= WM_CAMERA_STILL && received)
            received->insert(m);
        return DefWindowProcW(w, m, wp, lp);
    }
    MessageWindow()
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"CaptureTestWindow";
        RegisterClassW(&wc);
        window = CreateWindowW(L"CaptureTestWindow", L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                               wc.hInstance, nullptr);
        received = &messages;
    }
    ~MessageWindow()
    {
        received = nullptr;
        DestroyWindow(window);
    }
    bool WaitFor(UINT message, DWORD timeout)
    {
        for (DWORD waited = 0; !messages.count(message) && waited < timeout; waited += 20)
            PumpMessages(20);
        return messages.count(message) > 0;
    }
};
std::set<UINT> *MessageWindow::received;

int FindDevice(const wchar_t *name)
{
    for (size_t i = 0; i < gDevices.size(); i++)
        if (gDevices[i].friendlyName == name)
            return (int)i;
    return -1;
}

struct CaptureTest : testing::Test {
    MessageWindow events;

    void SetUp() override
    {
        Rig_ResetControls(0);
        if (Devices_Has(kMicroscope2))
            Rig_Unplug(1);
        if (!Devices_Has(kMicroscope))
            Rig_Plug(0);
        Camera_Init(events.window);
        gRequestedFormat = {kSubtypeMjpg, 0, 0};
    }
    void TearDown() override
    {
        Camera_StopPreview();
        Camera_FreeGraph();
        Camera_FreeDevices();
        Rig_ResetControls(0);
    }

    // Opens the microscope the way the view does.
    void Open(const wchar_t *name = kMicroscope)
    {
        Camera_EnumDevices();
        int i = FindDevice(name);
        ASSERT_GE(i, 0);
        DeviceEntry &device = gDevices[i];
        if (!device.filter) {
            ASSERT_HRESULT_SUCCEEDED(device.moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, (void **)&device.filter));
        }
        device.moniker->AddRef();
        device.filter->AddRef();
        gCamera.moniker = device.moniker;
        gCamera.captureFilter = device.filter;
    }

    // Waits until the pipeline has shown n frames.
    bool WaitFrames(int n, DWORD timeout)
    {
        LONG start = Rig_Counters(0).frames;
        for (DWORD waited = 0; waited < timeout; waited += 20) {
            PumpMessages(20);
            if (Rig_Counters(0).frames - start >= n)
                return true;
        }
        return false;
    }
};

TEST_F(CaptureTest, ListsTheMicroscopeWithItsNameAndPath)
{
    Camera_EnumDevices();
    int i = FindDevice(kMicroscope);
    ASSERT_GE(i, 0);
    EXPECT_EQ(gDevices[i].devicePath,
              std::wstring(L"@device:sw:{860BB310-5D01-11D0-BD3B-00A0C911CE86}\\") + Rig_DeviceInstance(0));
    EXPECT_EQ(gDevices[i].filter, nullptr);
    size_t count = gDevices.size();
    Camera_EnumDevices(); // a refresh keeps the entry and adds nothing
    EXPECT_EQ(gDevices.size(), count);
    EXPECT_EQ(FindDevice(kMicroscope), i);
}

TEST_F(CaptureTest, AVanishedDeviceLeavesTheListAndASecondIsAppended)
{
    Camera_EnumDevices();
    ASSERT_HRESULT_SUCCEEDED(Rig_Plug(1));
    Camera_EnumDevices();
    EXPECT_EQ(FindDevice(kMicroscope2), (int)gDevices.size() - 1);
    IMoniker *first = gDevices[FindDevice(kMicroscope)].moniker;
    ASSERT_HRESULT_SUCCEEDED(Rig_Unplug(1));
    Camera_EnumDevices();
    EXPECT_EQ(FindDevice(kMicroscope2), -1);
    EXPECT_EQ(gDevices[FindDevice(kMicroscope)].moniker, first); // the same entry
}

TEST_F(CaptureTest, FormatsOfAtLeast640x480AreCollectedInAscendingOrder)
{
    Open();
    Camera_EnsureFormats();
    ASSERT_EQ(gCamera.mjpgFormats.size(), 3u);
    ASSERT_EQ(gCamera.yuy2Formats.size(), 4u);
    EXPECT_EQ(FormatMap_At(gCamera.mjpgFormats, 0)->width, 640);
    EXPECT_EQ(FormatMap_At(gCamera.mjpgFormats, 1)->width, 1280);
    EXPECT_EQ(FormatMap_At(gCamera.mjpgFormats, 2)->width, 1920);
    EXPECT_TRUE(ClassId_Equal(FormatMap_At(gCamera.yuy2Formats, 0)->subtype, kSubtypeYuy2));
    Camera_ChooseDefaultFormat();
    EXPECT_EQ(gRequestedFormat.width, 1280);
    EXPECT_EQ(gRequestedFormat.height, 720);
}

TEST_F(CaptureTest, StartsWithTheDefaultFormatAndFramesReachTheFrameBuffer)
{
    Open();
    ASSERT_EQ(Camera_StartPreview(), 1);
    EXPECT_TRUE(events.WaitFor(WM_CAMERA_STARTED, 3000));
    EXPECT_TRUE(Camera_IsOpen());
    EXPECT_EQ(gCamera.currentFormat.width, 1280);
    EXPECT_EQ(gCamera.frameHeader.biWidth, 1280);
    EXPECT_EQ(gCamera.frameHeader.biHeight, 720);
    EXPECT_EQ(gCamera.frameSize, 1280 * 720 * 3);
    EXPECT_GE(gDeviceIndex, 0);
    ASSERT_TRUE(WaitFrames(20, 5000));

    std::vector<BYTE> frame(gCamera.frameSize);
    ASSERT_EQ(Camera_TakeFrame(&frame), 1);
    // The red mark is at the top left: in a bottom-up frame, near the last row.
    const int p = Rig_PixelsPerMm(1280);
    const BYTE *red = Frame_Pixel(frame, 1280, 720, p, p);
    EXPECT_GT(red[2], 170);
    EXPECT_LT(red[0], 90);
    EXPECT_GT(gCamera.fps.load(), 2.0f);
}

TEST_F(CaptureTest, AFormatTheDeviceLacksFallsBackToTheDefault)
{
    Open();
    gRequestedFormat = {kSubtypeMjpg, 800, 600};
    ASSERT_EQ(Camera_StartPreview(), 1);
    EXPECT_EQ(gCamera.currentFormat.width, 1280);

    // Another subtype than MJPG or YUY2 is asked for as MJPG.
    Camera_StopPreview();
    Open();
    gRequestedFormat = {kSubtypeRgb24, 640, 480};
    ASSERT_EQ(Camera_StartPreview(), 1);
    EXPECT_TRUE(ClassId_Equal(gCamera.currentFormat.subtype, kSubtypeMjpg));
    EXPECT_EQ(gCamera.currentFormat.width, 640);
}

TEST_F(CaptureTest, TheStillPinPostsTheStillMessage)
{
    Open();
    ASSERT_EQ(Camera_StartPreview(), 1);
    ASSERT_NE(gCamera.stillPin, nullptr);
    ASSERT_TRUE(WaitFrames(3, 5000));
    Rig_TriggerStill(0);
    EXPECT_TRUE(events.WaitFor(WM_CAMERA_STILL, 3000));
}

TEST_F(CaptureTest, ControlsAreReadWithTheirRangesAndWritesReachTheDevice)
{
    Open();
    ASSERT_EQ(Camera_StartPreview(), 1);
    const ControlRange &e = gCamera.exposure;
    EXPECT_EQ(e.min, -13);
    EXPECT_EQ(e.max, -1);
    EXPECT_EQ(e.defaultValue, -6);
    EXPECT_EQ(e.autoSupported, 1);
    EXPECT_EQ(e.autoOn, 0);
    EXPECT_EQ(e.flags, CONTROL_FLAG_MANUAL); // the current flags, not the capabilities
    EXPECT_EQ(gCamera.brightness.min, -64);
    EXPECT_EQ(gCamera.whiteBalance.autoOn, 1);
    EXPECT_EQ(gCamera.gain.max, 100);
    ASSERT_NE(gCamera.videoProcAmp, nullptr);
    EXPECT_EQ(gCamera.powerLineFrequency.min, 1);
    EXPECT_EQ(gCamera.powerLineFrequency.max, 2);
    EXPECT_EQ(gCamera.powerLineFrequency.value, 0);

    Camera_WriteControl(CONTROL_BRIGHTNESS, Control_ManualChange(CONTROL_BRIGHTNESS, -20));
    RigWrite w = Rig_LastWrite(0, RigControl_Brightness);
    EXPECT_EQ(w.value, -20);
    EXPECT_EQ(w.flags, CONTROL_FLAG_MANUAL);
    Camera_WriteControl(CONTROL_EXPOSURE, Control_AutoChange(CONTROL_EXPOSURE, true, 0));
    w = Rig_LastWrite(0, RigControl_Exposure);
    EXPECT_EQ(w.value, 0);
    EXPECT_EQ(w.flags, CONTROL_FLAG_AUTO);
    Camera_WriteControl(CONTROL_POWER_LINE_FREQUENCY, {2, CONTROL_FLAG_MANUAL});
    EXPECT_EQ(gCamera.powerLineFrequency.value, 2);
    EXPECT_EQ(Rig_LastWrite(0, RigControl_PowerLine).value, 2);
}

TEST_F(CaptureTest, AStartFailingAfterTheGraphExistsUndoesItselfAndTheDeviceOpensLater)
{
    // The capture pin fails early (nothing connects), the still pin late
    // (after frame buffer, controls, lock and events).
    for (LONG failure : {RigRefuse_Capture, RigRefuse_Still}) {
        SCOPED_TRACE(failure);
        Open();
        Rig_Refuse(0, failure);
        EXPECT_EQ(Camera_StartPreview(), 0);
        Rig_Refuse(0, 0);
        EXPECT_FALSE(Camera_IsOpen());
        EXPECT_EQ(gCamera.graph, nullptr);
        EXPECT_EQ(gCamera.captureFilter, nullptr);
        EXPECT_EQ(gCamera.moniker, nullptr);
        EXPECT_TRUE(gCamera.frameBuffer.empty());
        EXPECT_EQ(gRecorder.stoppedEvent, nullptr);
        EXPECT_EQ(gDeviceIndex, -1);
    }
    PumpMessages(50);
    EXPECT_EQ(events.messages.count(WM_CAMERA_STARTED), 0u);
    // The same bound filter, as the view reopens it.
    Open();
    ASSERT_EQ(Camera_StartPreview(), 1);
    EXPECT_TRUE(events.WaitFor(WM_CAMERA_STARTED, 3000));
    EXPECT_TRUE(WaitFrames(5, 5000));
}

TEST_F(CaptureTest, StopAndRestartRebuildTheGraphOnTheSameDevice)
{
    Open();
    ASSERT_EQ(Camera_StartPreview(), 1);
    ASSERT_TRUE(events.WaitFor(WM_CAMERA_STARTED, 3000));
    gCamera.gray = 1;
    gRequestedFormat.width = 640;
    gRequestedFormat.height = 480;
    events.messages.clear();
    Camera_RestartPreview();
    EXPECT_TRUE(events.WaitFor(WM_CAMERA_STOPPED, 3000));
    EXPECT_TRUE(events.WaitFor(WM_CAMERA_STARTED, 3000));
    EXPECT_EQ(gCamera.frameHeader.biWidth, 640);
    EXPECT_EQ(gCamera.gray.load(), 0); // flags switch off with every stop
    EXPECT_NE(gCamera.moniker, nullptr);

    Camera_StopPreview();
    EXPECT_EQ(gCamera.graph, nullptr);
    EXPECT_EQ(gCamera.moniker, nullptr);
    EXPECT_TRUE(gCamera.frameBuffer.empty());
    EXPECT_EQ(gCamera.exposure.max, 0);
    EXPECT_EQ(gCamera.fps.load(), 30.0f);
    EXPECT_EQ(gDeviceIndex, -1);
}

} // namespace
