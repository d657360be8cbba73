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

// One decimal number, with a point or a comma, is a length; anything else is
// refused with its reason.
TEST(CalibrationTable, TheLengthIsOneDecimalNumberWithAPointOrACommaOrItsRefusalSaysWhy)
{
    struct Case {
        const wchar_t *typed;
        float length;
    };
    for (Case c : {Case{L"10", 10.0f}, {L" 10,5 ", 10.5f}, {L"2.5", 2.5f}, {L",5", 0.5f}, {L"5.", 5.0f},
                   {L"+3", 3.0f}, {L"1e3", 1000.0f}, {L"2,5E-1", 0.25f}, {L"0,001", 0.001f}}) {
        float length = -1;
        EXPECT_EQ(CalibrationLength_Read(c.typed, 1000, &length), LENGTH_READ) << c.typed;
        EXPECT_EQ(length, c.length) << c.typed;
    }
    struct Refused {
        const wchar_t *typed;
        LengthVerdict verdict;
    };
    for (Refused r : {Refused{L"", LENGTH_EMPTY}, {L" \t", LENGTH_EMPTY},
                      {L"abc", LENGTH_NOT_A_NUMBER}, {L"2.5mm", LENGTH_NOT_A_NUMBER},
                      {L"1,000.5", LENGTH_NOT_A_NUMBER}, {L"1.5.3", LENGTH_NOT_A_NUMBER},
                      {L"10 5", LENGTH_NOT_A_NUMBER}, {L".", LENGTH_NOT_A_NUMBER}, {L"2e", LENGTH_NOT_A_NUMBER},
                      {L"0x10", LENGTH_NOT_A_NUMBER}, {L"inf", LENGTH_NOT_A_NUMBER}, {L"nan", LENGTH_NOT_A_NUMBER},
                      {L"0", LENGTH_NOT_POSITIVE}, {L"-0,0", LENGTH_NOT_POSITIVE}, {L"-5", LENGTH_NOT_POSITIVE},
                      {L"1e400", LENGTH_TOO_LARGE}, {L"4e38", LENGTH_TOO_LARGE},
                      {L"1e-400", LENGTH_TOO_SMALL}, {L"1e-40", LENGTH_TOO_SMALL}}) {
        float length = -1;
        EXPECT_EQ(CalibrationLength_Read(r.typed, 1000, &length), r.verdict) << r.typed;
        EXPECT_EQ(length, -1) << r.typed;
        EXPECT_NE(CalibrationLength_RefusalText(r.verdict), 0) << r.typed;
    }
}
