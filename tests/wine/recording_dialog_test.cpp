// Recording the virtual microscope through the real Recording dialog, as a
// person does: the videos are played back on the Linux side afterwards
// (check_recordings.py).
#include "app/app_state.h"
#include "app/prompt.h"
#include "app/settings.h"
#include "debug_capture.h"
#include "base/commands.h"
#include "dialogs/recording_ids.h"
#include "modal_dialog.h"
#include "program_harness.h"
#include "recordings.h"
#include "record/recorder_state.h"
#include "rig_api.h"

#include <gtest/gtest.h>
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
// for three seconds: three playable files, the split's second starting at 0.
TEST_F(RecordingDialog, RecordsMp4WithASplitAndWmvThenStops)
{
    RecordingFolder folder(L"mp4-split-wmv");
    UseFolder(folder);
    gSettings.videoFormat = 1;
    std::wstring stopText, elapsed;
    double total = 0, fileTime = 0;
    RecordingDialog_Run(program, [&](HWND dialog) {
        Dialog_Press(dialog, IDOK);
        Sleep(2200); // a new second for the second file's name
        PostMessageW(dialog, WM_COMMAND, IDC_RECORD_SPLIT_NOW, 0);
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
    EXPECT_NEAR(Seconds(elapsed), total, 0.3) << elapsed;
    EXPECT_GT(Seconds(elapsed), fileTime + 1.0) << "the time runs on over the split: " << elapsed;
    std::vector<std::wstring> mp4 = folder.Videos();
    ASSERT_EQ(mp4.size(), 2u);
    folder.ExpectRecorded(mp4[0], gRecorder.totalDuration - gRecorder.sampleTime);
    folder.ExpectRecorded(mp4[1], gRecorder.sampleTime);

    gSettings.videoFormat = 0;
    RecordingDialog_Run(program, [&](HWND dialog) {
        Dialog_Press(dialog, IDOK);
        Sleep(3000);
        Dialog_Press(dialog, IDOK);
        EXPECT_TRUE(Dialog_WaitClosed(dialog));
    });
    std::vector<std::wstring> all = folder.Videos();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_TRUE(all[2].ends_with(L".wmv")) << all[2];
    folder.ExpectRecorded(all[2], gRecorder.totalDuration);
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
        Sleep(500);
        failedText = Dialog_Text(dialog, IDOK);
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
    // The limit counts recorded time: frames times the duration the rate at
    // the start gave them, which a busy machine delivers more slowly.
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
    folder.ExpectRecorded(videos[0], gRecorder.totalDuration);
}

// The microscope unplugged during a recording: the file is finished and the
// dialog closes.
TEST_F(RecordingDialog, UnpluggingTheMicroscopeFinishesTheFileAndClosesTheDialog)
{
    RecordingFolder folder(L"unplug");
    UseFolder(folder);
    gSettings.videoFormat = 1;
    RecordingDialog_Run(program, [&](HWND dialog) {
        Dialog_Press(dialog, IDOK);
        Sleep(2000);
        Rig_Unplug(0);
        EXPECT_TRUE(Dialog_WaitClosed(dialog, 8000));
    });
    Rig_Plug(0);
    EXPECT_TRUE(program.WaitForCamera(8000)) << "the picture did not return";
    EXPECT_EQ(gRecorder.recording, 0);
    std::vector<std::wstring> videos = folder.Videos();
    ASSERT_EQ(videos.size(), 1u);
    folder.ExpectRecorded(videos[0], gRecorder.totalDuration);
}

} // namespace
