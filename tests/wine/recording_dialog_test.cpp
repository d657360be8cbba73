// Recording the virtual microscope through the real Recording dialog, as a
// person does: the videos are played back on the Linux side afterwards
// (check_recordings.py), and held against the times the microscope captured
// their frames.
#include "state/app_state.h"
#include "state/prompt.h"
#include "state/settings.h"
#include "debug_capture.h"
#include "base/commands.h"
#include "capture/camera_state.h"
#include "capture/formats.h"
#include "dialogs/recording_ids.h"
#include "modal_dialog.h"
#include "program_harness.h"
#include "recordings.h"
#include "record/recorder_state.h"
#include "rig_api.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <cstdio>
#include <cwchar>

namespace {

struct RecordingDialog : testing::Test {
    ProgramHarness program;
    void SetUp() override { ASSERT_TRUE(program.StartCamera()); }

    void UseFolder(const RecordingFolder &folder) const
    {
        lstrcpynW(gSettings.imageFolder, folder.path.c_str(), IMAGE_FOLDER_CAPACITY);
    }
};

// Polls (on the actions' thread, while the dialog's loop runs) until the
// condition holds; false when it did not within the timeout.
template <typename Condition> bool WaitUntil(Condition condition, DWORD timeout = 5000)
{
    for (DWORD waited = 0; waited < timeout && !condition(); waited += 20)
        Sleep(20);
    return condition();
}

bool Recording()
{
    return gRecorder.recording != 0;
}

double Seconds(const std::wstring &elapsed)
{
    double minutes = 0, seconds = 0;
    if (elapsed.find(L':') != std::wstring::npos)
        swscanf(elapsed.c_str(), L"%lf:%lf", &minutes, &seconds);
    else
        swscanf(elapsed.c_str(), L"%lf", &seconds);
    return minutes * 60 + seconds;
}

// MP4 with a split after two seconds (the command the timer posts), then WMV
// for three seconds: three playable files, the split's second starting at 0,
// the time shown running on over the split.
TEST_F(RecordingDialog, RecordsMp4WithASplitAndWmvThenStops)
{
    RecordingFolder folder(L"mp4-split-wmv");
    UseFolder(folder);
    gSettings.videoFormat = 1;
    std::wstring stopText, elapsed;
    double total = 0, fileTime = 0;
    RecordingDialog_Run(program, [&](HWND dialog) {
        Dialog_Press(dialog, IDOK);
        EXPECT_TRUE(WaitUntil(Recording));
        Sleep(2200); // a new second for the second file's name
        PostMessageW(dialog, WM_COMMAND, IDC_RECORD_SPLIT_NOW, 0);
        EXPECT_TRUE(WaitUntil([&] { return folder.Videos().size() == 2 && Recording(); }));
        Sleep(2000);
        stopText = Dialog_Text(dialog, IDOK);
        elapsed = Dialog_Text(dialog, IDC_RECORD_ELAPSED);
        total = gRecorder.totalDuration / 1e7;
        fileTime = gRecorder.sampleTime / 1e7;
        Window_Screenshot(dialog, L"recording-dialog");
        Dialog_Press(dialog, IDOK);
        EXPECT_TRUE(Dialog_WaitClosed(dialog));
    });
    EXPECT_EQ(stopText, L"&Stop");
    // The text is the recorder's total at the dialog's last tick: never
    // ahead of it, and behind by no more than a late timer on a busy machine.
    EXPECT_LE(Seconds(elapsed), total + 0.1) << elapsed;
    EXPECT_GE(Seconds(elapsed), total - 1.0) << elapsed;
    EXPECT_GT(Seconds(elapsed), fileTime + 1.0) << "the time runs on over the split: " << elapsed;
    std::vector<std::wstring> mp4 = folder.Videos();
    ASSERT_EQ(mp4.size(), 2u);
    folder.Expect(mp4[0], 1.2, 2.6);
    folder.Expect(mp4[1], 1.2, 2.6);
    folder.ExpectTotal(mp4[0], mp4[1], gRecorder.totalDuration);

    gSettings.videoFormat = 0;
    RecordingDialog_Run(program, [&](HWND dialog) {
        Dialog_Press(dialog, IDOK);
        EXPECT_TRUE(WaitUntil(Recording));
        Sleep(3000);
        Dialog_Press(dialog, IDOK);
        EXPECT_TRUE(Dialog_WaitClosed(dialog));
    });
    std::vector<std::wstring> all = folder.Videos();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_TRUE(all[2].ends_with(L".wmv")) << all[2];
    folder.Expect(all[2], 2.5, 3.5);
    folder.ExpectTotal(all[2], all[2], gRecorder.totalDuration);
}

// A start into a folder that cannot be (a file has its name) keeps the start
// button and says why; then a 10-second limit ends the recording and closes
// the dialog by itself, and is kept for the next time.
TEST_F(RecordingDialog, AFailedStartSaysWhyAndATenSecondLimitClosesTheDialog)
{
    RecordingFolder folder(L"limit");
    std::wstring missing = folder.path + L"\\not-a-folder";
    File_WriteBytes(missing, "", 0);
    lstrcpynW(gSettings.imageFolder, missing.c_str(), IMAGE_FOLDER_CAPACITY);
    std::wstring failedText, prompt;
    DWORD started = 0, closed = 0;
    DebugCapture debug;
    LONG framesBefore = Rig_Counters(0).frames;
    RecordingDialog_Run(program, [&](HWND dialog) {
        Dialog_Press(dialog, IDOK);
        EXPECT_TRUE(WaitUntil([] { return !Dialog_Text(gApp.mainWindow, PROMPT_ID).empty(); }));
        failedText = Dialog_Text(dialog, IDOK); // after the press was handled
        prompt = Dialog_Text(gApp.mainWindow, PROMPT_ID);
        UseFolder(folder);
        Dialog_Choose(dialog, IDC_RECORD_LIMIT, 1);
        Dialog_Press(dialog, IDOK);
        started = GetTickCount();
        if (Dialog_WaitClosed(dialog, 30000))
            closed = GetTickCount();
    });
    EXPECT_EQ(failedText, L"&Start");
    EXPECT_TRUE(prompt.starts_with(L"Could not start recording: " + missing + L"\\")) << prompt;
    ASSERT_NE(closed, 0u) << "the dialog stayed open";
    // The limit counts the real time since the first frame, which the
    // writer's start (under Wine the fallback writer) comes before.
    printf("%ls\n10.0 s recorded in %lu ms; the microscope sent %ld frames meanwhile\n", prompt.c_str(),
           closed - started, Rig_Counters(0).frames - framesBefore);
    std::wstring counts;
    for (const std::wstring &line : debug.Lines())
        if (line.starts_with(L"Camera_RecordThread"))
            counts = line;
    printf("%ls", counts.c_str());
    EXPECT_NE(counts.find(L" 0 too short"), std::wstring::npos) << counts;
    EXPECT_GE(gRecorder.totalDuration, 100000000);
    EXPECT_LT(gRecorder.totalDuration, 105000000);
    DWORD limit = 0;
    EXPECT_TRUE(Registry_GetNumber(L"MaxRecordTime", &limit) && limit == 10) << limit;
    std::vector<std::wstring> videos = folder.Videos();
    ASSERT_EQ(videos.size(), 1u);
    folder.Expect(videos[0], 9.9, 10.6);
    folder.ExpectTotal(videos[0], videos[0], gRecorder.totalDuration);
}

// The microscope unplugged during a recording: the file is finished, the
// dialog closes and the prompt says where the file is.
TEST_F(RecordingDialog, UnpluggingTheMicroscopeFinishesTheFileAndClosesTheDialog)
{
    RecordingFolder folder(L"unplug");
    UseFolder(folder);
    gSettings.videoFormat = 1;
    RecordingDialog_Run(program, [&](HWND dialog) {
        Dialog_Press(dialog, IDOK);
        EXPECT_TRUE(WaitUntil(Recording));
        Sleep(2000);
        Rig_Unplug(0);
        EXPECT_TRUE(Dialog_WaitClosed(dialog, 8000));
    });
    std::wstring prompt = Dialog_Text(gApp.mainWindow, PROMPT_ID);
    Rig_Plug(0);
    EXPECT_TRUE(program.WaitForCamera(8000)) << "the picture did not return";
    EXPECT_EQ(gRecorder.recording, 0);
    std::vector<std::wstring> videos = folder.Videos();
    ASSERT_EQ(videos.size(), 1u);
    EXPECT_EQ(prompt, L"The camera was disconnected: recording stopped, video saved as " + folder.path + L"\\" +
                          videos[0]);
    folder.Expect(videos[0], 1.5, 2.6);
    folder.ExpectTotal(videos[0], videos[0], gRecorder.totalDuration);
}

// A click on a box of the Flip and effects section, as a person's click toggles it.
void ClickFlipBox(int box)
{
    HWND section = GetDlgItem(gApp.controlPanel, 103), button = GetDlgItem(section, box);
    bool checked = SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
    SendMessageW(button, BM_SETCHECK, checked ? BST_UNCHECKED : BST_CHECKED, 0);
    SendMessageW(section, WM_COMMAND, MAKEWPARAM(box, BN_CLICKED), (LPARAM)button);
}

// Asks the microscope for a stall of half a second and measures it: the
// longest time without a new frame in the next 1.5 s (milliseconds).
DWORD StallAndMeasure()
{
    Rig_Stall(0, 500);
    LONG frames = Rig_Counters(0).frames;
    DWORD start = GetTickCount(), last = start, longest = 0;
    while (GetTickCount() - start < 1500) {
        Sleep(5);
        LONG now = Rig_Counters(0).frames;
        if (now == frames)
            continue;
        longest = std::max(longest, GetTickCount() - last);
        last = GetTickCount();
        frames = now;
    }
    return longest;
}

// A picture mirrored and turned upside down, recorded while the microscope
// drops from 30 to 10 fps (as in dim light) and its streaming thread stalls
// for half a second, then hands over the frames it captured meanwhile in a
// burst. check_recordings.py holds every frame's time in the video against
// the time the microscope captured it, and finds the picture turned as the
// screen shows it.
TEST_F(RecordingDialog, KeepsRealTimeThroughARateDropAndAStallAndTurnsThePictureAsTheScreenDoes)
{
    // A size the microscope can send at 30 fps on a busy machine too.
    gRequestedFormat = {kSubtypeMjpg, 640, 480};
    SendMessageW(gApp.cameraView, WM_COMMAND, CMD_VIEW_RESTART, 0);
    ASSERT_TRUE(program.WaitForCamera());
    ASSERT_EQ(gCamera.currentFormat.width, 640);
    RecordingFolder folder(L"real-time");
    UseFolder(folder);
    gSettings.videoFormat = 1;
    ClickFlipBox(101);
    ClickFlipBox(102);
    ASSERT_TRUE(gCamera.mirror && gCamera.flipVertical);
    DWORD pause = 0;
    RecordingDialog_Run(program, [&](HWND dialog) {
        Dialog_Press(dialog, IDOK);
        EXPECT_TRUE(WaitUntil(Recording));
        Sleep(1500);
        Rig_SetFrameInterval(0, 1000000);
        Sleep(1500);
        pause = StallAndMeasure();
        Dialog_Press(dialog, IDOK);
        EXPECT_TRUE(Dialog_WaitClosed(dialog));
    });
    Rig_SetFrameInterval(0, 0);
    EXPECT_GE(pause, 400u) << "the microscope did not stall";
    std::vector<std::wstring> videos = folder.Videos();
    ASSERT_EQ(videos.size(), 1u);
    folder.Expect(videos[0], 4.0, 5.8, 640, 480, true);
    folder.ExpectTotal(videos[0], videos[0], gRecorder.totalDuration);
}

} // namespace
