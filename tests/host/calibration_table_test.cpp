#include "dialogs/calibration_table.h"

#include <gtest/gtest.h>
#include <string>

namespace {

std::wstring Row(int slot, const Calibration &c)
{
    std::wstring row;
    for (int column = 0; column < CALIBRATION_COLUMNS; column++) {
        wchar_t cell[64];
        CalibrationTable_Cell(slot, c, column, cell, 64);
        row += cell;
        row += L'|';
    }
    return row;
}

} // namespace

TEST(CalibrationTable, CellsShowOnlyWhatTheSlotHas)
{
    Calibration made = {L"Lens A", 0, 1000, 2.5f, Calibration_PackSize(1280, 720), 20261208, 400.0f};
    EXPECT_EQ(Row(0, made), L"1|400.0000|mm|Lens A|12/08/2026|1280x720|");
    made.unit = 1;
    EXPECT_EQ(Row(9, made), L"10|400.0000|\u03BCm|Lens A|12/08/2026|1280x720|");

    // Too small a capture size, a date before 2020: no resolution, no date.
    Calibration old = {L"", 0, 300, 10.0f, Calibration_PackSize(320, 240), 20191231, 30.0f};
    EXPECT_EQ(Row(1, old), L"2|30.0000|mm||||");
    old.captureSize = Calibration_PackSize(640, 479);
    EXPECT_EQ(Row(1, old), L"2|30.0000|mm||||");

    // A deleted slot shows only its number.
    Calibration deleted = {};
    deleted.pixelsPerUnit = -1.0f;
    EXPECT_EQ(Row(4, deleted), L"5||||||");
}

TEST(CalibrationTable, TheLengthIsReadAsADecimalNumberUpToWhatCannotContinueIt)
{
    EXPECT_DOUBLE_EQ(CalibrationLength_Parse(L"10"), 10.0);
    EXPECT_DOUBLE_EQ(CalibrationLength_Parse(L"  2.5mm"), 2.5);
    EXPECT_DOUBLE_EQ(CalibrationLength_Parse(L".5"), 0.5);
    EXPECT_DOUBLE_EQ(CalibrationLength_Parse(L"5."), 5.0);
    EXPECT_DOUBLE_EQ(CalibrationLength_Parse(L"1e3"), 1000.0);
    EXPECT_DOUBLE_EQ(CalibrationLength_Parse(L"2e"), 2.0);
    EXPECT_DOUBLE_EQ(CalibrationLength_Parse(L"-3"), -3.0);
    EXPECT_DOUBLE_EQ(CalibrationLength_Parse(L"1,5"), 1.0);
    for (const wchar_t *none : {L"", L"abc", L".", L"-", L"0x10", L"inf", L"nan"})
        EXPECT_EQ(CalibrationLength_Parse(none), 0.0) << none;
}
