// The main window as a person uses it: toolbar, status bar, menus, tooltips,
// snapshots, with the virtual microscope open.
#include "state/app_state.h"
#include "state/calibrations.h"
#include "base/clock.h"
#include "base/commands.h"
#include "state/language.h"
#include "app/mainwnd_win.h"
#include "app/menus_win.h"
#include "state/prompt.h"
#include "app/toolbar_table.h"
#include "capture/camera_graph.h"
#include "state/settings.h"
#include "base/text.h"
#include "program_harness.h"
#include "reports/snapshot.h"
#include "rig_api.h"
#include "rig_graph.h"
#include "view/view_state.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <regex>

namespace {

struct MainWindow : testing::Test {
    ProgramHarness program;
    void SetUp() override
    {
        ASSERT_TRUE(program.StartCamera());
    }
    void TearDown() override { Clock_LocalTime = savedClock; }
    void (*savedClock)(LocalTime *) = Clock_LocalTime;
};

// The buttons behave as their kinds say: the tools are one group, a push
// button does not stay pressed (the toggles: the effect and overlay tests).
TEST_F(MainWindow, TheToolButtonsAreOneGroupAndPushButtonsDoNotStayPressed)
{
    ASSERT_EQ(SendMessageW(gApp.toolbar, TB_BUTTONCOUNT, 0, 0), TOOLBAR_POSITIONS);
    program.Click(CMD_TOOL_LINE);
    program.Drag(100, 100, 200, 100);
    program.Click(CMD_TOOL_RECTANGLE);
    EXPECT_EQ(gView.tool, TOOL_RECTANGLE);
    for (const ToolbarEntry &entry : kToolbar) {
        if (entry.kind != TB_GROUP)
            continue;
        EXPECT_EQ(program.Checked(entry.command), entry.command == CMD_TOOL_RECTANGLE) << entry.command;
    }
    ASSERT_EQ(gView.items.size(), 1u);
    program.Click(CMD_REMOVE_LAST);
    EXPECT_TRUE(gView.items.empty());
    EXPECT_FALSE(program.Checked(CMD_REMOVE_LAST));
    wchar_t text[64] = L"";
    SendMessageW(gApp.toolbar, TB_GETBUTTONTEXTW, CMD_RESOLUTION_MENU, (LPARAM)text);
    EXPECT_STREQ(text, L"1280x720");
}

TEST_F(MainWindow, EffectButtonsAreExclusiveAndPressingTheOneThatIsOnTurnsAllOff)
{
    program.Click(CMD_EFFECT_GRAY);
    EXPECT_EQ(gCamera.gray.load(), 1);
    program.Click(CMD_EFFECT_BLACK_WHITE);
    EXPECT_EQ(gCamera.gray.load(), 0);
    EXPECT_EQ(gCamera.blackWhite.load(), 1);
    EXPECT_FALSE(program.Checked(CMD_EFFECT_GRAY));
    EXPECT_TRUE(program.Checked(CMD_EFFECT_BLACK_WHITE));
    program.Click(CMD_EFFECT_BLACK_WHITE);
    EXPECT_EQ(gCamera.gray + gCamera.blackWhite + gCamera.negative + gCamera.emboss, 0);
    EXPECT_FALSE(program.Checked(CMD_EFFECT_BLACK_WHITE));

    // The flip section's notice copies the flags onto the buttons.
    gCamera.negative = 1;
    SendMessageW(program.main, WM_COMMAND, CMD_EFFECTS_CHANGED, 0);
    EXPECT_TRUE(program.Checked(CMD_EFFECT_NEGATIVE));
}

void UseCalibration(int slot)
{
    gCalibrations[slot] = {L"Lens A", 0, 300, 10.0f, Calibration_PackSize(640, 480), 20240115, 30.0f};
}

TEST_F(MainWindow, OverlaysAreExclusiveAndACalibrationSwitchesTheCrossOnOnlyWhenNoneIs)
{
    program.Click(CMD_OVERLAY_CROSS);
    EXPECT_TRUE(gView.showCross);
    program.Click(CMD_OVERLAY_GRID);
    EXPECT_TRUE(gView.showGrid);
    EXPECT_FALSE(gView.showCross);
    EXPECT_FALSE(program.Checked(CMD_OVERLAY_CROSS));
    program.Click(CMD_OVERLAY_GRID);
    EXPECT_FALSE(gView.showGrid);

    UseCalibration(0);
    Calibration_Apply(0);
    program.Run(100);
    EXPECT_TRUE(gView.showCross);
    EXPECT_TRUE(program.Checked(CMD_OVERLAY_CROSS));
    wchar_t text[64] = L"";
    SendMessageW(gApp.toolbar, TB_GETBUTTONTEXTW, CMD_CALIBRATION_MENU, (LPARAM)text);
    EXPECT_STREQ(text, L"Lens A");

    program.Click(CMD_OVERLAY_CIRCLES);
    Calibration_Apply(0);
    program.Run(100);
    EXPECT_TRUE(gView.showCircles);
    EXPECT_FALSE(gView.showCross);
}

// Measuring works at every zoom: the slider moves with items and a
// calibration, and the items keep their picture coordinates.
TEST_F(MainWindow, TheZoomSliderWorksWithItemsAndACalibration)
{
    program.Click(CMD_TOOL_LINE);
    program.Drag(100, 100, 300, 200);
    program.Click(CMD_TOOL_POINTER);
    ASSERT_EQ(gView.items.size(), 1u);
    UseCalibration(3);
    Calibration_Apply(3);
    program.Run(100);
    EXPECT_TRUE(IsWindowEnabled(gApp.zoomSlider));
    SendMessageW(gApp.zoomSlider, TBM_SETPOS, TRUE, 150);
    SendMessageW(gApp.statusBar, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), (LPARAM)gApp.zoomSlider);
    EXPECT_EQ(gView.zoom, 150);
    EXPECT_EQ(program.StatusText(4), L"150%");
    EXPECT_EQ(gView.items[0].x2, 300) << "items keep their picture coordinates";
}

TEST_F(MainWindow, A1920x1080FormatIsFittedAnd1280x720ShownAt100Percent)
{
    EXPECT_EQ(gView.zoom, 100);
    SendMessageW(program.main, WM_COMMAND, CMD_RESOLUTION_FIRST + 2, 0);
    ASSERT_TRUE(program.WaitForCamera());
    program.Run(300);
    EXPECT_EQ(gView.imageWidth, 1920);
    EXPECT_TRUE(gView.fitToWindow);
    EXPECT_LT(gView.zoom, 100);
    EXPECT_GE(gView.zoom, 50);
    EXPECT_EQ(program.StatusText(4), std::to_wstring(gView.zoom) + L"%");
    EXPECT_EQ(SendMessageW(gApp.zoomSlider, TBM_GETPOS, 0, 0), gView.zoom);
}

// The frame rate changes with every frame on the streaming thread, so the
// rate itself is not compared (its rounding is a host test's business).
TEST_F(MainWindow, StatusPartTwoAlternatesBetweenItsTwoFormats)
{
    MainWnd_UpdateStatus();
    EXPECT_TRUE(std::regex_match(program.StatusText(2), std::wregex(L"1280x720   [0-9]+fps")))
        << program.StatusText(2);
    SendMessageW(program.main, WM_TIMER, 18, 0);
    EXPECT_TRUE(std::regex_match(program.StatusText(2), std::wregex(L"[0-9]+fps   1280x720")))
        << program.StatusText(2);
}

TEST_F(MainWindow, TheResolutionMenuListsTheCurrentCompressionsSizesWithTheCurrentCheckedThenThePictureCommands)
{
    HMENU menu = Menu_MakeResolution();
    ASSERT_EQ(GetMenuItemCount(menu), 8);
    const UINT below[] = {CMD_FREEZE, CMD_OPEN_PICTURE, CMD_TIME_LAPSE, CMD_FOCUS_STACK};
    for (int i = 0; i < 4; i++)
        EXPECT_EQ(GetMenuItemID(menu, 4 + i), below[i]);
    const wchar_t *expected[] = {L"640x480", L"1280x720", L"1920x1080"};
    for (int i = 0; i < 3; i++) {
        wchar_t text[32] = L"";
        GetMenuStringW(menu, i, text, 32, MF_BYPOSITION);
        EXPECT_STREQ(text, expected[i]);
        EXPECT_EQ(GetMenuItemID(menu, i), (UINT)(CMD_RESOLUTION_FIRST + i));
        EXPECT_EQ((GetMenuState(menu, i, MF_BYPOSITION) & MF_CHECKED) != 0, i == 1);
    }
    DestroyMenu(menu);
}

TEST_F(MainWindow, TheLanguageAndHelpMenusOfferTheirItems)
{
    gSettings.language = 2;
    HMENU menu = Menu_MakeLanguage();
    ASSERT_EQ(GetMenuItemCount(menu), 10);
    wchar_t text[64] = L"";
    GetMenuStringW(menu, 1, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"\u7b80\u4f53\u4e2d\u6587");
    GetMenuStringW(menu, 5, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"Deutsch");
    for (int k = 0; k < 10; k++) {
        EXPECT_EQ(GetMenuItemID(menu, k), (UINT)(MENU_LANGUAGE_FIRST + k));
        EXPECT_EQ((GetMenuState(menu, k, MF_BYPOSITION) & MF_CHECKED) != 0, k == 2);
    }
    DestroyMenu(menu);
    menu = Menu_MakeHelp();
    ASSERT_EQ(GetMenuItemCount(menu), 2);
    EXPECT_EQ(GetMenuItemID(menu, 0), (UINT)CMD_ABOUT);
    GetMenuStringW(menu, 1, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, Language_Text(1302));
    DestroyMenu(menu);
}

TEST_F(MainWindow, TheCalibrationMenuNeedsAUsableSlot)
{
    for (auto &c : gCalibrations)
        c = {L"", 0, 0, 0.0f, 0, 0, -1.0f};
    EXPECT_EQ(Menu_MakeCalibration(), nullptr); // straight to the configuration
    UseCalibration(4);
    HMENU menu = Menu_MakeCalibration();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 6);
    wchar_t text[64] = L"";
    GetMenuStringW(menu, 0, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"5 - Lens A");
    EXPECT_EQ(GetMenuItemID(menu, 2), (UINT)MENU_REMOVE_CALIBRATION);
    GetMenuStringW(menu, 3, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, Language_Text(1251));
    EXPECT_EQ(GetMenuItemID(menu, 5), (UINT)CMD_SCALE_BAR);
    EXPECT_TRUE(GetMenuState(menu, 5, MF_BYPOSITION) & MF_GRAYED) << "no calibration applied";
    DestroyMenu(menu);
}

TEST_F(MainWindow, TooltipsComeFromTheLanguageTable)
{
    NMTTDISPINFOW info = {};
    info.hdr.code = TTN_GETDISPINFOW;
    info.hdr.idFrom = CMD_SNAPSHOT;
    info.hdr.hwndFrom = gApp.toolbar;
    SendMessageW(program.main, WM_NOTIFY, 0, (LPARAM)&info);
    EXPECT_STREQ(info.szText, L"Snapshot (Space)");
    EXPECT_STREQ(info.szText, Language_Text(1009));
    info.hdr.idFrom = CMD_FIRST_USE;
    SendMessageW(program.main, WM_NOTIFY, 0, (LPARAM)&info);
    EXPECT_STREQ(info.szText, Language_Text(1029));
    info.hdr.idFrom = 4711;
    SendMessageW(program.main, WM_NOTIFY, 0, (LPARAM)&info);
    EXPECT_STREQ(info.szText, L"~~~");
}

LocalTime gFakeNow;
void FakeClock(LocalTime *now)
{
    *now = gFakeNow;
}

std::wstring PromptText()
{
    wchar_t text[PROMPT_TEXT_CAPACITY] = L"";
    GetWindowTextW(GetDlgItem(gApp.mainWindow, PROMPT_ID), text, PROMPT_TEXT_CAPACITY);
    return text;
}

TEST_F(MainWindow, SnapshotsAreNamedByTheClockAndAnnouncedInOnePrompt)
{
    Clock_LocalTime = FakeClock;
    gFakeNow = {2024, 1, 15, 9, 30, 5, 42};
    program.Click(CMD_SNAPSHOT);
    std::wstring first = program.images.path + L"\\20240115-093005-042.jpg";
    ASSERT_TRUE(Path_IsFile(first));
    EXPECT_EQ(File_Magic(first), 0xD8FFu);
    EXPECT_EQ(std::wstring(gApp.lastSavedFile), first);
    HWND prompt = GetDlgItem(program.main, PROMPT_ID);
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(PromptText(), L"File saved: " + first);

    program.Run(1000);
    gFakeNow.second = 6;
    program.Click(CMD_SNAPSHOT);
    std::wstring second = program.images.path + L"\\20240115-093006-042.jpg";
    EXPECT_TRUE(Path_IsFile(second));
    EXPECT_EQ(GetDlgItem(program.main, PROMPT_ID), prompt); // the same prompt
    EXPECT_EQ(PromptText(), L"File saved: " + second);
    RECT r;
    GetWindowRect(prompt, &r);
    POINT top = {r.left, r.top};
    ScreenToClient(program.main, &top);
    EXPECT_EQ(top.y, gApp.toolbarHeight + 1);
    // The second text restarts the prompt's 3.9 s; its timer ticks only come
    // late under load, never early.
    program.Run(3300);
    EXPECT_TRUE(IsWindow(prompt));
    for (int waited = 0; waited < 8000 && IsWindow(prompt); waited += 100)
        program.Run(100);
    EXPECT_FALSE(IsWindow(prompt));
}

// A folder deleted while the program runs, then one so long that a file name
// no longer fits behind it (the "\\." steps keep it the scratch folder).
TEST_F(MainWindow, ASnapshotThatCannotBeWrittenSaysSoAndWritesNothing)
{
    Clock_LocalTime = FakeClock;
    gFakeNow = {2024, 1, 15, 9, 30, 5, 42};
    std::wstring gone = program.images.path + L"\\gone";
    Text_Copy(gSettings.imageFolder, IMAGE_FOLDER_CAPACITY, gone.c_str());
    program.Click(CMD_SNAPSHOT);
    EXPECT_EQ(PromptText(), L"Could not save: " + gone + L"\\20240115-093005-042.jpg");

    std::wstring deep = program.images.path;
    while (deep.size() < IMAGE_FOLDER_CAPACITY - 6)
        deep += L"\\.";
    Text_Copy(gSettings.imageFolder, IMAGE_FOLDER_CAPACITY, deep.c_str());
    program.Click(CMD_SNAPSHOT);
    EXPECT_EQ(PromptText(), L"Could not save: " + deep);
    std::wstring cut = (deep + L"\\20240115-093005-042.jpg").substr(0, PATH_CAPACITY - 1);
    EXPECT_FALSE(Path_IsFile(cut)) << cut.c_str();
    EXPECT_STREQ(gApp.lastSavedFile, L"");
}

int CountSnapshots(const std::wstring &folder)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*-*-*.*").c_str(), &found);
    int n = 0;
    if (search != INVALID_HANDLE_VALUE) {
        do
            n++;
        while (FindNextFileW(search, &found));
        FindClose(search);
    }
    return n;
}

TEST_F(MainWindow, SpaceHeldAfterUsingTheZoomSliderTakesOneSnapshotAndSoDoesTheCamerasButton)
{
    RECT thumb;
    SendMessageW(gApp.zoomSlider, TBM_GETTHUMBRECT, 0, (LPARAM)&thumb);
    LPARAM at = MAKELPARAM((thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2);
    SendMessageW(gApp.zoomSlider, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(gApp.zoomSlider, WM_LBUTTONUP, 0, at);
    // The key goes where the focus is: the first key-down, then its repeats.
    for (LPARAM repeat : {0, 1 << 30, 1 << 30, 1 << 30}) {
        SendMessageW(GetFocus(), WM_KEYDOWN, VK_SPACE, 1 | repeat);
        program.Run(20); // another millisecond, another name
    }
    program.Run(100);
    EXPECT_EQ(CountSnapshots(program.images.path), 1);
    program.Run(20); // another millisecond, another name
    Rig_TriggerStill(0);
    for (int i = 0; i < 250 && CountSnapshots(program.images.path) < 2; i++)
        program.Run(20);
    EXPECT_EQ(CountSnapshots(program.images.path), 2);
}

// Real pointer input at a client point of a window: the cursor moves there
// (which the system announces as a move), then the button event, if any.
void Pointer(HWND window, POINT at, DWORD button = 0)
{
    ClientToScreen(window, &at);
    SetCursorPos(at.x, at.y);
    if (button) {
        INPUT input = {};
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = button;
        SendInput(1, &input, sizeof input);
    }
    PumpMessages(50);
}

TEST_F(MainWindow, MovingALineEndsWhereTheButtonIsReleasedEvenOverTheToolbar)
{
    program.Click(CMD_TOOL_LINE);
    program.Drag(100, 100, 300, 100);
    program.Click(CMD_TOOL_POINTER);
    ASSERT_EQ(gView.items.size(), 1u);
    const MeasureItem &line = gView.items[0];
    RECT bar;
    GetClientRect(gApp.toolbar, &bar);
    POINT overToolbar = {bar.right - 10, bar.bottom / 2};

    Pointer(gApp.cameraView, program.ViewPoint(300, 100), MOUSEEVENTF_LEFTDOWN);
    Pointer(gApp.cameraView, program.ViewPoint(320, 120));
    EXPECT_EQ(line.x2, 320) << "the line follows the pointer";
    Pointer(gApp.toolbar, overToolbar);
    Pointer(gApp.toolbar, overToolbar, MOUSEEVENTF_LEFTUP);
    Pointer(gApp.cameraView, program.ViewPoint(500, 300));
    EXPECT_EQ(line.x2, 320) << "and stays where it was let go";
    EXPECT_EQ(line.y2, 120);

    // A window that takes the mouse away mid-move ends the move too.
    Pointer(gApp.cameraView, program.ViewPoint(320, 120), MOUSEEVENTF_LEFTDOWN);
    EXPECT_EQ(GetCapture(), gApp.cameraView);
    SetCapture(gApp.toolbar);
    ReleaseCapture();
    Pointer(gApp.cameraView, program.ViewPoint(500, 300));
    EXPECT_EQ(line.x2, 320);
    Pointer(gApp.cameraView, program.ViewPoint(500, 300), MOUSEEVENTF_LEFTUP);
}

TEST_F(MainWindow, AfterARestartTheToolbarShowsTheClearedEffectAndTheViewsTool)
{
    program.Click(CMD_EFFECT_GRAY);
    program.Click(CMD_TOOL_ANGLE);
    SendMessageW(program.main, WM_COMMAND, CMD_CHOOSE_RESOLUTION, 0); // stops and starts the camera
    ASSERT_TRUE(program.WaitForCamera());
    program.Run(100);
    EXPECT_EQ(gCamera.gray.load(), 0);
    EXPECT_FALSE(program.Checked(CMD_EFFECT_GRAY));
    EXPECT_TRUE(program.Checked(CMD_TOOL_ANGLE));

    Camera_StopPreview();
    program.Run(100);
    program.Click(CMD_TOOL_RECTANGLE); // refused without a camera
    EXPECT_FALSE(program.Checked(CMD_TOOL_RECTANGLE));
    EXPECT_TRUE(program.Checked(CMD_TOOL_ANGLE));
}

TEST_F(MainWindow, WithoutACameraTheSnapshotCommandDoesNothing)
{
    Camera_StopPreview();
    program.Run(100);
    EXPECT_FALSE(Camera_IsOpen());
    program.Click(CMD_SNAPSHOT);
    EXPECT_EQ(CountSnapshots(program.images.path), 0);
    EXPECT_EQ(GetDlgItem(program.main, PROMPT_ID), nullptr);
    wchar_t text[64] = L"";
    SendMessageW(gApp.toolbar, TB_GETBUTTONTEXTW, CMD_RESOLUTION_MENU, (LPARAM)text);
    EXPECT_STREQ(text, L"NA");
}

TEST_F(MainWindow, TheGalleryShowsTheLastSnapshotOrElseTheFirstJpgOrTheFolder)
{
    wchar_t target[PATH_CAPACITY];
    Gallery_Target(target);
    EXPECT_EQ(std::wstring(target), program.images.path);
    gSettings.imageFormat = 1; // PNG snapshots are not searched for
    program.Click(CMD_SNAPSHOT);
    std::wstring png = gApp.lastSavedFile;
    EXPECT_EQ(png.substr(png.size() - 4), L".png");
    gApp.lastSavedFile[0] = 0;
    Gallery_Target(target);
    EXPECT_EQ(std::wstring(target), program.images.path);
    File_WriteBytes(program.images.path + L"\\20200101-000000-000.jpg", "x", 1);
    Gallery_Target(target);
    EXPECT_EQ(std::wstring(target), program.images.path + L"\\20200101-000000-000.jpg");
    Text_Copy(gApp.lastSavedFile, PATH_CAPACITY, png.c_str());
    Gallery_Target(target);
    EXPECT_EQ(std::wstring(target), png);
}

TEST_F(MainWindow, TheGalleryButtonOpensAFileBrowser)
{
    program.Click(CMD_SNAPSHOT);
    std::set<DWORD> before = Processes_Running();
    program.Click(CMD_GALLERY);
    program.Run(1000);
    EXPECT_GE(Processes_EndStartedSince(before), 1);
}

TEST_F(MainWindow, LeavesAScreenshotOfTheLiveWindowWithItemsAndAnOverlay)
{
    UseCalibration(0);
    gCalibrations[0].pixelsPerUnit = 40.0f; // the rig's ruler at 1280 pixels wide
    Calibration_Apply(0);
    program.Run(100);
    program.Click(CMD_TOOL_LINE);
    program.Drag(300, 250, 700, 250);
    program.Click(CMD_TOOL_RECTANGLE);
    program.Drag(800, 350, 1000, 480);
    program.Click(CMD_TOOL_CIRCLE);
    program.Drag(500, 450, 560, 450);
    program.Click(CMD_TOOL_POINTER);
    program.Run(500);
    EXPECT_TRUE(program.Screenshot(L"main-window"));
    EXPECT_EQ(gView.items.size(), 3u);
}

} // namespace
