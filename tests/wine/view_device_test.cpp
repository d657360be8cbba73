// The camera view opens, follows and loses cameras by itself, inside the real
// main window, with the virtual microscope.
#include "state/app_state.h"
#include "state/calibrations.h"
#include "base/commands.h"
#include "base/gdiplus_win.h"
#include "base/sync.h"
#include "base/text.h"
#include "app/mainwnd_win.h"
#include "state/settings.h"
#include "app/toolbar_table.h"
#include "capture/camera_graph.h"
#include "capture/camera_state.h"
#include "program_harness.h"
#include "record/recorder.h"
#include "record/recorder_state.h"
#include "recordings.h"
#include "rig_api.h"
#include "rig_graph.h"
#include "rig_scene.h"
#include "view/view_device_win.h"
#include "reports/snapshot.h"
#include "state/view_api.h"
#include "view/view_state.h"
#include "view/viewport.h"
#include "view_harness.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <cstdlib>
#include <set>

namespace {

const wchar_t *const kMicroscope = L"Quorell Virtual Microscope";
const wchar_t *const kMicroscope2 = L"Quorell Virtual Microscope 2";

void RestoreRig()
{
    Rig_ResetControls(0);
    Rig_OfferUnusualFormats(0, false);
    Rig_Refuse(0, 0);
    if (Devices_Has(kMicroscope2))
        Rig_Unplug(1);
    if (!Devices_Has(kMicroscope))
        Rig_Plug(0);
}

struct ViewDevices : testing::Test {
    void SetUp() override { RestoreRig(); }
    void TearDown() override { RestoreRig(); }
};

// Pumps until the condition holds; returns the time it took, or -1.
template <typename Condition> long TimeUntil(Condition condition, DWORD timeout)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < timeout) {
        if (condition())
            return (long)(GetTickCount() - start);
        PumpMessages(10);
    }
    return -1;
}

TEST_F(ViewDevices, StartUpOpensTheMicroscopeInItsDefaultFormatAbout100msLater)
{
    DWORD created = GetTickCount();
    ProgramHarness program;
    ASSERT_GE(TimeUntil([] { return Camera_IsOpen(); }, 5000), 0);
    long opened = (long)(GetTickCount() - created);
    EXPECT_GE(opened, 80); // the countdown only makes it later under load, never earlier
    EXPECT_LT(opened, 4000);
    EXPECT_TRUE(ClassId_Equal(gCamera.currentFormat.subtype, kSubtypeMjpg));
    EXPECT_EQ(gCamera.currentFormat.width, 1280);
    EXPECT_EQ(gCamera.currentFormat.height, 720);
    ASSERT_TRUE(program.WaitForCamera());
    EXPECT_EQ(gView.imageWidth, 1280);
    EXPECT_EQ(gDevices[gDeviceIndex].friendlyName, kMicroscope);
    program.Run(2500);
    EXPECT_GT(gCamera.fps.load(), 2.0f); // the rig sends 30; a loaded machine decodes fewer
    EXPECT_LT(gCamera.fps.load(), 33.0f);
    // The opened size is remembered for the next start.
    EXPECT_EQ(gSettings.captureWidth, 1280);
}

TEST_F(ViewDevices, ResolutionAndCompressionChangesRestartTheGraph)
{
    ProgramHarness program;
    ASSERT_TRUE(program.WaitForCamera());
    SendMessageW(program.main, WM_COMMAND, CMD_CHOOSE_RESOLUTION, 0); // 640x480, the first entry
    ASSERT_TRUE(program.WaitForCamera());
    EXPECT_EQ(gCamera.currentFormat.width, 640);
    EXPECT_EQ(gView.imageWidth, 640);
    SendMessageW(program.main, WM_COMMAND, CMD_CHOOSE_COMPRESSION, 0); // YUY2
    ASSERT_TRUE(program.WaitForCamera());
    EXPECT_TRUE(ClassId_Equal(gCamera.currentFormat.subtype, kSubtypeYuy2));
    EXPECT_EQ(gCamera.currentFormat.width, 640);
    long before = Rig_Counters(0).frames;
    program.Run(500);
    EXPECT_GT(Rig_Counters(0).frames - before, 5);
    EXPECT_NE(gView.backBitmap, nullptr);
}

// A camera may list a format and refuse it when asked: the start falls back
// to the default format, and only what the camera took is shown and saved.
TEST_F(ViewDevices, AResolutionTheCameraRefusesFallsBackToTheDefaultWhichIsShownAndSaved)
{
    ProgramHarness program;
    ASSERT_TRUE(program.WaitForCamera());
    SendMessageW(program.main, WM_COMMAND, CMD_CHOOSE_RESOLUTION, 0); // 640x480
    ASSERT_TRUE(program.RunUntil([] { return gSettings.captureWidth == 640; }));
    Rig_Refuse(0, RigRefuse_LargeFormats);
    SendMessageW(program.main, WM_COMMAND, CMD_CHOOSE_RESOLUTION, 2); // 1920x1080
    ASSERT_TRUE(program.WaitForCamera());
    EXPECT_EQ(gCamera.currentFormat.width, 1280);
    EXPECT_EQ(gCamera.frameHeader.biWidth, 1280);
    EXPECT_TRUE(program.RunUntil([] { return gSettings.captureWidth == 1280 && gSettings.captureHeight == 720; }))
        << gSettings.captureWidth << "x" << gSettings.captureHeight;
}

TEST_F(ViewDevices, UnpluggingTheOpenCameraStopsAndReplugOpensItAgain)
{
    ProgramHarness program;
    ASSERT_TRUE(program.WaitForCamera());
    program.Drag(100, 100, 200, 150);
    ASSERT_HRESULT_SUCCEEDED(Rig_Unplug(0));
    EXPECT_GE(TimeUntil([] { return !Camera_IsOpen(); }, 3000), 0);
    program.Run(100);
    EXPECT_EQ(gView.imageWidth, 0);
    EXPECT_TRUE(gView.items.empty());
    EXPECT_EQ(gDeviceIndex, -1);

    ASSERT_HRESULT_SUCCEEDED(Rig_Plug(0));
    long reopened = TimeUntil([] { return Camera_IsOpen(); }, 8000);
    EXPECT_GE(reopened, 600); // the view waits about 800 ms
    EXPECT_LT(reopened, 6000);
}

TEST_F(ViewDevices, AnotherCameraComingAndGoingChangesNothing)
{
    ProgramHarness program;
    ASSERT_TRUE(program.WaitForCamera());
    IMoniker *open = gCamera.moniker;
    ASSERT_HRESULT_SUCCEEDED(Rig_Plug(1));
    program.Run(1500);
    EXPECT_EQ(gCamera.moniker, open);
    EXPECT_EQ(gDevices.back().friendlyName, kMicroscope2);
    ASSERT_HRESULT_SUCCEEDED(Rig_Unplug(1));
    program.Run(300);
    EXPECT_TRUE(Camera_IsOpen());
    EXPECT_EQ(gCamera.moniker, open);
}

ULONG References(IUnknown *object)
{
    object->AddRef();
    return object->Release();
}

DeviceEntry *gSwitchTarget;
bool gSwitchedWhileStopping;

void CALLBACK SwitchDevice(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    gSwitchedWhileStopping = Camera_RecordStopping();
    View_SwitchDevice(gApp.cameraView, gSwitchTarget);
}

// Stands in for the recording thread: finishes the file a little later.
DWORD WINAPI FinishRecordingLater(void *)
{
    Sleep(300);
    Event_Set(gRecorder.stoppedEvent);
    return 0;
}

// Stopping a recording dispatches messages while it waits; a device switch
// among them finds the teardown postponed until the wait ends, and is
// dropped without keeping a reference to either device.
TEST_F(ViewDevices, ASwitchAskedForWhileARecordingEndsIsDroppedAndHoldsNoDevice)
{
    ProgramHarness program;
    ASSERT_TRUE(program.WaitForCamera());
    DeviceEntry &device = gDevices[gDeviceIndex];
    Camera_StopPreview();
    const ULONG unused = References(device.filter);
    View_SwitchDevice(gApp.cameraView, &device);
    ASSERT_TRUE(program.WaitForCamera());

    gSwitchTarget = &device;
    SetTimer(nullptr, 0, 0, SwitchDevice);
    gRecorder.recording = 1;
    HANDLE thread = CreateThread(nullptr, 0, FinishRecordingLater, nullptr, 0, nullptr);
    Camera_StopRecord();
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    EXPECT_TRUE(gSwitchedWhileStopping);
    EXPECT_EQ(gCamera.graph, nullptr) << "the postponed teardown ran";
    EXPECT_EQ(References(device.filter), unused);
}

TEST_F(ViewDevices, WithTwoMicroscopesTheLastIsOpenedAndUnpluggingItOpensTheOther)
{
    ASSERT_HRESULT_SUCCEEDED(Rig_Plug(1));
    ProgramHarness program;
    ASSERT_TRUE(program.WaitForCamera());
    EXPECT_EQ(gDevices[gDeviceIndex].friendlyName, kMicroscope2);
    EXPECT_EQ(gDeviceIndex, (int)gDevices.size() - 1);

    ASSERT_HRESULT_SUCCEEDED(Rig_Unplug(1));
    ASSERT_GE(TimeUntil([] { return !Camera_IsOpen(); }, 3000), 0);
    long reopened = TimeUntil([] { return Camera_IsOpen(); }, 4000);
    EXPECT_GE(reopened, 600); // as at an arrival, about 800 ms later
    ASSERT_TRUE(program.WaitForCamera());
    EXPECT_EQ(gDevices[gDeviceIndex].friendlyName, kMicroscope);
}

void Wheel(int delta, WORD keys, POINT client)
{
    ClientToScreen(gApp.cameraView, &client);
    SendMessageW(gApp.cameraView, WM_MOUSEWHEEL, MAKEWPARAM(keys, (WORD)(short)delta), MAKELPARAM(client.x, client.y));
}

// The longest run of the colour in the picture's rows from y0 to y1: its row,
// first column and length.
struct ColorRun {
    int y = -1, x = 0, length = 0;
};
ColorRun LongestRun(const std::wstring &path, COLORREF color, int y0, int y1, int width)
{
    ColorRun best;
    Gdiplus::GpBitmap *bitmap = nullptr;
    if (Gdip::GdipCreateBitmapFromFile(path.c_str(), &bitmap) != Gdiplus::Ok)
        return best;
    Gdiplus::ARGB want = 0xFF000000u | (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
    for (int y = y0; y < y1; y++) {
        for (int x = 0, start = -1; x <= width; x++) {
            Gdiplus::ARGB pixel = 0;
            bool on = x < width && Gdip::GdipBitmapGetPixel(bitmap, x, y, &pixel) == Gdiplus::Ok && pixel == want;
            if (on && start < 0)
                start = x;
            if (!on && start >= 0) {
                if (x - start > best.length)
                    best = {y, start, x - start};
                start = -1;
            }
        }
    }
    Gdip::GdipDisposeImage(bitmap);
    return best;
}

// At 50 % on the microscope's 1280 x 720 ruler calibrated at 40 px/mm: the
// grid steps 5 mm (100 screen pixels), a line drawn over 200 screen pixels
// is 400 picture pixels long, and a snapshot is the picture at its own size
// with both drawn at picture scale (or, by choice, as shown). The wheel
// zooms about the pointer with Ctrl and scrolls a larger picture.
TEST_F(ViewDevices, AtEveryZoomItemsAndOverlaysFollowThePictureAndSnapshotsKeepItsSize)
{
    ProgramHarness program;
    ASSERT_TRUE(program.WaitForCamera());
    ASSERT_EQ(gView.imageWidth, 1280);
    View_SetCalibration(40.0f, 0);
    gView.showGrid = true;
    SendMessageW(gApp.cameraView, WM_COMMAND, CMD_VIEW_ZOOM, 50);
    EXPECT_FLOAT_EQ(gView.rulerStepValue, 5.0f);
    RECT client;
    GetClientRect(gApp.cameraView, &client);
    POINT centre = {client.right / 2, client.bottom / 2};
    View_SetTool(ITEM_LINE);
    HWND view = gApp.cameraView;
    SendMessageW(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(centre.x - 100, centre.y + 60));
    SendMessageW(view, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(centre.x + 100, centre.y + 60));
    SendMessageW(view, WM_LBUTTONUP, 0, MAKELPARAM(centre.x + 100, centre.y + 60));
    View_SetTool(0);
    ASSERT_EQ(gView.items.size(), 1u);
    EXPECT_NEAR(gView.items[0].x2 - gView.items[0].x1, 400, 1);
    program.Run(300);
    program.Screenshot(L"zoom50-grid-and-line");

    std::wstring picture = program.images.path + L"\\picture.png", shown = program.images.path + L"\\shown.png";
    ASSERT_TRUE(Snapshot_Save(picture.c_str(), false));
    gSettings.snapshotAsShown = 1;
    ASSERT_TRUE(Snapshot_Save(shown.c_str(), false));
    gSettings.snapshotAsShown = 0;
    UINT w = 0, h = 0;
    ASSERT_TRUE(Image_Size(picture, &w, &h));
    EXPECT_EQ(w, 1280u);
    EXPECT_EQ(h, 720u);
    EXPECT_EQ(Image_Pixel(picture, 640 + 200, 50), (COLORREF)gView.gridColor) << "5 mm at picture scale";
    ColorRun line = LongestRun(picture, gView.lineColor, gView.items[0].y1 - 1, gView.items[0].y1 + 2, 1280);
    EXPECT_NEAR(line.length, 401, 2) << "the line at picture scale";
    EXPECT_NEAR(line.x, gView.items[0].x1, 1);
    ASSERT_TRUE(Image_Size(shown, &w, &h));
    EXPECT_EQ(w, 640u);
    EXPECT_EQ(h, 360u);
    EXPECT_EQ(Image_Pixel(shown, 320 + 100, 25), (COLORREF)gView.gridColor) << "5 mm at half size";

    SendMessageW(gApp.cameraView, WM_COMMAND, CMD_VIEW_ZOOM, 150); // larger than the view: scrolled
    Point before, after;
    RECT rect;
    GetClientRect(gApp.cameraView, &rect);
    View_MapPoint(&before, {0, 0, rect.right, rect.bottom}, centre.x + 150, centre.y - 90);
    Wheel(120, MK_CONTROL, {centre.x + 150, centre.y - 90});
    EXPECT_EQ(gView.zoom, 160);
    GetClientRect(gApp.cameraView, &rect);
    View_MapPoint(&after, {0, 0, rect.right, rect.bottom}, centre.x + 150, centre.y - 90);
    EXPECT_NEAR(after.x, before.x, 2) << "the point under the pointer stays";
    EXPECT_NEAR(after.y, before.y, 2);
    EXPECT_TRUE(program.RunUntil([&] { return program.StatusText(4) == L"160%"; }, 1000));

    SendMessageW(gApp.cameraView, WM_COMMAND, CMD_VIEW_ZOOM, 200);
    int y = gView.scrollY, x = gView.scrollX;
    Wheel(-120, 0, centre);
    EXPECT_EQ(gView.scrollY, y + 60);
    Wheel(-120, MK_SHIFT, centre);
    EXPECT_EQ(gView.scrollX, x + 60);
}

bool Near(COLORREF pixel, SceneColour colour)
{
    return abs(GetRValue(pixel) - colour.r) < 40 && abs(GetGValue(pixel) - colour.g) < 40 &&
           abs(GetBValue(pixel) - colour.b) < 40;
}

// The scale bar on the microscope's ruler at 40 px/mm: greyed without a
// calibration, then in a snapshot 5 mm long, the length between the ruler's
// ticks 5 mm apart, both found in the picture's pixels.
TEST_F(ViewDevices, TheScaleBarIsFiveMillimetresOfTheRulerInASnapshot)
{
    ProgramHarness program;
    ASSERT_TRUE(program.WaitForCamera());
    ASSERT_EQ(gView.imageWidth, 1280);
    EXPECT_FALSE(SendMessageW(gApp.toolbar, TB_ISBUTTONENABLED, CMD_SCALE_BAR, 0));
    ASSERT_TRUE(Calibration_Store(4, 0, 400, 10.0f, 1280, 720)); // 40 px/mm
    Calibration_Apply(4);
    program.Run(200);
    EXPECT_TRUE(SendMessageW(gApp.toolbar, TB_ISBUTTONENABLED, CMD_SCALE_BAR, 0));
    program.Click(CMD_SCALE_BAR);
    EXPECT_TRUE(program.Checked(CMD_SCALE_BAR));
    EXPECT_EQ(gSettings.showScaleBar, 1);
    program.Run(300);
    program.Screenshot(L"scale-bar");
    std::wstring path = program.images.path + L"\\scale-bar.png";
    ASSERT_TRUE(Snapshot_Save(path.c_str(), false));

    // The ticks hang from row H / 4 (the rig's ruler): their left edges.
    Gdiplus::GpBitmap *bitmap = nullptr;
    ASSERT_EQ(Gdip::GdipCreateBitmapFromFile(path.c_str(), &bitmap), Gdiplus::Ok);
    std::vector<int> ticks;
    bool dark = false;
    for (int x = 0; x < 1280; x++) {
        Gdiplus::ARGB pixel = 0;
        Gdip::GdipBitmapGetPixel(bitmap, x, 720 / 4 + 2, &pixel);
        bool now = Near(RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF), kSceneTick);
        if (now && !dark)
            ticks.push_back(x);
        dark = now;
    }
    Gdip::GdipDisposeImage(bitmap);
    ASSERT_GE(ticks.size(), 6u);
    ColorRun bar = LongestRun(path, gView.lineColor, 600, 720, 1280);
    EXPECT_GT(bar.x, 1280 - 400) << "in the bottom-right corner";
    EXPECT_NEAR(bar.length, ticks[5] - ticks[0], 1) << "5 mm of the ruler";
}

// Shows the microscope's picture in this format at 100 % and snapshots it:
// the snapshot has the frame's size and holds the corner squares and the
// paper where the microscope puts them (p = width / 32 pixels per
// millimetre), which rows read at the wrong stride would shear away.
void ExpectShownAndSnapshotted(ProgramHarness &program, const VideoFormat &format, const wchar_t *name)
{
    gRequestedFormat = format;
    SendMessageW(gApp.cameraView, WM_COMMAND, CMD_VIEW_RESTART, 0);
    ASSERT_TRUE(program.WaitForCamera());
    ASSERT_EQ(gCamera.currentFormat.width, format.width);
    SendMessageW(gApp.cameraView, WM_COMMAND, CMD_VIEW_ZOOM, 100);
    program.Run(500);
    program.Screenshot(name);
    std::wstring path = program.images.path + L"\\" + name + L".png";
    ASSERT_TRUE(Snapshot_Save(path.c_str(), false));
    UINT w = 0, h = 0;
    ASSERT_TRUE(Image_Size(path, &w, &h));
    EXPECT_EQ(w, (UINT)format.width);
    EXPECT_EQ(h, (UINT)format.height);
    const int W = format.width, H = format.height, p = W / 32;
    EXPECT_TRUE(Near(Image_Pixel(path, p, p), kSceneRed));
    EXPECT_TRUE(Near(Image_Pixel(path, W - p, H - p), kSceneBlue));
    EXPECT_TRUE(Near(Image_Pixel(path, p / 4, p / 4), kScenePaper));
    EXPECT_TRUE(Near(Image_Pixel(path, W - p / 4, H - p / 4), kScenePaper));
}

// A laptop panel's size: its RGB24 rows of 4098 bytes come padded to 4100.
TEST_F(ViewDevices, A1366x768PictureWithPaddedRowsIsShownAndSnapshotted)
{
    ProgramHarness program;
    ASSERT_TRUE(program.WaitForCamera());
    ExpectShownAndSnapshotted(program, {kSubtypeYuy2, 1366, 768}, L"padded_rows_1366x768");
}

// A driver's capabilities are outside data: the malformed ones are not
// listed. An odd-sized MJPG picture (rows of 4095 bytes padded to 4096) is
// shown, snapshotted whole and recorded without its odd last column and row
// (encoders take even sizes); check_recordings.py plays the videos back.
TEST_F(ViewDevices, MalformedFormatsAreNotListedAndAnOddSizedPictureIsShownSnapshottedAndRecorded)
{
    Rig_OfferUnusualFormats(0, true);
    ProgramHarness program;
    ASSERT_TRUE(program.WaitForCamera());
    std::set<std::pair<int32_t, int32_t>> mjpg, expected = {{640, 480}, {1280, 720}, {1365, 767}, {1920, 1080}};
    for (const auto &entry : gCamera.mjpgFormats)
        mjpg.insert({entry.second.width, entry.second.height});
    EXPECT_EQ(mjpg, expected);
    EXPECT_EQ(gCamera.yuy2Formats.size(), 4u);
    ExpectShownAndSnapshotted(program, {kSubtypeMjpg, 1365, 767}, L"odd_size_1365x767");
    if (HasFatalFailure())
        return;

    RecordingFolder folder(L"OddSize");
    for (const wchar_t *name : {L"odd.mp4", L"odd.wmv"}) {
        ASSERT_TRUE(Text_Copy(gRecorder.path, PATH_CAPACITY, (folder.path + L"\\" + name).c_str()));
        gRecorder.useH264 = std::wstring(name).ends_with(L".mp4");
        ASSERT_EQ(Camera_SartRecord(), 1) << name << std::hex << gRecorder.startStatus;
        program.Run(1500);
        Camera_StopRecord();
        folder.Expect(name, 1.0, 2.5, 1364, 766);
    }
}

TEST_F(ViewDevices, ASnapshotIsJpegForLowerCaseJpgAndPngOtherwise)
{
    ProgramHarness program;
    ASSERT_TRUE(program.WaitForCamera());
    for (const wchar_t *name : {L"\\a.jpg", L"\\b.JPG", L"\\c.png"}) {
        std::wstring path = program.images.path + name;
        ASSERT_TRUE(Snapshot_Save(path.c_str(), false)) << path.c_str();
    }
    EXPECT_EQ(File_Magic(program.images.path + L"\\a.jpg"), 0xD8FFu);
    EXPECT_EQ(File_Magic(program.images.path + L"\\b.JPG"), 0x5089u);
    EXPECT_EQ(File_Magic(program.images.path + L"\\c.png"), 0x5089u);
}

} // namespace
