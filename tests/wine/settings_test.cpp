// The settings store against the real registry and file system of the prefix.
#include "state/app_state.h"
#include "state/folders.h"
#include "state/settings.h"
#include "wine_support.h"

#include <gtest/gtest.h>
#include <shlobj.h>

namespace {

std::wstring DocumentsFolder()
{
    wchar_t path[MAX_PATH];
    SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

struct SettingsTest : testing::Test {
    ScopedRegistryKey key;
    std::wstring defaultFolder = DocumentsFolder() + L"\\Quorell Files";
    void SetUp() override { Folder_RemoveTree(defaultFolder); }
    void TearDown() override { Folder_RemoveTree(defaultFolder); }
};

// The defaults themselves are the host tests' business; here the places the
// system gives: the documents folder and the program's own folder.
TEST_F(SettingsTest, FirstStartMakesTheImageFolderInTheDocumentsAndFindsTheProgramFolder)
{
    Settings_Load();
    EXPECT_EQ(gSettings.firstUse, 1);
    EXPECT_EQ(std::wstring(gSettings.imageFolder), defaultFolder);
    EXPECT_TRUE(Path_IsFolder(defaultFolder + L"\\Thumbnails"));
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring folder = exe;
    EXPECT_EQ(std::wstring(gApp.moduleFolder), folder.substr(0, folder.rfind(L'\\')));
}

TEST_F(SettingsTest, ValuesOfTheWrongTypeOrSizeGetTheMissingDefault)
{
    Registry_SetString(L"LineWidth", L"2");                 // a string, 4 bytes long
    uint64_t wide = 16;
    Registry_SetRaw(L"TextSize", REG_QWORD, &wide, sizeof wide);
    uint16_t shortValue = 1;
    Registry_SetRaw(L"jpgPng", REG_BINARY, &shortValue, sizeof shortValue);
    Registry_SetRaw(L"MaxRecordTime", REG_BINARY, "\x40\x00\x00\x00", 4);
    Registry_SetNumber(L"ImgDir", 5);                       // a number where a text belongs
    Settings_Load();
    EXPECT_EQ(gSettings.lineWidth, 1);
    EXPECT_EQ(gSettings.textSize, 14);
    EXPECT_EQ(gSettings.imageFormat, 0);
    EXPECT_EQ(gSettings.maxRecordTime, 30);
    EXPECT_EQ(std::wstring(gSettings.imageFolder), defaultFolder);
}

TEST_F(SettingsTest, TextsLongerThanTheirFieldAreNotRead)
{
    Registry_SetString(L"ReportTitle", std::wstring(64, L't'));
    Registry_SetString(L"ImgDir", L"C:\\" + std::wstring(300, L'd'));
    Settings_Load();
    EXPECT_STREQ(gSettings.reportTitle, L"");
    EXPECT_EQ(std::wstring(gSettings.imageFolder), defaultFolder);

    Registry_SetString(L"ReportTitle", std::wstring(63, L't'));
    Settings_Load();
    EXPECT_EQ(std::wstring(gSettings.reportTitle), std::wstring(63, L't'));
}

TEST_F(SettingsTest, SaveWritesEveryValueWithItsTypeAndLoadReadsItBack)
{
    ScratchFolder images(L"images-\u00e9\u6d4b");
    Settings_Load();
    gSettings.language = 2;
    gSettings.captureWidth = 1280;
    gSettings.captureHeight = 720;
    gSettings.gridColor = 0x800080;
    gSettings.lineColor = 0x00FFFF;
    gSettings.textColor = 0x000080;
    gSettings.lineWidth = 2;
    gSettings.textSize = 24;
    wcscpy(gSettings.imageFolder, images.path.c_str());
    gSettings.imageFormat = 1;
    gSettings.videoFormat = 1;
    gSettings.maxRecordTime = 28800;
    gSettings.firstUse = 0;
    gSettings.showCtrlPanel = 0;
    wcscpy(gSettings.reportTitle, L"Lab 3 \u00b5");
    Settings_Save();

    DWORD number = 0;
    ASSERT_TRUE(Registry_GetNumber(L"TextSize", &number));
    EXPECT_EQ(number, 24u);
    ASSERT_TRUE(Registry_GetNumber(L"wmvMp4", &number));
    EXPECT_EQ(number, 1u);
    EXPECT_EQ(Registry_GetString(L"ImgDir"), images.path);
    EXPECT_EQ(Registry_GetString(L"Calibrations"), std::wstring(L",0,0,0,0,0;").append(L",0,0,0,0,0;")
              .append(L",0,0,0,0,0;").append(L",0,0,0,0,0;").append(L",0,0,0,0,0;")
              .append(L",0,0,0,0,0;").append(L",0,0,0,0,0;").append(L",0,0,0,0,0;")
              .append(L",0,0,0,0,0;").append(L",0,0,0,0,0;"));
    EXPECT_TRUE(Path_IsFolder(images.path + L"\\Thumbnails"));

    Settings saved = gSettings;
    Settings_Load();
    EXPECT_EQ(gSettings.language, 2);
    EXPECT_EQ(gSettings.captureWidth, 1280);
    EXPECT_EQ(gSettings.captureHeight, 720);
    EXPECT_EQ(gSettings.gridColor, saved.gridColor);
    EXPECT_EQ(gSettings.lineColor, saved.lineColor);
    EXPECT_EQ(gSettings.textColor, saved.textColor);
    EXPECT_EQ(gSettings.textSize, 24);
    EXPECT_EQ(gSettings.maxRecordTime, 28800);
    EXPECT_EQ(gSettings.firstUse, 0);
    EXPECT_EQ(gSettings.showCtrlPanel, 0);
    EXPECT_EQ(std::wstring(gSettings.imageFolder), images.path);
    EXPECT_STREQ(gSettings.reportTitle, L"Lab 3 \u00b5");
}

TEST_F(SettingsTest, ACalibrationsTextOfFourHundredCharactersLoadsWhole)
{
    std::wstring text;
    for (int i = 0; i < 10; i++)
        text += L"Objective lens " + std::to_wstring(i) + L",0,300,1092616192,31457920,20240115;";
    ASSERT_GE(text.size(), 400u);
    Registry_SetString(L"Calibrations", text);
    Settings_Load();
    EXPECT_EQ(std::wstring(gSettings.calibrationsText), text);
}

TEST(FolderEnsure, CreatesEveryMissingFolderAndNeverDeletesAFileInTheWay)
{
    ScratchFolder root(L"ensure");
    EXPECT_TRUE(Folder_Ensure((root.path + L"\\a\\b\\\u00fcber").c_str()));
    EXPECT_TRUE(Path_IsFolder(root.path + L"\\a\\b\\\u00fcber"));

    std::wstring file = root.path + L"\\blocker";
    File_WriteBytes(file, "keep", 4);
    EXPECT_FALSE(Folder_Ensure((file + L"\\inner").c_str()));
    EXPECT_TRUE(Path_IsFile(file));
}

} // namespace
