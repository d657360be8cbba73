#include "app/app_state.h"
#include "app/folders.h"
#include "app/settings.h"
#include "support/fake_platform.h"

#include <gtest/gtest.h>

namespace {

struct SettingsLoad : testing::Test {
    void SetUp() override { FakePlatform_Reset(); }
};

TEST_F(SettingsLoad, AKeyThatCannotBeOpenedKeepsThePresets)
{
    gFake.storeOpens = false;
    Settings_Load();
    EXPECT_EQ(gSettings.gridColor, 0x0000FFu); // red
    EXPECT_EQ(gSettings.lineColor, 0x0000FFu);
    EXPECT_EQ(gSettings.textColor, 0x0000FFu);
    EXPECT_EQ(gSettings.lineWidth, 2);
    EXPECT_EQ(gSettings.textSize, 12);
    EXPECT_EQ(gSettings.maxRecordTime, 10);
    EXPECT_EQ(gSettings.firstUse, 1);
    EXPECT_EQ(gSettings.showCtrlPanel, 1);
    // The image folder is still made.
    EXPECT_STREQ(gSettings.imageFolder, L"C:\\Users\\me\\Documents\\Quorell Files");
    EXPECT_TRUE(gFake.folders.count(L"C:\\Users\\me\\Documents\\Quorell Files\\Thumbnails"));
}

TEST_F(SettingsLoad, MissingValuesTakeTheirDefaultsAndBlackIsNotInThePalette)
{
    Settings_Load();
    EXPECT_EQ(gSettings.gridColor, 0x00FF00u); // missing is 0, which is not offered
    EXPECT_EQ(gSettings.lineWidth, 1);
    EXPECT_EQ(gSettings.textSize, 14);
    EXPECT_EQ(gSettings.maxRecordTime, 30);
    EXPECT_EQ(gSettings.recordSplit, 0);
    EXPECT_STREQ(gApp.moduleFolder, L"C:\\Program Files\\Quorell");
}

TEST_F(SettingsLoad, RangeChecksUseTheirOwnFallbacks)
{
    gFake.numbers = {{L"TextSize", 7}, {L"LineWidth", 0}, {L"Language", -1}, {L"MaxRecordTime", -5},
                     {L"wmvMp4", 3}, {L"TextColor", 0xFFFFFF}, {L"ShowCtrlPanel", 5}};
    gFake.texts[L"ImgDir"] = L"D:\\pictures";
    Settings_Load();
    EXPECT_EQ(gSettings.textSize, 10);
    EXPECT_EQ(gSettings.lineWidth, 1);
    EXPECT_EQ(gSettings.language, 0);
    EXPECT_EQ(gSettings.maxRecordTime, 0);
    EXPECT_EQ(gSettings.videoFormat, 0);
    EXPECT_EQ(gSettings.textColor, 0x00FF00u);
    EXPECT_EQ(gSettings.firstUse, 1); // missing FirstUse
    EXPECT_EQ(gSettings.showCtrlPanel, 1); // else the menu's toggle could never hide the panel
    EXPECT_STREQ(gSettings.imageFolder, L"D:\\pictures");
    EXPECT_TRUE(gFake.folders.count(L"D:\\pictures\\Thumbnails"));

    gFake.numbers = {{L"TextSize", 8}, {L"MaxRecordTime", 28800}, {L"FirstUse", 0}};
    Settings_Load();
    EXPECT_EQ(gSettings.textSize, 8);
    EXPECT_EQ(gSettings.maxRecordTime, 28800);
    EXPECT_EQ(gSettings.firstUse, 0);
}

TEST_F(SettingsLoad, MakingTheDefaultFolderSetsFirstUseAgain)
{
    gFake.numbers[L"FirstUse"] = 0;
    Settings_Load();
    EXPECT_EQ(gSettings.firstUse, 1);
}

TEST_F(SettingsLoad, WithoutADocumentsFolderThePathIsStillStored)
{
    gFake.hasDocuments = false;
    Settings_Load();
    EXPECT_STREQ(gSettings.imageFolder, L"\\Quorell Files");
}

TEST_F(SettingsLoad, SaveWritesEveryStoredValueAndMakesTheThumbnailsFolderAgain)
{
    Settings_Load();
    gSettings.textSize = 20;
    gSettings.recordSplit = 300;
    gFake.folders.clear(); // the thumbnails folder was deleted meanwhile
    Settings_Save();
    EXPECT_TRUE(gFake.folders.count(L"C:\\Users\\me\\Documents\\Quorell Files\\Thumbnails"));
    EXPECT_EQ(gFake.numbers.at(L"TextSize"), 20);
    for (const wchar_t *name : {L"Language", L"width", L"height", L"GridColor", L"LineColor",
                                L"LineWidth", L"TextColor", L"jpgPng", L"wmvMp4",
                                L"MaxRecordTime", L"FirstUse", L"ShowCtrlPanel"})
        EXPECT_EQ(gFake.numbers.count(name), 1u) << name;
    for (const wchar_t *name : {L"ImgDir", L"Calibrations", L"ReportTitle"})
        EXPECT_EQ(gFake.texts.count(name), 1u) << name;
    EXPECT_EQ(gFake.numbers.size(), 13u); // recordSplit is not stored
}

TEST(FolderEnsureWalk, CreatesEachMissingPrefixFromTheRootDown)
{
    FakePlatform_Reset();
    gFake.folders = {L"C:\\a"};
    EXPECT_TRUE(Folder_Ensure(L"C:\\a\\b\\c"));
    EXPECT_TRUE(gFake.folders.count(L"C:\\a\\b"));
    EXPECT_TRUE(gFake.folders.count(L"C:\\a\\b\\c"));
    EXPECT_FALSE(gFake.folders.count(L"C:")); // the drive is skipped
    EXPECT_TRUE(Folder_Ensure(L"C:\\a\\b\\c\\"));
}

TEST(FolderEnsureWalk, AFileInTheWayFailsButTheWalkGoesOnAndKeepsTheFile)
{
    FakePlatform_Reset();
    gFake.files[L"C:\\x"] = {'d', 'a', 't', 'a'};
    EXPECT_FALSE(Folder_Ensure(L"C:\\x\\y"));
    EXPECT_EQ(gFake.files.at(L"C:\\x").size(), 4u);
    EXPECT_TRUE(gFake.folders.count(L"C:\\x\\y")); // the fake lets the walk go on
}

TEST(FolderEnsureWalk, APathCutByItsBufferCreatesNothing)
{
    FakePlatform_Reset();
    EXPECT_FALSE(Folder_Ensure((L"C:\\a\\" + std::wstring(300, L'x')).c_str()));
    // A stored image folder too long for "\\Thumbnails" to follow it.
    gFake.texts[L"ImgDir"] = L"C:\\" + std::wstring(250, L'y');
    Settings_Load();
    EXPECT_TRUE(gFake.folders.empty());
}

} // namespace
