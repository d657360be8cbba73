// Faults a person meets with the virtual microscope: a disk that fills up and
// an image folder that goes away during a recording, two recordings started
// in one second, a microscope unplugged while a report's save dialog is
// open, an image folder gone when a report wants its snapshot. The videos
// are played back on the Linux side afterwards (check_recordings.py).
#include "state/app_state.h"
#include "state/prompt.h"
#include "state/settings.h"
#include "base/clock.h"
#include "base/commands.h"
#include "base/text.h"
#include "capture/camera_graph.h"
#include "dialogs/recording_ids.h"
#include "modal_dialog.h"
#include "program_harness.h"
#include "record/recorder_state.h"
#include "recordings.h"
#include "reports/report_file_win.h"
#include "rig_api.h"
#include "view/view_state.h"

#include <gtest/gtest.h>
#include <cstdio>
#include <fstream>
#include <vector>

namespace {

struct Faults : testing::Test {
    ProgramHarness program;
    void (*savedClock)(LocalTime *) = Clock_LocalTime;
    void SetUp() override { ASSERT_TRUE(program.StartCamera()); }
    void TearDown() override
    {
        Report_GetSaveFileName = GetSaveFileNameW;
        Clock_LocalTime = savedClock;
    }
};

std::wstring PromptText()
{
    return Dialog_Text(gApp.mainWindow, PROMPT_ID);
}

// Waits on the test's thread (the dialog's loop runs on the other) until
// the condition holds; false when it did not in time.
template <typename Condition> bool WaitUntil(Condition condition, DWORD timeout)
{
    for (DWORD waited = 0; waited < timeout && !condition(); waited += 20)
        Sleep(20);
    return condition();
}

bool StartOffered(HWND dialog)
{
    return Dialog_Text(dialog, IDOK) == L"&Start";
}

// A recording that has written at least that much (100-ns units).
bool Recorded(int64_t duration)
{
    return gRecorder.recording && gRecorder.totalDuration >= duration;
}

// Copies a video into the test's recordings folder, where check_recordings.py
// plays it and holds it and the time the dialog showed against real time.
void HandOver(const std::wstring &folder, const std::wstring &name, const RecordingFolder &recordings,
              int64_t recorded)
{
    ASSERT_TRUE(CopyFileW((folder + L"\\" + name).c_str(), (recordings.path + L"\\" + name).c_str(), FALSE));
    recordings.Expect(name, 1.0, 30.0);
    recordings.ExpectTotal(name, name, recorded);
}

// Drive Q: as the CTest fixture Faults.MountSmallDisk leaves it (a 16 MB
// tmpfs, tests/wine/small-disk), or why it is not there.
bool SmallDiskReady(std::string *reason)
{
    ULARGE_INTEGER total = {};
    if (GetDiskFreeSpaceExW(L"Q:\\", nullptr, &total, nullptr) && total.QuadPart <= 64u << 20)
        return true;
    std::ifstream refused("small-disk.refused");
    if (std::getline(refused, *reason))
        return false;
    *reason = "drive Q: is not the small disk; the CTest fixture Faults.MountSmallDisk mounts it";
    return false;
}

// Another program fills the disk while an MP4 (whose index is written at its
// end) records: the recording ends with a message while the file can still
// be finished, and a new start on the full disk begins no file.
TEST_F(Faults, ADiskFillingUpEndsTheRecordingWithAMessageAndAPlayableFile)
{
    std::string why;
    if (!SmallDiskReady(&why))
        GTEST_SKIP() << "no small disk: " << why;
    const std::wstring folder = L"Q:\\videos", filler = L"Q:\\filler";
    DeleteFileW(filler.c_str());
    CreateDirectoryW(folder.c_str(), nullptr);
    Text_Copy(gSettings.imageFolder, IMAGE_FOLDER_CAPACITY, folder.c_str());
    gSettings.videoFormat = 1;
    RecordingFolder recordings(L"disk-full");
    std::wstring stopped, prompt, restarted, restartPrompt;
    int64_t recorded = 0;
    RecordingDialog_Run(program, [&](HWND dialog) {
        Dialog_Press(dialog, IDOK);
        EXPECT_TRUE(WaitUntil([] { return Recorded(15000000); }, 10000)) << "no recording";
        HANDLE file = CreateFileW(filler.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        std::vector<char> chunk(256 << 10, 'f');
        for (int i = 0; i < 200 && !StartOffered(dialog); i++) {
            DWORD written = 0;
            WriteFile(file, chunk.data(), (DWORD)chunk.size(), &written, nullptr); // the last find it full
            Sleep(40);
        }
        CloseHandle(file);
        WaitUntil([&] { return StartOffered(dialog); }, 2000);
        stopped = Dialog_Text(dialog, IDOK);
        prompt = PromptText();
        recorded = gRecorder.totalDuration;
        // The prompt tells that the press was handled; the button then shows
        // what the new start left it.
        Dialog_Press(dialog, IDOK);
        WaitUntil([] { return PromptText().starts_with(L"Could not start recording: "); }, 5000);
        restarted = Dialog_Text(dialog, IDOK);
        restartPrompt = PromptText();
        Dialog_Press(dialog, IDCANCEL);
        EXPECT_TRUE(Dialog_WaitClosed(dialog));
    });
    EXPECT_EQ(stopped, L"&Start") << "the recording went on on a full disk";
    std::vector<std::wstring> videos = Videos_In(folder);
    ASSERT_EQ(videos.size(), 1u) << "the new start began a file";
    EXPECT_TRUE(prompt.starts_with(L"Could not save: " + folder + L"\\" + videos[0] + L" (")) << prompt;
    EXPECT_EQ(restarted, L"&Start") << "a recording started on the full disk";
    EXPECT_TRUE(restartPrompt.starts_with(L"Could not start recording: " + folder + L"\\")) << restartPrompt;
    EXPECT_GT(recorded, 10000000) << "more than the second before the disk filled";
    printf("%ls\n%ls\n%.2f s recorded\n", prompt.c_str(), restartPrompt.c_str(), recorded / 1e7);
    HandOver(folder, videos[0], recordings, recorded);
}

// The image folder renamed while a WMV records (as a folder deleted or a
// drive taken out): the recording ends with a message, and the file, now in
// the renamed folder, is finished.
TEST_F(Faults, AFolderRenamedDuringARecordingEndsItWithAMessageAndAPlayableFile)
{
    RecordingFolder recordings(L"folder-renamed");
    const std::wstring folder = recordings.path + L"\\images", renamed = recordings.path + L"\\renamed";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    Text_Copy(gSettings.imageFolder, IMAGE_FOLDER_CAPACITY, folder.c_str());
    gSettings.videoFormat = 0;
    std::wstring stopped, prompt;
    bool moved = false;
    int64_t recorded = 0;
    RecordingDialog_Run(program, [&](HWND dialog) {
        Dialog_Press(dialog, IDOK);
        EXPECT_TRUE(WaitUntil([] { return Recorded(20000000); }, 10000)) << "no recording";
        moved = MoveFileW(folder.c_str(), renamed.c_str());
        WaitUntil([&] { return StartOffered(dialog); }, 3000);
        stopped = Dialog_Text(dialog, IDOK);
        prompt = PromptText();
        recorded = gRecorder.totalDuration;
        Dialog_Press(dialog, IDCANCEL);
        EXPECT_TRUE(Dialog_WaitClosed(dialog));
    });
    ASSERT_TRUE(moved) << "the folder could not be renamed: " << GetLastError();
    EXPECT_EQ(stopped, L"&Start");
    std::vector<std::wstring> videos = Videos_In(renamed);
    ASSERT_EQ(videos.size(), 1u);
    EXPECT_TRUE(prompt.starts_with(L"Could not save: " + folder + L"\\" + videos[0] + L" (")) << prompt;
    printf("%ls\n%.2f s recorded\n", prompt.c_str(), recorded / 1e7);
    HandOver(renamed, videos[0], recordings, recorded);
}

void SameSecond(LocalTime *now)
{
    *now = {2024, 1, 15, 9, 30, 5, 42};
}

// Two recordings started within one second (the clock held at one moment):
// the second file takes a suffix and the first stays.
TEST_F(Faults, TwoRecordingsStartedInOneSecondMakeTwoFiles)
{
    Clock_LocalTime = SameSecond;
    gSettings.videoFormat = 1;
    for (int i = 0; i < 2; i++)
        RecordingDialog_Run(program, [](HWND dialog) {
            Dialog_Press(dialog, IDOK);
            EXPECT_TRUE(WaitUntil([] { return Recorded(1); }, 5000)) << "no recording";
            Dialog_Press(dialog, IDOK);
            EXPECT_TRUE(Dialog_WaitClosed(dialog));
        });
    EXPECT_EQ(Videos_In(program.images.path),
              (std::vector<std::wstring>{L"20240115-093005-2.mp4", L"20240115-093005.mp4"}));
}

// The save dialog's part: the microscope unplugged while it is open (its
// modal loop handles the loss), then the answer.
std::wstring gAnswer;
bool gUnplugInDialog;
BOOL WINAPI AnswerSaveDialog(OPENFILENAMEW *dialog)
{
    if (gUnplugInDialog) {
        Rig_Unplug(0);
        for (int i = 0; i < 200 && Camera_IsOpen(); i++)
            PumpMessages(20);
    }
    lstrcpynW(dialog->lpstrFile, gAnswer.c_str(), (int)dialog->nMaxFile);
    return TRUE;
}

// Both reports with the microscope unplugged during their save dialog: a
// message and no file, then the picture returns with the microscope. Then
// the rich-text report with the image folder gone: a message for the
// snapshot, and a whole report without the picture.
TEST_F(Faults, ReportsWhenTheMicroscopeGoesDuringTheSaveDialogOrTheImageFolderIsGone)
{
    ScratchFolder reports(L"fault-reports");
    Report_GetSaveFileName = AnswerSaveDialog;
    gUnplugInDialog = true;
    program.Click(CMD_TOOL_LINE);
    for (int command : {CMD_REPORT_XLSX, CMD_REPORT_RTF}) {
        program.Drag(100, 100, 140, 130);
        ASSERT_EQ(gView.items.size(), 1u);
        gAnswer = reports.path + (command == CMD_REPORT_XLSX ? L"\\report.xlsx" : L"\\report.rtf");
        SendMessageW(program.main, WM_COMMAND, command, 0);
        EXPECT_FALSE(Camera_IsOpen());
        EXPECT_EQ(PromptText(), L"Could not save: " + gAnswer);
        EXPECT_FALSE(Path_IsFile(gAnswer));
        ASSERT_HRESULT_SUCCEEDED(Rig_Plug(0));
        ASSERT_TRUE(program.WaitForCamera(8000)) << "the picture did not return";
    }
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((reports.path + L"\\*.*").c_str(), &found);
    int entries = 0;
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found))
        entries++;
    FindClose(search);
    EXPECT_EQ(entries, 2) << "only . and ..: no report, no scratch file";

    gUnplugInDialog = false;
    program.Drag(100, 100, 140, 130);
    Folder_RemoveTree(program.images.path);
    gAnswer = reports.path + L"\\report.rtf";
    SendMessageW(program.main, WM_COMMAND, CMD_REPORT_RTF, 0);
    std::wstring prompt = PromptText();
    EXPECT_TRUE(prompt.starts_with(L"Could not save: " + program.images.path + L"\\")) << prompt;
    std::ifstream file(gAnswer.c_str(), std::ios::binary);
    std::string rtf((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_EQ(rtf.rfind("{\\rtf1", 0), 0u);
    EXPECT_TRUE(rtf.ends_with("}\n"));
    EXPECT_EQ(rtf.find("\\pict"), std::string::npos);
    EXPECT_NE(rtf.find("Position:100,100"), std::string::npos) << "the items are in it";
}

} // namespace
