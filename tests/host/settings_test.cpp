#include "state/app_state.h"
#include "state/folders.h"
#include "state/settings.h"
#include "state/settings_cameras.h"
#include "state/settings_store.h"
#include "support/fake_platform.h"

#include <gtest/gtest.h>
#include <cstring>
#include <cwchar>
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
                     {L"wmvMp4", 3}, {L"jpgPng", 3}, {L"TextColor", 0xFFFFFF}, {L"ShowCtrlPanel", 5},
                     {L"ItemNumbers", 2}};
    gFake.texts[L"ImgDir"] = L"D:\\pictures";
    Settings_Load();
    EXPECT_EQ(gSettings.textSize, 10);
    EXPECT_EQ(gSettings.lineWidth, 1);
    EXPECT_EQ(gSettings.language, 0);
    EXPECT_EQ(gSettings.maxRecordTime, 0);
    EXPECT_EQ(gSettings.videoFormat, 0);
    EXPECT_EQ(gSettings.imageFormat, 0);
    EXPECT_EQ(gSettings.textColor, 0x00FF00u);
    EXPECT_EQ(gSettings.firstUse, 1); // missing FirstUse
    EXPECT_EQ(gSettings.showCtrlPanel, 1); // else the menu's toggle could never hide the panel
    EXPECT_EQ(gSettings.itemNumbers, 0);
    EXPECT_STREQ(gSettings.imageFolder, L"D:\\pictures");
    EXPECT_TRUE(gFake.folders.count(L"D:\\pictures\\Thumbnails"));

    gFake.numbers = {{L"TextSize", 8}, {L"MaxRecordTime", 28800}, {L"FirstUse", 0}, {L"jpgPng", 2}};
    Settings_Load();
    EXPECT_EQ(gSettings.textSize, 8);
    EXPECT_EQ(gSettings.imageFormat, 2); // TIFF
    EXPECT_EQ(gSettings.maxRecordTime, 28800);
    EXPECT_EQ(gSettings.firstUse, 0);
}

// The time-lapse: an interval of 1 s to a day, up to 99999 pictures (0:
// until stopped), a rate of 1 to 60 pictures per second.
TEST_F(SettingsLoad, TimeLapseValuesOutsideTheirRangesTakeTheirDefaults)
{
    gFake.numbers = {{L"TimeLapseSeconds", 0}, {L"TimeLapseCount", -1}, {L"TimeLapseFormat", 3},
                     {L"TimeLapseVideo", 2}, {L"TimeLapseRate", 61}};
    Settings_Load();
    EXPECT_EQ(gSettings.timeLapseSeconds, 60);
    EXPECT_EQ(gSettings.timeLapseCount, 10);
    EXPECT_EQ(gSettings.timeLapseFormat, 0);
    EXPECT_EQ(gSettings.timeLapseVideo, 0);
    EXPECT_EQ(gSettings.timeLapseRate, 10);

    gFake.numbers = {{L"TimeLapseSeconds", 86400}, {L"TimeLapseCount", 0}, {L"TimeLapseFormat", 2},
                     {L"TimeLapseVideo", 1}, {L"TimeLapseRate", 60}};
    Settings_Load();
    EXPECT_EQ(gSettings.timeLapseSeconds, 86400);
    EXPECT_EQ(gSettings.timeLapseCount, 0);
    EXPECT_EQ(gSettings.timeLapseFormat, 2);
    EXPECT_EQ(gSettings.timeLapseVideo, 1);
    EXPECT_EQ(gSettings.timeLapseRate, 60);
    gFake.numbers[L"TimeLapseSeconds"] = 86401;
    Settings_Load();
    EXPECT_EQ(gSettings.timeLapseSeconds, 60);
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
                                L"LineWidth", L"TextColor", L"jpgPng", L"SnapshotAsShown", L"ScaleBar", L"ItemNumbers",
                                L"wmvMp4",
                                L"MaxRecordTime", L"FirstUse", L"ShowCtrlPanel", L"AppliedCalibration",
                                L"TimeLapseSeconds", L"TimeLapseCount", L"TimeLapseFormat", L"TimeLapseVideo",
                                L"TimeLapseRate"})
        EXPECT_EQ(gFake.numbers.count(name), 1u) << name;
    for (const wchar_t *name : {L"ImgDir", L"Calibrations", L"ReportTitle", L"Camera1", L"Camera8", L"TimeLapseFolder"})
        EXPECT_EQ(gFake.texts.count(name), 1u) << name;
    EXPECT_EQ(gFake.numbers.size(), 22u); // recordSplit is not stored
}

using Bytes = std::vector<uint8_t>;

Bytes Utf16(const std::wstring &text, bool terminated)
{
    Bytes bytes;
    for (wchar_t c : text + (terminated ? std::wstring(1, L'\0') : L""))
        bytes.insert(bytes.end(), {(uint8_t)c, (uint8_t)(c >> 8)});
    return bytes;
}

// The settings and the cameras' kept settings as loaded from the store as it
// is now, byte for byte.
Bytes LoadedSettings()
{
    Settings_Load();
    Bytes bytes(sizeof gSettings + sizeof gCameraMemory);
    memcpy(bytes.data(), &gSettings, sizeof gSettings);
    memcpy(bytes.data() + sizeof gSettings, gCameraMemory, sizeof gCameraMemory);
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
        {L"ShowCtrlPanel", 0}, {L"AppliedCalibration", 2}};
    const std::tuple<const wchar_t *, std::wstring, size_t> texts[] = {
        {L"ImgDir", L"E:\\pictures", IMAGE_FOLDER_CAPACITY},
        {L"Calibrations", L"1,mm,100.5,10,", CALIBRATIONS_TEXT_CAPACITY},
        {L"ReportTitle", L"Probe", REPORT_TITLE_CAPACITY},
        {L"Camera1", L"1,-8;0,0;0,0;0,0;0,0;0,0;0,0;0,0;0,0;2;@device:pnp:a", CAMERA_MEMORY_TEXT_CAPACITY}};

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
    ASSERT_EQ(rows.size(), 18u); // every name ReadStoredValues reads, of the eight cameras one
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

// A camera's kept settings are read only whole: nine mode,value pairs, the
// power line and a path, every number one whole number within its range;
// anything else leaves that camera to its own values. A path met before is
// not read twice, and the cameras read close up in their order.
TEST_F(SettingsLoad, ACamerasKeptSettingsAreReadOnlyWholeAndInRange)
{
    const std::wstring pairs = L"1,-8;3,-6;2,0;1,0;1,32;1,0;1,2147483647;1,3;1,-2147483648;";
    const std::wstring path = L"@device:pnp:\\\\?\\usb#vid_1&pid_2;x,y";
    gFake.texts = {{L"ImgDir", L"D:\\pictures"},
                   {L"Camera1", pairs + L"2;" + path},
                   {L"Camera3", L"4,0;" + pairs.substr(5) + L"1;p3"},          // mode out of range
                   {L"Camera4", pairs + L"3;p4"},                             // power line out of range
                   {L"Camera5", L"1,2147483648;" + pairs.substr(5) + L"1;p5"}, // beyond 32 bits
                   {L"Camera6", L"1,-8 ;" + pairs.substr(5) + L"1;p6"},        // not one number
                   {L"Camera7", pairs + L"0;" + path},                        // met before
                   {L"Camera8", pairs + L"1;" + std::wstring(CAMERA_PATH_CAPACITY, L'p')}}; // path too long
    gFake.numbers = {{L"AppliedCalibration", 10}};
    Settings_Load();
    EXPECT_EQ(gSettings.appliedCalibration, -1) << "slot 10 does not exist";
    const CameraMemory &first = gCameraMemory[0];
    EXPECT_EQ(first.devicePath, path);
    EXPECT_EQ(first.properties[0].mode, KEPT_MANUAL);
    EXPECT_EQ(first.properties[0].value, -8);
    EXPECT_EQ(first.properties[1].mode, KEPT_AUTO_AFTER_MANUAL);
    EXPECT_EQ(first.properties[6].value, INT32_MAX);
    EXPECT_EQ(first.properties[8].value, INT32_MIN);
    EXPECT_EQ(first.powerLine, 2);
    for (int slot = 1; slot < CAMERA_MEMORY_SLOTS; slot++)
        EXPECT_STREQ(gCameraMemory[slot].devicePath, L"") << "Camera" << slot + 1 << " is damaged or missing";
    EXPECT_EQ(CameraMemory_Find(path.c_str()), &first);
    EXPECT_EQ(CameraMemory_Find(L""), nullptr);

    wchar_t text[CAMERA_MEMORY_TEXT_CAPACITY];
    ASSERT_TRUE(CameraMemory_Format(first, text, CAMERA_MEMORY_TEXT_CAPACITY));
    EXPECT_EQ(text, pairs + L"2;" + path);
    CameraMemory unread;
    EXPECT_FALSE(CameraMemory_Parse((pairs + L"0;").c_str(), &unread)) << "no path";
    EXPECT_FALSE(CameraMemory_Parse(L"1,-8;0;p", &unread)) << "too few pairs";
}

// The camera used last comes first; a ninth camera pushes out the one used
// longest ago, and every change is written at once.
TEST_F(SettingsLoad, RememberingACameraPutsItFirstAndKeepsEightAtMost)
{
    Settings_Load();
    CameraMemory memory = {};
    memory.properties[0] = {KEPT_MANUAL, -8};
    for (int camera = 1; camera <= CAMERA_MEMORY_SLOTS + 1; camera++) {
        swprintf(memory.devicePath, CAMERA_PATH_CAPACITY, L"camera %d", camera);
        CameraMemory_Remember(memory);
    }
    EXPECT_STREQ(gCameraMemory[0].devicePath, L"camera 9");
    EXPECT_STREQ(gCameraMemory[CAMERA_MEMORY_SLOTS - 1].devicePath, L"camera 2");
    EXPECT_EQ(CameraMemory_Find(L"camera 1"), nullptr);

    swprintf(memory.devicePath, CAMERA_PATH_CAPACITY, L"camera 5");
    memory.properties[0] = {KEPT_AUTO_AFTER_MANUAL, -9};
    CameraMemory_Remember(memory);
    EXPECT_STREQ(gCameraMemory[0].devicePath, L"camera 5");
    EXPECT_STREQ(gCameraMemory[1].devicePath, L"camera 9");
    EXPECT_STREQ(gCameraMemory[CAMERA_MEMORY_SLOTS - 1].devicePath, L"camera 2");
    EXPECT_EQ(gFake.texts.at(L"Camera1"), L"3,-9;0,0;0,0;0,0;0,0;0,0;0,0;0,0;0,0;0;camera 5");

    Settings_Load(); // as the next start reads them
    EXPECT_STREQ(gCameraMemory[0].devicePath, L"camera 5");
    EXPECT_EQ(gCameraMemory[0].properties[0].value, -9);
    EXPECT_EQ(CameraMemory_Find(L"camera 4")->properties[0].value, -8);
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
