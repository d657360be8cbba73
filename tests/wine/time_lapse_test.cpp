// Time-lapse series of the virtual microscope through the real dialog, and
// snapshots taken during a recording. The series' videos are read back on
// the Linux side by check_time_lapse.py, the recording's by
// check_recordings.py.
#include "state/app_state.h"
#include "state/prompt.h"
#include "state/settings.h"
#include "base/text.h"
#include "dialogs/recording_ids.h"
#include "dialogs/time_lapse_ids.h"
#include "modal_dialog.h"
#include "program_harness.h"
#include "record/recorder_state.h"
#include "recordings.h"
#include "reports/time_lapse.h"
#include "rig_api.h"
#include "view/view_state.h"

#include <gtest/gtest.h>
#include <cstdio>
#include <vector>

namespace {

enum { SOURCE_SECTION = 100, SOURCE_TIME_LAPSE = 112 };

struct TimeLapse : testing::Test {
    ProgramHarness program;
    void SetUp() override { ASSERT_TRUE(program.StartCamera()); }
};

template <typename Condition> bool WaitUntil(Condition condition, DWORD timeout = 5000)
{
    for (DWORD waited = 0; waited < timeout && !condition(); waited += 20)
        Sleep(20);
    return condition();
}

std::wstring PromptText()
{
    return Dialog_Text(gApp.mainWindow, PROMPT_ID);
}

// What check_time_lapse.py holds the series' video to.
void ExpectVideo(const std::wstring &folder, const std::wstring &video, int frames, int rate)
{
    FILE *file = _wfopen((folder + L"\\expected.txt").c_str(), L"w");
    ASSERT_TRUE(file);
    fprintf(file, "%ls %d %d %d %d\n", video.c_str(), frames, rate, gView.imageWidth, gView.imageHeight);
    fclose(file);
}

// The Source section's Time-lapse button clicked; the dialog's loop runs
// here while the actions run on a second thread.
void TimeLapseDialog_Run(const std::function<void(HWND)> &actions)
{
    Modal_Run(
        [] {
            HWND section = GetDlgItem(gApp.controlPanel, SOURCE_SECTION);
            HWND button = GetDlgItem(section, SOURCE_TIME_LAPSE);
            SendMessageW(section, WM_COMMAND, MAKEWPARAM(SOURCE_TIME_LAPSE, BN_CLICKED), (LPARAM)button);
            PumpMessages(200); // the posted command opens the dialog, whose loop runs until it closes
        },
        [&] {
            HWND dialog = Dialog_WaitFor(L"Time-lapse");
            if (dialog)
                actions(dialog);
            else
                ADD_FAILURE() << "the dialog did not open";
        });
}

// The plan of a series a second apart; no folder: the one the dialog shows.
void Plan(HWND dialog, const std::wstring &folder, const wchar_t *count, bool video)
{
    SetDlgItemTextW(dialog, IDC_TL_NUMBER, L"1");
    Dialog_Choose(dialog, IDC_TL_UNIT, 0);
    SendDlgItemMessageW(dialog, IDC_TL_UNTIL_STOPPED, BM_SETCHECK, count ? BST_UNCHECKED : BST_CHECKED, 0);
    if (count)
        SetDlgItemTextW(dialog, IDC_TL_COUNT, count);
    if (!folder.empty())
        SetDlgItemTextW(dialog, IDC_TL_FOLDER, folder.c_str());
    Dialog_Choose(dialog, IDC_TL_FORMAT, 1); // PNG
    SendDlgItemMessageW(dialog, IDC_TL_VIDEO, BM_SETCHECK, video ? BST_CHECKED : BST_UNCHECKED, 0);
    SetDlgItemTextW(dialog, IDC_TL_RATE, L"10");
}

// Five pictures a second apart in the image folder (the dialog's choice at
// first) with a video at 10 pictures per second, the dialog closed while the
// series runs on: the status bar counts, and the series' folder holds
// 000001.png to 000005.png and a video of five frames.
TEST_F(TimeLapse, FivePicturesASecondApartLeaveFiveNumberedPicturesAndAVideoOfFiveFrames)
{
    const std::wstring parent = program.images.path;
    gSettings.videoFormat = 1;
    std::wstring offered, refused, taken;
    TimeLapseDialog_Run([&](HWND dialog) {
        offered = Dialog_Text(dialog, IDC_TL_FOLDER);
        Plan(dialog, L"", L"0", true);
        Dialog_Press(dialog, IDOK);
        EXPECT_TRUE(WaitUntil([&] { return !Dialog_Text(dialog, IDC_TL_TAKEN).empty(); }));
        refused = Dialog_Text(dialog, IDC_TL_TAKEN); // no series of 0 pictures
        SetDlgItemTextW(dialog, IDC_TL_COUNT, L"5");
        Dialog_Press(dialog, IDOK);
        EXPECT_TRUE(WaitUntil([&] {
            taken = Dialog_Text(dialog, IDC_TL_TAKEN);
            return taken.starts_with(L"Taken: 2 of 5");
        }));
        Window_Screenshot(dialog, L"time-lapse-dialog"); // the manual's picture
        Dialog_Press(dialog, IDCANCEL);
        EXPECT_TRUE(Dialog_WaitClosed(dialog));
    });
    EXPECT_EQ(offered, parent);
    EXPECT_TRUE(refused.starts_with(L"The interval must be")) << refused;
    EXPECT_EQ(taken, L"Taken: 2 of 5");
    ASSERT_TRUE(gTimeLapse.running) << "the series ended with the dialog";
    std::wstring status = program.StatusText(0);
    EXPECT_TRUE(status.starts_with(L"Time-lapse: ") && status.ends_with(L" of 5")) << status;
    ASSERT_TRUE(program.RunUntil([] { return !gTimeLapse.running; }, 15000));
    program.Run(100);
    EXPECT_EQ(program.StatusText(0), L"");
    const std::wstring folder = gTimeLapse.folder;
    const std::wstring name = folder.substr(folder.rfind(L'\\') + 1);
    EXPECT_EQ(folder, parent + L"\\" + name);
    EXPECT_EQ(Folder_Files(folder), (std::vector<std::wstring>{L"000001.png", L"000002.png", L"000003.png", L"000004.png",
                                                          L"000005.png", name + L".mp4"}));
    EXPECT_EQ(gTimeLapse.skipped, 0);
    UINT width = 0, height = 0;
    EXPECT_TRUE(Image_Size(folder + L"\\000005.png", &width, &height));
    EXPECT_EQ((int)width, gView.imageWidth);
    EXPECT_EQ((int)height, gView.imageHeight);
    EXPECT_EQ(PromptText(), L"Time-lapse finished: 5 pictures and the video " + folder + L"\\" + name + L".mp4");
    // For the Linux side, where the scratch folder is gone by then.
    const std::wstring kept = Folder_Fresh(L"time-lapse", L"five") + L"\\" + name;
    ASSERT_TRUE(CreateDirectoryW(kept.c_str(), nullptr));
    for (const std::wstring &file : Folder_Files(folder))
        EXPECT_TRUE(CopyFileW((folder + L"\\" + file).c_str(), (kept + L"\\" + file).c_str(), TRUE)) << file;
    ExpectVideo(kept, name + L".mp4", 5, 10);
    DWORD seconds = 0, count = 0;
    EXPECT_TRUE(Registry_GetNumber(L"TimeLapseSeconds", &seconds) && seconds == 1) << seconds;
    EXPECT_TRUE(Registry_GetNumber(L"TimeLapseCount", &count) && count == 5) << count;
}

// A series until stopped: the microscope unplugged for a while skips the
// pictures it misses and the series goes on when it is back; the series'
// folder renamed (as a folder deleted or a drive taken out) then stops it
// with a message, and what was written stays: the pictures and a video of
// them.
TEST_F(TimeLapse, AnUnpluggedCameraSkipsPicturesAndAVanishedFolderStopsTheSeriesKeepingWhatWasWritten)
{
    const std::wstring parent = Folder_Fresh(L"time-lapse", L"vanished");
    gSettings.videoFormat = 0;
    TimeLapseDialog_Run([&](HWND dialog) {
        Plan(dialog, parent, nullptr, true);
        Dialog_Press(dialog, IDOK);
        EXPECT_TRUE(WaitUntil([] { return gTimeLapse.taken >= 2; }));
        Dialog_Press(dialog, IDCANCEL);
        EXPECT_TRUE(Dialog_WaitClosed(dialog));
    });
    ASSERT_TRUE(gTimeLapse.running);
    Rig_Unplug(0);
    EXPECT_TRUE(program.RunUntil([] { return gTimeLapse.skipped >= 2; }, 10000));
    std::wstring skipping = program.StatusText(0);
    Rig_Plug(0);
    ASSERT_TRUE(program.WaitForCamera(8000)) << "the picture did not return";
    int32_t before = gTimeLapse.taken;
    EXPECT_TRUE(program.RunUntil([&] { return gTimeLapse.taken > before; }, 5000)) << "no picture after the return";
    EXPECT_TRUE(skipping.starts_with(L"Time-lapse: ") && skipping.find(L" skipped)") != std::wstring::npos)
        << skipping;

    const std::wstring folder = gTimeLapse.folder, renamed = parent + L"\\renamed";
    const std::wstring name = folder.substr(folder.rfind(L'\\') + 1);
    ASSERT_TRUE(MoveFileW(folder.c_str(), renamed.c_str())) << GetLastError();
    ASSERT_TRUE(program.RunUntil([] { return !gTimeLapse.running; }, 5000)) << "the series went on";
    int32_t taken = gTimeLapse.taken;
    std::wstring prompt = PromptText();
    EXPECT_TRUE(prompt.starts_with(L"Time-lapse stopped: could not save " + folder + L"\\")) << prompt;
    EXPECT_TRUE(prompt.ends_with(L"The pictures taken are kept in " + folder + L".")) << prompt;
    std::vector<std::wstring> files = Folder_Files(renamed);
    ASSERT_EQ(files.size(), (size_t)taken + 1);
    wchar_t last[16];
    swprintf(last, 16, L"%06d.png", taken);
    EXPECT_EQ(files[taken - 1], last);
    EXPECT_EQ(files[taken], name + L".wmv");
    printf("%d pictures, %d skipped, then: %ls\n", taken, gTimeLapse.skipped, prompt.c_str());
    ExpectVideo(renamed, name + L".wmv", taken, 10);
}

// Space during a recording, with the focus where the dialog puts it when
// the recording starts (its Snapshot button), saves a snapshot, and the
// video runs on without a gap around it.
TEST_F(TimeLapse, SpaceDuringARecordingSavesASnapshotWithoutAGapInTheVideo)
{
    RecordingFolder folder(L"snapshot-while-recording");
    Text_Copy(gSettings.imageFolder, IMAGE_FOLDER_CAPACITY, folder.path.c_str());
    gSettings.videoFormat = 1;
    gSettings.imageFormat = 0;
    std::wstring prompt;
    int64_t snapshotFrom = 0, snapshotTo = 0;
    bool recordingAtSnapshot = false;
    RecordingDialog_Run(program, [&](HWND dialog) {
        Dialog_Press(dialog, IDOK);
        EXPECT_TRUE(WaitUntil([] { return gRecorder.totalDuration > 25000000; }));
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
        EXPECT_EQ(GetDlgCtrlID(info.hwndFocus), IDC_RECORD_SNAPSHOT);
        snapshotFrom = gRecorder.totalDuration;
        PostMessageW(info.hwndFocus, WM_KEYDOWN, VK_SPACE, 0x00390001);
        PostMessageW(info.hwndFocus, WM_KEYUP, VK_SPACE, 0xC0390001);
        EXPECT_TRUE(WaitUntil([] { return PromptText().starts_with(L"File saved: "); }));
        snapshotTo = gRecorder.totalDuration;
        recordingAtSnapshot = gRecorder.recording != 0;
        prompt = PromptText();
        Sleep(3000); // as much video after it as before, to compare with
        Dialog_Press(dialog, IDOK);
        EXPECT_TRUE(Dialog_WaitClosed(dialog));
    });
    EXPECT_TRUE(recordingAtSnapshot);
    std::wstring snapshot = prompt.substr(prompt.find(L": ") + 2);
    EXPECT_TRUE(snapshot.starts_with(folder.path + L"\\") && snapshot.ends_with(L".jpg")) << prompt;
    EXPECT_EQ(File_Magic(snapshot), 0xD8FFu);
    std::vector<std::wstring> videos = folder.Videos();
    ASSERT_EQ(videos.size(), 1u);
    folder.Expect(videos[0], 5.0, 12.0);
    folder.ExpectTotal(videos[0], videos[0], gRecorder.totalDuration);
    FILE *file = _wfopen((folder.path + L"\\expected.txt").c_str(), L"a");
    ASSERT_TRUE(file);
    fprintf(file, "snapshot %ls %.3f %.3f\n", videos[0].c_str(), snapshotFrom / 1e7, snapshotTo / 1e7);
    fclose(file);
}

} // namespace
