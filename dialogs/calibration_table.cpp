#include "dialogs/calibration_table.h"

#include "base/text.h"

#include <cfloat>
#include <cstdlib>
#include <cwctype>
#include <string>

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

// Skips the digits from at; notes in *nonZero whether one of them is not 0.
static const wchar_t *SkipDigits(const wchar_t *at, bool *nonZero)
{
    for (; *at >= L'0' && *at <= L'9'; at++)
        *nonZero = *nonZero || *at != L'0';
    return at;
}

// The shape of the typed number: where it ends (null when the text is not
// one decimal number), its sign and whether its digits before the exponent
// are all zeros. A comma stands for the decimal point.
struct NumberShape {
    const wchar_t *end;
    bool negative;
    bool nonZero;
};

static NumberShape ReadShape(const wchar_t *text)
{
    NumberShape shape = {nullptr, false, false};
    const wchar_t *at = text;
    if (*at == L'+' || *at == L'-')
        shape.negative = *at++ == L'-';
    const wchar_t *whole = at;
    at = SkipDigits(at, &shape.nonZero);
    bool digits = at > whole;
    if (*at == L'.' || *at == L',') {
        const wchar_t *fraction = ++at;
        at = SkipDigits(at, &shape.nonZero);
        digits = digits || at > fraction;
    }
    if (!digits)
        return shape;
    if (*at == L'e' || *at == L'E') {
        at++;
        if (*at == L'+' || *at == L'-')
            at++;
        const wchar_t *exponent = at;
        bool ignored = false;
        at = SkipDigits(at, &ignored);
        if (at == exponent)
            return shape;
    }
    shape.end = at;
    return shape;
}

// The number's value as the C library reads its ASCII form with a point.
static double NumberValue(const wchar_t *text, const wchar_t *end)
{
    std::string number;
    for (; text < end; text++)
        number += *text == L',' ? '.' : (char)*text;
    return strtod(number.c_str(), nullptr);
}

LengthVerdict CalibrationLength_Read(const wchar_t *text, int32_t lineLength, float *length)
{
    while (iswspace(*text))
        text++;
    if (!*text)
        return LENGTH_EMPTY;
    NumberShape shape = ReadShape(text);
    const wchar_t *rest = shape.end;
    while (rest && iswspace(*rest))
        rest++;
    if (!rest || *rest)
        return LENGTH_NOT_A_NUMBER;
    if (shape.negative || !shape.nonZero)
        return LENGTH_NOT_POSITIVE;
    double value = NumberValue(text, shape.end);
    if (!(value <= FLT_MAX))
        return LENGTH_TOO_LARGE;
    float typed = (float)value;
    if (!(Calibration_PixelsPerUnit(lineLength, typed) > 0))
        return LENGTH_TOO_SMALL; // below the smallest float, or the scale overflows
    *length = typed;
    return LENGTH_READ;
}

int CalibrationLength_RefusalText(LengthVerdict verdict)
{
    switch (verdict) {
    case LENGTH_READ:
        break;
    case LENGTH_EMPTY:
        return 1280;
    case LENGTH_NOT_A_NUMBER:
        return 1281;
    case LENGTH_NOT_POSITIVE:
        return 1282;
    case LENGTH_TOO_LARGE:
        return 1283;
    case LENGTH_TOO_SMALL:
        return 1284;
    }
    return 0;
}
