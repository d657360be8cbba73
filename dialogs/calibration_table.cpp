#include "dialogs/calibration_table.h"

#include "base/text.h"

#include <cstdlib>
#include <cwctype>

CalibrationDialogState gCalibrationDialogs = {0, {-1, -1}};

const CalibrationColumn kCalibrationColumns[CALIBRATION_COLUMNS] = {
    {1270, 48, CELL_CENTRED},  // ID
    {1271, 88, CELL_RIGHT},    // pixels per unit
    {1272, 58, CELL_CENTRED},  // unit
    {1273, 108, CELL_LEFT},    // name
    {1274, 78, CELL_LEFT},     // date
    {1275, 98, CELL_LEFT},     // capture size
};

void CalibrationTable_Cell(int slot, const Calibration &c, int column, wchar_t *text, size_t capacity)
{
    text[0] = 0;
    bool made = c.pixelsPerUnit > 0;
    int year = c.calibratedOn / 10000;
    switch (column) {
    case 0:
        Text_Format(text, capacity, L"%d", slot + 1);
        break;
    case 1:
        if (made)
            Text_Format(text, capacity, L"%.04f", (double)c.pixelsPerUnit);
        break;
    case 2:
        if (made)
            Text_Copy(text, capacity, Unit_Name(c.unit));
        break;
    case 3:
        Text_Copy(text, capacity, c.name);
        break;
    case 4:
        if (year >= 2020)
            Text_Format(text, capacity, L"%02d/%02d/%04d", c.calibratedOn / 100 % 100,
                        c.calibratedOn % 100, year);
        break;
    case 5:
        if (Calibration_Width(&c) >= 640 && Calibration_Height(&c) >= 480)
            Text_Format(text, capacity, L"%dx%d", Calibration_Width(&c), Calibration_Height(&c));
        break;
    }
}

static const wchar_t *SkipDigits(const wchar_t *at)
{
    while (*at >= L'0' && *at <= L'9')
        at++;
    return at;
}

// Only the decimal form is taken: "0x10", "inf" or "nan" are not lengths a
// person types off a ruler, so they read as no digits.
double CalibrationLength_Parse(const wchar_t *text)
{
    while (iswspace(*text))
        text++;
    const wchar_t *at = text;
    if (*at == L'+' || *at == L'-')
        at++;
    const wchar_t *digits = at;
    at = SkipDigits(at);
    bool whole = at > digits;
    bool fraction = false;
    if (*at == L'.') {
        const wchar_t *after = SkipDigits(at + 1);
        fraction = after > at + 1;
        at = after;
    }
    if (!whole && !fraction)
        return 0;
    if (*at == L'e' || *at == L'E') {
        const wchar_t *exponent = at + 1;
        if (*exponent == L'+' || *exponent == L'-')
            exponent++;
        const wchar_t *end = SkipDigits(exponent);
        if (end > exponent)
            at = end;
    }
    // The span is plain ASCII; strtod reads it in the "C" locale's notation.
    char number[72];
    size_t length = (size_t)(at - text);
    if (length >= sizeof number)
        length = sizeof number - 1;
    for (size_t i = 0; i < length; i++)
        number[i] = (char)text[i];
    number[length] = 0;
    return strtod(number, nullptr);
}
