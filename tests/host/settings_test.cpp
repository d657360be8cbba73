#include "state/app_state.h"
#include "state/folders.h"
#include "state/settings.h"
#include "state/settings_store.h"
#include "support/fake_platform.h"

#include <gtest/gtest.h>
#include <cstring>
#include <tuple>
#include <vector>

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
                                L"LineWidth", L"TextColor", L"jpgPng", L"SnapshotAsShown", L"wmvMp4",
                                L"MaxRecordTime", L"FirstUse", L"ShowCtrlPanel"})
        EXPECT_EQ(gFake.numbers.count(name), 1u) << name;
    for (const wchar_t *name : {L"ImgDir", L"Calibrations", L"ReportTitle"})
        EXPECT_EQ(gFake.texts.count(name), 1u) << name;
    EXPECT_EQ(gFake.numbers.size(), 14u); // recordSplit is not stored
}

using Bytes = std::vector<uint8_t>;

Bytes Utf16(const std::wstring &text, bool terminated)
{
    Bytes bytes;
    for (wchar_t c : text + (terminated ? std::wstring(1, L'\0') : L""))
        bytes.insert(bytes.end(), {(uint8_t)c, (uint8_t)(c >> 8)});
    return bytes;
}

// The settings as loaded from the store as it is now, byte for byte.
Bytes LoadedSettings()
{
    Settings_Load();
    Bytes bytes(sizeof gSettings);
    memcpy(bytes.data(), &gSettings, sizeof gSettings);
    return bytes;
}

// Every value the program reads, stored with another type, too short, too
// long or empty, reads as missing. Each bad value carries the bytes of a
// good, non-default setting that a careless read would take; the good value
// itself is read, which shows that it would be noticed. (A stored image
// folder stands by, since without one the load makes it and sets FirstUse.)
TEST_F(SettingsLoad, EveryValueOfTheWrongTypeOrSizeReadsAsMissing)
{
    enum { BINARY = 3, BIG_ENDIAN_NUMBER = 5, EXPANDABLE_TEXT = 2, TEXTS = 7, WIDE_NUMBER = 11 };
    const std::pair<const wchar_t *, int32_t> numbers[] = {
        {L"Language", 1},     {L"width", 640},        {L"height", 480},      {L"GridColor", 0x008000},
        {L"LineColor", 0x800000}, {L"LineWidth", 2},  {L"TextColor", 0x808000}, {L"TextSize", 16},
        {L"jpgPng", 1},       {L"wmvMp4", 1},         {L"MaxRecordTime", 60}, {L"FirstUse", 0},
        {L"ShowCtrlPanel", 0}};
    const std::tuple<const wchar_t *, std::wstring, size_t> texts[] = {
        {L"ImgDir", L"E:\\pictures", IMAGE_FOLDER_CAPACITY},
        {L"Calibrations", L"1,mm,100.5,10,", CALIBRATIONS_TEXT_CAPACITY},
        {L"ReportTitle", L"Probe", REPORT_TITLE_CAPACITY}};

    std::vector<std::tuple<const wchar_t *, FakePlatform::StoredValue, std::vector<FakePlatform::StoredValue>>> rows;
    for (auto [name, value] : numbers) {
        Bytes four(4);
        memcpy(four.data(), &value, 4);
        Bytes eight = four, two(four.begin(), four.begin() + 2);
        eight.resize(8);
        rows.push_back({name, {STORE_TYPE_NUMBER, four},
                        {{BINARY, four}, {STORE_TYPE_TEXT, four}, {BIG_ENDIAN_NUMBER, four}, {WIDE_NUMBER, eight},
                         {STORE_TYPE_NUMBER, two}, {STORE_TYPE_NUMBER, eight}, {STORE_TYPE_NUMBER, {}}}});
    }
    for (auto [name, value, capacity] : texts) {
        Bytes good = Utf16(value, true);
        std::wstring full = value + std::wstring(capacity - value.size(), L'x'); // no room for the terminator
        rows.push_back({name, {STORE_TYPE_TEXT, good},
                        {{EXPANDABLE_TEXT, good}, {TEXTS, good}, {BINARY, good}, {STORE_TYPE_NUMBER, Bytes(good.begin(), good.begin() + 4)},
                         {STORE_TYPE_TEXT, {good[0]}}, {STORE_TYPE_TEXT, Utf16(full, false)},
                         {STORE_TYPE_TEXT, Utf16(full, true)}, {STORE_TYPE_TEXT, {}}}});
    }
    ASSERT_EQ(rows.size(), 16u); // every name ReadStoredValues reads
    for (const auto &[name, good, bad] : rows) {
        gFake.stored.clear();
        if (std::wstring(name) != L"ImgDir")
            gFake.stored[L"ImgDir"] = {STORE_TYPE_TEXT, Utf16(L"D:\\pictures", true)};
        Bytes missing = LoadedSettings();
        gFake.stored[name] = good;
        EXPECT_NE(LoadedSettings(), missing) << "the good value of " << name << " was not read";
        for (size_t i = 0; i < bad.size(); i++) {
            gFake.stored[name] = bad[i];
            EXPECT_EQ(LoadedSettings(), missing) << name << ", bad value " << i;
        }
    }
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
