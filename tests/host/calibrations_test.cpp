#include "state/app_state.h"
#include "state/calibrations.h"
#include "base/commands.h"
#include "state/settings.h"
#include "support/fake_platform.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace {

void SetText(const wchar_t *text)
{
    wcscpy(gSettings.calibrationsText, text);
}

struct Calibrations : testing::Test {
    void SetUp() override
    {
        FakePlatform_Reset();
        memset(&gSettings, 0, sizeof gSettings);
        gSettings.appliedCalibration = -1;
        gApp.activeCalibration = -1;
        gApp.calibrationNotApplied = -1;
    }
};

TEST_F(Calibrations, TheLensARecordLoadsWithItsDerivedScale)
{
    SetText(L"Lens A,0,300,1092616192,31457920,20240115;");
    Calibrations_Parse();
    const Calibration &c = gCalibrations[0];
    EXPECT_STREQ(c.name, L"Lens A");
    EXPECT_EQ(c.unit, 0);
    EXPECT_EQ(c.lineLength, 300);
    EXPECT_EQ(c.realLength, 10.0f);
    EXPECT_EQ(Calibration_Width(&c), 640);
    EXPECT_EQ(Calibration_Height(&c), 480);
    EXPECT_EQ(c.calibratedOn, 20240115);
    EXPECT_EQ(c.pixelsPerUnit, 30.0f);
    EXPECT_TRUE(Calibration_IsUsable(&c));
    EXPECT_STREQ(Unit_Name(c.unit), L"mm");
    for (int i = 1; i < CALIBRATION_SLOTS; i++)
        EXPECT_EQ(gCalibrations[i].pixelsPerUnit, -1.0f);
}

TEST_F(Calibrations, AnyUnitButZeroIsMicrometres)
{
    SetText(L"x,1,300,1092616192,31457920,20240115;");
    Calibrations_Parse();
    EXPECT_STREQ(Unit_Name(gCalibrations[0].unit), L"\u03bcm");
    EXPECT_STREQ(Unit_Name(2), L"\u03bcm");
}

TEST_F(Calibrations, ADamagedRecordIsSkippedAndWrittenBackUntilTheUserReplacesIt)
{
    const std::wstring good = L"good,0,300,1092616192,31457920,20240115;";
    const std::wstring third = L"third,0,1,1065353216,1,1;";
    SetText((good + L"bad,0;" + third).c_str());
    Calibrations_Parse();
    EXPECT_STREQ(gCalibrations[0].name, L"good");
    EXPECT_STREQ(gCalibrations[1].name, L"");
    EXPECT_EQ(gCalibrations[1].pixelsPerUnit, -1.0f);
    EXPECT_STREQ(gCalibrations[2].name, L"third"); // keeps its slot and ID
    EXPECT_EQ(gCalibrations[2].pixelsPerUnit, 1.0f);

    Settings_Save(); // as opening a camera does
    std::wstring empty = L",0,0,0,0,0;", rest;
    for (int i = 3; i < CALIBRATION_SLOTS; i++)
        rest += empty;
    EXPECT_EQ(gFake.texts.at(L"Calibrations"), good + L"bad,0;" + third + rest);

    Calibration_Delete(1);
    EXPECT_EQ(gFake.texts.at(L"Calibrations"), good + empty + third + rest);
}

TEST_F(Calibrations, NonPositiveLengthsAndOddNumbersAreNotUsable)
{
    // zero bits; a negative float (-1.0 = 3212836864); a date of 0; a huge size;
    // the smallest float above zero (bits 1), whose ratio overflows
    SetText(L"z,0,300,0,31457920,20240115;n,0,300,3212836864,31457920,20240115;"
            L"d,0,300,1065353216,31457920,0;s,0,300,1065353216,-5,20240115;"
            L"w, 7 ,  12x,1065353216,99999999999,20240115;t,0,300,1,31457920,20240115;");
    Calibrations_Parse();
    EXPECT_EQ(gCalibrations[0].pixelsPerUnit, -1.0f);
    EXPECT_EQ(gCalibrations[1].pixelsPerUnit, -1.0f);
    EXPECT_EQ(gCalibrations[5].pixelsPerUnit, -1.0f);
    EXPECT_FALSE(Calibration_IsUsable(&gCalibrations[2]));
    EXPECT_FALSE(Calibration_IsUsable(&gCalibrations[3]));
    EXPECT_EQ(gCalibrations[4].unit, 7);        // leading blanks skipped
    EXPECT_EQ(gCalibrations[4].lineLength, 12); // stops at the first non-digit
    EXPECT_EQ(gCalibrations[4].captureSize, INT32_MAX); // saturates like a 32-bit long
}

TEST_F(Calibrations, EmptyTextGivesTenEmptySlotsWrittenAsTenEmptyRecords)
{
    SetText(L"");
    Calibrations_Parse();
    Calibrations_Format();
    std::wstring expected;
    for (int i = 0; i < 10; i++)
        expected += L",0,0,0,0,0;";
    EXPECT_EQ(std::wstring(gSettings.calibrationsText), expected);
}

TEST_F(Calibrations, FormatThenParseIsTheIdentity)
{
    for (int i = 0; i < CALIBRATION_SLOTS; i++) {
        Calibration &c = gCalibrations[i];
        Calibration_SetName(&c, (L"Objective " + std::to_wstring(i * 7)).c_str());
        c.unit = i % 2;
        c.lineLength = 200 + i;
        c.realLength = 0.5f + (float)i / 3.0f;
        c.captureSize = Calibration_PackSize(640 + i, 480 + i);
        c.calibratedOn = 20240101 + i;
        c.pixelsPerUnit = (float)c.lineLength / c.realLength;
    }
    Calibration before[CALIBRATION_SLOTS];
    memcpy(before, gCalibrations, sizeof before);
    Calibrations_Format();
    Calibrations_Parse();
    EXPECT_EQ(memcmp(before, gCalibrations, sizeof before), 0);
}

TEST_F(Calibrations, TenRecordsOfTheLongestFormAreWrittenWholeAndLoadBack)
{
    for (auto &c : gCalibrations) {
        Calibration_SetName(&c, L"nineteen characters"); // 19
        c.unit = INT32_MIN;
        c.lineLength = INT32_MIN;
        c.realLength = -1.0e38f; // the longest bit pattern
        c.captureSize = INT32_MIN;
        c.calibratedOn = INT32_MIN;
    }
    Calibrations_Format();
    std::wstring text = gSettings.calibrationsText;
    EXPECT_GT(text.size(), 511u); // more than the old 511-character limit
    EXPECT_EQ(std::count(text.begin(), text.end(), L';'), 10);
    Calibrations_Parse();
    for (const auto &c : gCalibrations) {
        EXPECT_STREQ(c.name, L"nineteen characters");
        EXPECT_EQ(c.calibratedOn, INT32_MIN);
    }
}

TEST_F(Calibrations, NamesAreCutAt19AndCannotCarryTheSeparators)
{
    Calibration c = {};
    Calibration_SetName(&c, L"a,b;c and more than nineteen");
    EXPECT_STREQ(c.name, L"a\uFF0Cb\uFF1Bc and more than");
    EXPECT_EQ(wcslen(c.name), 19u);

    // Renaming slot 3 to such a name keeps the table intact.
    SetText(L"");
    Calibrations_Parse();
    Calibration_Rename(3, L"x;y,z");
    Calibrations_Format();
    Calibrations_Parse();
    EXPECT_STREQ(gCalibrations[3].name, L"x\uFF1By\uFF0Cz");
    EXPECT_EQ(gCalibrations[4].pixelsPerUnit, -1.0f);
}

TEST_F(Calibrations, ApplyAndRemoveTellTheViewAndTheMainWindow)
{
    SetText(L"Lens A,0,300,1092616192,31457920,20240115;");
    Calibrations_Parse();
    Calibration_Apply(0);
    EXPECT_EQ(gApp.activeCalibration, 0);
    ASSERT_EQ(gFake.viewCalibrations.size(), 1u);
    EXPECT_EQ(gFake.viewCalibrations[0].first, 30.0f);
    EXPECT_EQ(gFake.viewZooms, std::vector<int>{100});
    EXPECT_EQ(gFake.mainCommands, std::vector<int>{CMD_CALIBRATION_CHANGED});
    EXPECT_EQ(gFake.numbers.at(L"AppliedCalibration"), 0) << "the choice is kept for the next start";

    Calibration_Remove();
    EXPECT_EQ(gApp.activeCalibration, -1);
    EXPECT_EQ(gFake.numbers.at(L"AppliedCalibration"), -1);
    EXPECT_EQ(gFake.viewCalibrations.back().first, -1.0f);
    EXPECT_EQ(gFake.viewCalibrations.back().second, 0);
    EXPECT_EQ(gFake.mainCommands.size(), 2u);
}

TEST_F(Calibrations, StoreRefusesNonPositiveLengthsAndRatios)
{
    EXPECT_FALSE(Calibration_Store(0, 0, 300, 0.0f, 640, 480));
    EXPECT_FALSE(Calibration_Store(0, 0, 300, -2.0f, 640, 480));
    EXPECT_FALSE(Calibration_Store(0, 0, 0, 2.0f, 640, 480));
    EXPECT_FALSE(Calibration_Store(0, 0, 300, 1e-45f, 640, 480)); // the ratio overflows
    EXPECT_FALSE(Calibration_Store(10, 0, 300, 2.0f, 640, 480));
    EXPECT_EQ(gFake.texts.count(L"Calibrations"), 0u); // nothing saved
}

TEST_F(Calibrations, StoreSavesTheSlotAndUpdatesTheViewOnlyWhenItIsApplied)
{
    SetText(L"");
    Calibrations_Parse();
    ASSERT_TRUE(Calibration_Store(2, 0, 1000, 2.5f, 1280, 720));
    const Calibration &c = gCalibrations[2];
    EXPECT_EQ(c.pixelsPerUnit, 400.0f);
    EXPECT_EQ(c.calibratedOn, 20240115);
    EXPECT_EQ(Calibration_Width(&c), 1280);
    EXPECT_EQ(Calibration_Height(&c), 720);
    EXPECT_TRUE(Calibration_IsUsable(&c));
    EXPECT_NE(gFake.texts.at(L"Calibrations").find(L",0,1000,1075838976,47187200,20240115;"),
              std::wstring::npos);
    EXPECT_TRUE(gFake.viewCalibrations.empty());

    gApp.activeCalibration = 2;
    ASSERT_TRUE(Calibration_Store(2, 1, 500, 2.0f, 640, 480));
    ASSERT_EQ(gFake.viewCalibrations.size(), 1u);
    EXPECT_EQ(gFake.viewCalibrations[0].first, 250.0f);
    EXPECT_EQ(gFake.viewCalibrations[0].second, 1);
    EXPECT_EQ(gFake.mainCommands, std::vector<int>{CMD_CALIBRATION_CHANGED});
}

TEST_F(Calibrations, DeletingTheAppliedSlotClearsTheViewButKeepsTheIndex)
{
    SetText(L"Lens A,0,300,1092616192,31457920,20240115;");
    Calibrations_Parse();
    gApp.activeCalibration = 0;
    Calibration_Delete(0);
    EXPECT_EQ(gApp.activeCalibration, 0);
    EXPECT_STREQ(gCalibrations[0].name, L"");
    EXPECT_EQ(gCalibrations[0].pixelsPerUnit, -1.0f);
    ASSERT_EQ(gFake.viewCalibrations.size(), 1u);
    EXPECT_EQ(gFake.viewCalibrations[0].first, -1.0f);
    EXPECT_EQ(gFake.texts.at(L"Calibrations").substr(0, 11), L",0,0,0,0,0;");
}

} // namespace
