// The Open-microscope dialog with two virtual microscopes, and with none.
#include "state/app_state.h"
#include "state/settings.h"
#include "base/commands.h"
#include "capture/camera_graph.h"
#include "debug_capture.h"
#include "dialogs/preferences_ids.h"
#include "modal_dialog.h"
#include "program_harness.h"
#include "rig_api.h"
#include "rig_graph.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

struct OpenDialog : testing::Test {
    ProgramHarness program;
    void SetUp() override
    {
        ASSERT_TRUE(program.StartCamera());
    }
    void TearDown() override
    {
        if (Devices_Has(L"Quorell Virtual Microscope 2"))
            Rig_Unplug(1);
        if (!Devices_Has(L"Quorell Virtual Microscope"))
            Rig_Plug(0);
        program.Run(100);
    }
};

struct Shown {
    std::wstring devices, compressions, resolutions;
    int device = -2, compression = -2, resolution = -2;
};

// Reads the dialog, picks a compression and a resolution (-1: keeps the
// preselection) and presses a button.
std::function<void()> PickAndPress(Shown *shown, int compression, int resolution, int button,
                                   const wchar_t *screenshot = nullptr)
{
    return [=] {
        HWND dialog = Dialog_WaitFor(L"Open microscope");
        shown->devices = Dialog_Items(dialog, IDC_OPEN_DEVICES);
        shown->compressions = Dialog_Items(dialog, IDC_OPEN_COMPRESSION);
        shown->resolutions = Dialog_Items(dialog, IDC_OPEN_RESOLUTION);
        shown->device = Dialog_Selected(dialog, IDC_OPEN_DEVICES);
        shown->compression = Dialog_Selected(dialog, IDC_OPEN_COMPRESSION);
        shown->resolution = Dialog_Selected(dialog, IDC_OPEN_RESOLUTION);
        if (screenshot)
            Window_Screenshot(dialog, screenshot);
        if (compression >= 0)
            Dialog_Choose(dialog, IDC_OPEN_COMPRESSION, compression);
        if (resolution >= 0)
            Dialog_Choose(dialog, IDC_OPEN_RESOLUTION, resolution);
        Dialog_Press(dialog, button);
    };
}

size_t RestartLines(const DebugCapture &debug)
{
    auto lines = debug.Lines();
    return (size_t)std::count(lines.begin(), lines.end(), std::wstring(L"Camera_RestartPreview\r\n"));
}

// From the toolbar: the open microscope with its format preselected; YUY2
// at another size restarts its preview. From the Source section's camera
// box: the second microscope with the compression and size in use
// preselected; Open stops the first and starts the second, which the
// toolbar's dialog then preselects.
TEST_F(OpenDialog, TheOpenCameraRestartsWithANewSizeAndAnotherCameraReplacesIt)
{
    ASSERT_HRESULT_SUCCEEDED(Rig_Plug(1));
    ASSERT_TRUE(program.RunUntil([] { return gDevices.size() == 2; }));
    DebugCapture debug;
    Shown first;
    Modal_Run([&] { program.Click(CMD_OPEN_MICROSCOPE); },
              PickAndPress(&first, 1, 0, IDOK, L"open-microscope-dialog"));
    EXPECT_EQ(first.devices, L"Quorell Virtual Microscope;Quorell Virtual Microscope 2;");
    EXPECT_EQ(first.device, 0);
    EXPECT_EQ(first.compressions, L"MJPG;YUY2;");
    EXPECT_EQ(first.compression, 0);
    EXPECT_EQ(first.resolutions, L"640x480;1280x720;1920x1080;"); // 320x240 is not offered
    EXPECT_EQ(first.resolution, 1) << "1280x720, the open size";
    EXPECT_EQ(RestartLines(debug), 1u);
    ASSERT_TRUE(program.RunUntil([] { return Camera_IsOpen() && gCamera.currentFormat.width == 640; }));
    EXPECT_TRUE(ClassId_Equal(gCamera.currentFormat.subtype, kSubtypeYuy2));
    EXPECT_EQ(gDeviceIndex, 0);
    DWORD width = 0;
    EXPECT_TRUE(Registry_GetNumber(L"width", &width) && width == 640) << width;

    HWND cameraBox = GetDlgItem(GetDlgItem(gApp.controlPanel, 100), 102);
    ASSERT_TRUE(program.RunUntil([&] { return SendMessageW(cameraBox, CB_GETCOUNT, 0, 0) == 2; }));
    Shown second;
    Modal_Run(
        [&] {
            SendMessageW(cameraBox, CB_SETCURSEL, 1, 0);
            SendMessageW(GetParent(cameraBox), WM_COMMAND, MAKEWPARAM(102, CBN_SELCHANGE), (LPARAM)cameraBox);
        },
        PickAndPress(&second, -1, -1, IDOK));
    EXPECT_EQ(second.device, 1);
    EXPECT_EQ(second.compression, 1) << "YUY2, in use";
    EXPECT_EQ(second.resolution, 0) << "640x480, the open size";
    EXPECT_EQ(RestartLines(debug), 1u) << "another camera is started, not restarted";
    ASSERT_TRUE(program.RunUntil([] { return Camera_IsOpen() && gDeviceIndex == 1; }));
    EXPECT_EQ(gCamera.currentFormat.width, 640);
    EXPECT_TRUE(ClassId_Equal(gCamera.currentFormat.subtype, kSubtypeYuy2));
    EXPECT_EQ(gDevices[1].friendlyName, L"Quorell Virtual Microscope 2");

    Shown third;
    Modal_Run([&] { program.Click(CMD_OPEN_MICROSCOPE); }, PickAndPress(&third, -1, -1, IDCANCEL));
    EXPECT_EQ(third.device, 1);
    EXPECT_EQ(third.compression, 1);
    EXPECT_EQ(third.resolution, 0);
}

TEST_F(OpenDialog, WithoutAMicroscopeOnlyCancelWorks)
{
    ASSERT_HRESULT_SUCCEEDED(Rig_Unplug(0));
    ASSERT_TRUE(program.RunUntil([] { return !Camera_IsOpen() && gDevices.empty(); }));
    std::wstring items;
    bool enabled[4] = {};
    Modal_Run([&] { program.Click(CMD_OPEN_MICROSCOPE); },
              [&] {
                  HWND dialog = Dialog_WaitFor(L"Open microscope");
                  items = Dialog_Items(dialog, IDC_OPEN_DEVICES);
                  const int controls[4] = {IDC_OPEN_COMPRESSION, IDC_OPEN_RESOLUTION, IDOK, IDCANCEL};
                  for (int i = 0; i < 4; i++)
                      enabled[i] = IsWindowEnabled(GetDlgItem(dialog, controls[i]));
                  Dialog_Press(dialog, IDCANCEL);
              });
    EXPECT_EQ(items, L"No microscope found.;");
    EXPECT_FALSE(enabled[0] || enabled[1] || enabled[2]);
    EXPECT_TRUE(enabled[3]);
}

} // namespace
