// The Preferences dialog in the real main window with the virtual microscope.
#include "state/app_state.h"
#include "state/settings.h"
#include "base/commands.h"
#include "dialogs/preferences_ids.h"
#include "modal_dialog.h"
#include "program_harness.h"
#include "rig_api.h"
#include "rig_graph.h"
#include "reports/snapshot.h"
#include "view/view_state.h"

#include <gtest/gtest.h>

namespace {

const COLORREF kGreen = 0x00FF00, kMagenta = 0xFF00FF;

struct PreferencesDialog : testing::Test {
    ProgramHarness program;
    void SetUp() override
    {
        ASSERT_TRUE(program.StartCamera());
    }
};

// A person draws a line, opens Preferences from the toolbar, picks magenta
// lines and PNG snapshots, and takes a snapshot. A text colour outside the
// palette shows and is saved as green.
TEST_F(PreferencesDialog, OkGivesTheViewTheNewStyleAndSavesEveryChoice)
{
    program.Click(CMD_TOOL_LINE);
    program.Drag(100, 100, 300, 100);
    program.Run(100);
    std::wstring before = program.images.path + L"\\before.png";
    ASSERT_TRUE(Snapshot_Save(before.c_str(), false));
    ASSERT_EQ(Image_Pixel(before, 200, 100), kGreen) << "the line's middle";

    gSettings.textColor = 0xFFFFFF;
    int shownText = -2, shownWidth = -2, shownSize = -2;
    UINT shownNumbers = 2;
    std::wstring sizes, folder;
    Modal_Run([&] { program.Click(CMD_PREFERENCES); },
              [&] {
                  HWND dialog = Dialog_WaitFor(L"Preferences");
                  shownText = Dialog_Selected(dialog, IDC_PREF_TEXT_COLOR);
                  shownWidth = Dialog_Selected(dialog, IDC_PREF_LINE_WIDTH);
                  shownSize = Dialog_Selected(dialog, IDC_PREF_TEXT_SIZE);
                  sizes = Dialog_Items(dialog, IDC_PREF_TEXT_SIZE);
                  folder = Dialog_Text(dialog, IDC_PREF_FOLDER);
                  shownNumbers = IsDlgButtonChecked(dialog, IDC_PREF_ITEM_NUMBERS);
                  CheckDlgButton(dialog, IDC_PREF_ITEM_NUMBERS, BST_CHECKED);
                  Dialog_Choose(dialog, IDC_PREF_LINE_COLOR, 7);
                  Dialog_Choose(dialog, IDC_PREF_IMAGE_FORMAT, 1);
                  Dialog_Choose(dialog, IDC_PREF_TEXT_SIZE, 16);
                  Sleep(300); // lets the dialog finish painting
                  Window_Screenshot(dialog, L"preferences-dialog");
                  Dialog_Press(dialog, IDOK);
              });
    EXPECT_EQ(shownText, 3);
    EXPECT_EQ(shownWidth, 0) << "line width 1";
    EXPECT_EQ(shownSize, 6) << "text size 14";
    EXPECT_EQ(sizes, L" 8; 9; 10; 11; 12; 13; 14; 15; 16; 17; 18; 19; 20; 21; 22; 23; 24;");
    EXPECT_EQ(folder, program.images.path);
    EXPECT_EQ(shownNumbers, (UINT)BST_UNCHECKED) << "no item numbers by default";

    DWORD value = 0;
    EXPECT_TRUE(Registry_GetNumber(L"TextColor", &value) && value == kGreen) << value;
    EXPECT_TRUE(Registry_GetNumber(L"LineColor", &value) && value == kMagenta) << value;
    EXPECT_TRUE(Registry_GetNumber(L"TextSize", &value) && value == 24) << value;
    EXPECT_TRUE(Registry_GetNumber(L"jpgPng", &value) && value == 1) << value;
    EXPECT_TRUE(Registry_GetNumber(L"ItemNumbers", &value) && value == 1) << value;
    EXPECT_EQ(Registry_GetString(L"ImgDir"), program.images.path);

    program.Run(100); // the main window passes the style on
    EXPECT_TRUE(gView.showNumbers);
    program.Click(CMD_SNAPSHOT);
    std::wstring after = gApp.lastSavedFile;
    ASSERT_EQ(after.substr(after.size() - 4), L".png");
    EXPECT_EQ(Image_Pixel(after, 200, 100), kMagenta);
}

// The folder browser picks a folder into the edit box; Cancel then leaves
// the stored folder alone.
TEST_F(PreferencesDialog, CancelAfterBrowsingKeepsTheStoredFolder)
{
    std::wstring stored = gSettings.imageFolder, storedKey = Registry_GetString(L"ImgDir"), browsed;
    bool browserShown = false;
    Modal_Run([&] { program.Click(CMD_PREFERENCES); },
              [&] {
                  HWND dialog = Dialog_WaitFor(L"Preferences");
                  Dialog_Press(dialog, IDC_PREF_BROWSE);
                  HWND browser = Dialog_WaitForOther(dialog);
                  browserShown = browser != nullptr;
                  Sleep(300);
                  Dialog_Press(browser, IDOK);
                  Dialog_WaitClosed(browser);
                  browsed = Dialog_Text(dialog, IDC_PREF_FOLDER);
                  Dialog_Press(dialog, IDCANCEL);
              });
    ASSERT_TRUE(browserShown);
    EXPECT_NE(browsed, stored) << "the browser's choice reached the edit box";
    EXPECT_FALSE(browsed.empty());
    EXPECT_EQ(std::wstring(gSettings.imageFolder), stored);
    EXPECT_EQ(Registry_GetString(L"ImgDir"), storedKey);
}

} // namespace
