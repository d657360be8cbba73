// Measuring beyond the live moment: a held frame, and saved pictures opened
// in the view (this program's TIFF snapshot, one ImageJ wrote, bad files).
#include "base/commands.h"
#include "base/text.h"
#include "capture/camera_graph.h"
#include "modal_dialog.h"
#include "program_harness.h"
#include "record/recorder.h"
#include "record/recorder_state.h"
#include "recordings.h"
#include "reports/picture_open_win.h"
#include "reports/snapshot.h"
#include "rig_api.h"
#include "state/app_state.h"
#include "state/calibrations.h"
#include "state/prompt.h"
#include "state/settings.h"
#include "state/view_api.h"
#include "view/measure_item.h"
#include "view/view_source.h"
#include "view/view_state.h"
#include "view/view_win.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

// The view as it is composed now, after a paint of its own.
std::vector<uint32_t> ShownPixels()
{
    RedrawWindow(gApp.cameraView, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    int width = 0, height = 0;
    const uint32_t *pixels = View_BackPixels(&width, &height);
    return pixels ? std::vector<uint32_t>(pixels, pixels + (size_t)width * height) : std::vector<uint32_t>();
}

std::wstring LineLabel(const ProgramHarness &program, int x1, int y1, int x2, int y2)
{
    size_t before = gView.items.size();
    program.Click(CMD_TOOL_LINE);
    program.Drag(x1, y1, x2, y2);
    program.Click(CMD_TOOL_POINTER);
    if (gView.items.size() != before + 1)
        return L"(no line)";
    wchar_t labels[3][LABEL_CAPACITY];
    return MeasureItem_Labels(gView.items.back(), labels) > 0 ? labels[0] : L"";
}

std::wstring PromptText()
{
    return Dialog_Text(gApp.mainWindow, PROMPT_ID);
}

void PressKey(const ProgramHarness &program, WPARAM key)
{
    PostMessageW(gApp.cameraView, WM_KEYDOWN, key, 1);
    PostMessageW(gApp.cameraView, WM_KEYUP, key, 0xC0000001);
    program.Run(200);
}

// Held: the view keeps the frame of the moment pixel for pixel while the
// microscope delivers numbered frames, a line measures as before, and a
// recording made meanwhile writes the live frames (check_recordings.py
// reads their numbers back). Pressing again is live; a new format ends a hold.
TEST(PictureSource, AHeldFrameStaysWhileTheCameraRunsAndARecordingWritesLiveFrames)
{
    ProgramHarness program;
    ASSERT_TRUE(program.StartCamera());
    Rig_NumberFrames(0, true);
    View_SetCalibration(20.0f, 0);
    std::wstring before = LineLabel(program, 100, 300, 500, 300);
    gView.items.clear();

    PressKey(program, 'F');
    ASSERT_EQ(gView.source, VIEW_HELD);
    EXPECT_TRUE(program.Checked(CMD_FREEZE));
    EXPECT_EQ(program.StatusText(1), L"Picture held: press F for the live picture");
    std::vector<uint32_t> held = ShownPixels();
    ASSERT_FALSE(held.empty());
    LONG frames = Rig_Counters(0).frames;
    {
        RecordingFolder folder(L"WhileHeld");
        ASSERT_TRUE(Text_Copy(gRecorder.path, PATH_CAPACITY, (folder.path + L"\\held.mp4").c_str()));
        gRecorder.useH264 = true;
        ASSERT_EQ(Camera_SartRecord(), 1);
        program.Run(2000);
        Camera_StopRecord();
        folder.Expect(L"held.mp4", 1.5, 3.0, gView.imageWidth, gView.imageHeight);
    }
    EXPECT_GT(Rig_Counters(0).frames, frames + 20) << "the camera ran on";
    EXPECT_EQ(ShownPixels(), held) << "the held frame changed";
    EXPECT_EQ(LineLabel(program, 100, 300, 500, 300), before);
    program.Screenshot(L"held-frame");

    program.Click(CMD_FREEZE);
    EXPECT_EQ(gView.source, VIEW_LIVE);
    EXPECT_EQ(program.StatusText(1), L"");
    program.Run(300);
    EXPECT_NE(ShownPixels(), held) << "live again: the frame numbers move on";

    PressKey(program, 'F');
    ASSERT_EQ(gView.source, VIEW_HELD);
    int width = gView.imageWidth, other = 0; // another size of the format map
    for (const auto &entry : Camera_CurrentFormatMap()) {
        if (entry.second.width != width)
            break;
        other++;
    }
    SendMessageW(program.main, WM_COMMAND, CMD_RESOLUTION_FIRST + other, 0);
    ASSERT_TRUE(program.WaitForCamera());
    ASSERT_TRUE(program.RunUntil([&] { return gView.imageWidth != width; }));
    EXPECT_EQ(gView.source, VIEW_LIVE);
    EXPECT_FALSE(program.Checked(CMD_FREEZE));
}

std::wstring gAnswer; // the file the Open dialog chooses
BOOL WINAPI AnswerOpenDialog(OPENFILENAMEW *dialog)
{
    return Text_Copy(dialog->lpstrFile, dialog->nMaxFile, gAnswer.c_str());
}

struct OpenedPicture : testing::Test {
    ProgramHarness program;
    void SetUp() override
    {
        Picture_GetOpenFileName = AnswerOpenDialog;
        ASSERT_TRUE(program.StartCamera());
    }
    void TearDown() override
    {
        Picture_GetOpenFileName = GetOpenFileNameW;
        Rig_Unplug(1); // when a test that plugs it ends early; nothing otherwise
    }
    void Open(const std::wstring &path)
    {
        gAnswer = path;
        program.Click(CMD_OPEN_PICTURE);
        program.Run(300);
    }
};

// A calibrated TIFF snapshot opened again measures in its own scale while
// the camera is stopped; a stored slot may still be applied, and the same
// button goes back to the live picture.
std::wstring OpenDevicePath()
{
    for (const DeviceEntry &device : gDevices)
        if (device.moniker && gCamera.moniker && device.moniker->IsEqual(gCamera.moniker) == S_OK)
            return device.devicePath;
    return L"";
}

TEST_F(OpenedPicture, ATiffSnapshotAt40PixelsPerMmMeasuresA400PixelLineAs10Mm)
{
    View_SetCalibration(40.0f, 0);
    std::wstring path = program.images.path + L"\\Lineal \u00b5m \u6d4b.tif";
    ASSERT_TRUE(Snapshot_Save(path.c_str(), false));
    View_SetCalibration(-1.0f, 0);
    gView.items.clear();
    // A second camera arrives: Back to live opens the one the picture replaced.
    ASSERT_HRESULT_SUCCEEDED(Rig_Plug(1));
    ASSERT_TRUE(program.RunUntil([] { return gDevices.size() == 2; }));
    std::wstring live = OpenDevicePath();
    ASSERT_NE(gDevices.back().devicePath, live) << "the second camera is listed last";

    Open(path);
    ASSERT_EQ(gView.source, VIEW_PICTURE);
    EXPECT_FALSE(Camera_IsOpen());
    EXPECT_EQ(gApp.activeCalibration, CALIBRATION_PICTURE);
    EXPECT_FLOAT_EQ(gView.scale, 40.0f);
    EXPECT_EQ(program.StatusText(1), L"Picture: Lineal \u00b5m \u6d4b.tif \u2013 Picture's scale");
    program.Run(1700); // a tick of the status timer: no frame rate without a camera
    EXPECT_EQ(program.StatusText(2), std::to_wstring(gView.imageWidth) + L"x" + std::to_wstring(gView.imageHeight));
    EXPECT_EQ(LineLabel(program, 100, 300, 500, 300), L"10.00000mm");
    program.Screenshot(L"opened-picture");
    EXPECT_FALSE(Camera_IsOpen()) << "the view opened the camera by itself";

    gCalibrations[2] = {L"Lens A", 0, 300, 10.0f, Calibration_PackSize(gView.imageWidth, gView.imageHeight), 20240115,
                        30.0f};
    Calibration_Apply(2);
    program.Run(100);
    EXPECT_FLOAT_EQ(gView.scale, 30.0f);

    program.Click(CMD_OPEN_PICTURE); // now "Back to live"
    ASSERT_TRUE(program.WaitForCamera());
    EXPECT_EQ(gView.source, VIEW_LIVE);
    EXPECT_EQ(OpenDevicePath(), live) << "not the camera the picture replaced";
}

// What ImageJ wrote (Pictures.WriteWithImageJ: 640 x 480 at 1 µm a pixel,
// big-endian, unit "micron") measures in µm, and gray applies to it.
TEST_F(OpenedPicture, AnImageJTiffAtOneMicrometreAPixelMeasuresInMicrometres)
{
    wchar_t folder[MAX_PATH];
    GetModuleFileNameW(nullptr, folder, MAX_PATH);
    *wcsrchr(folder, L'\\') = 0;
    Open(std::wstring(folder) + L"\\imagej-files\\micron.tif");
    ASSERT_EQ(gView.source, VIEW_PICTURE) << PromptText();
    EXPECT_EQ(gView.unitIndex, 1);
    EXPECT_FLOAT_EQ(gView.scale, 1.0f);
    EXPECT_EQ(LineLabel(program, 100, 300, 500, 300), L"400.00000\u03bcm");
    std::vector<uint32_t> colour = ShownPixels();
    program.Click(CMD_EFFECT_GRAY);
    std::vector<uint32_t> gray = ShownPixels();
    ASSERT_EQ(gray.size(), colour.size());
    EXPECT_NE(gray, colour);
}

// Each bad file is named with its reason, and the live picture stays.
TEST_F(OpenedPicture, EachBadFileGetsItsMessageAndTheViewStaysAsItWas)
{
    const std::wstring folder = program.images.path + L"\\Schlecht \u00e4\u6d4b";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    std::wstring text = folder + L"\\notes.png", empty = folder + L"\\empty.jpg",
                 cut = folder + L"\\cut.tif", huge = folder + L"\\huge.png", gone = folder + L"\\gone.bmp";
    File_WriteBytes(text, "not a picture", 13);
    File_WriteBytes(empty, "", 0);
    View_SetCalibration(40.0f, 0);
    ASSERT_TRUE(Snapshot_Save(cut.c_str(), false));
    HANDLE file = CreateFileW(cut.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    SetFilePointer(file, 2000, nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    CloseHandle(file);
    // A PNG header of 20000 x 20000 pixels: refused by its size before any
    // pixel is read (the rest of the file does not matter then).
    const unsigned char header[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R',
                                    0, 0, 0x4E, 0x20, 0, 0, 0x4E, 0x20, 8, 2, 0, 0, 0, 0, 0, 0, 0};
    File_WriteBytes(huge, header, sizeof header);

    const struct {
        std::wstring path, message;
    } cases[] = {
        {text, L"Could not open " + text + L": it is not a JPG, PNG, BMP or TIFF picture."},
        {empty, L"Could not open " + empty + L": the file is empty."},
        {cut, L"Could not open " + cut + L": the file is damaged or incomplete."},
        {huge, L"Could not open " + huge +
                   L": the picture is too large (20000\u00d720000; at most 100 megapixels and 16384 pixels a side)."},
        {gone, L"Could not open " + gone + L": the file cannot be read."}, // chosen, then gone
    };
    int width = gView.imageWidth;
    for (const auto &c : cases) {
        Open(c.path);
        EXPECT_EQ(PromptText(), c.message);
        EXPECT_EQ(gView.source, VIEW_LIVE);
        EXPECT_TRUE(Camera_IsOpen());
        EXPECT_EQ(gView.imageWidth, width);
    }
}

} // namespace
