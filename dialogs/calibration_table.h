// What the calibration dialogs show and read, without any window: the
// columns and cell texts of the calibration table, and the typed length.
#pragma once
#include "state/calibrations.h"
#include "base/geometry.h"

#include <cstddef>

enum CellAlignment { CELL_LEFT, CELL_RIGHT, CELL_CENTRED };

struct CalibrationColumn {
    int titleTextId;
    int width; // pixels at 96 DPI
    CellAlignment alignment;
};

enum { CALIBRATION_COLUMNS = 6 };
extern const CalibrationColumn kCalibrationColumns[CALIBRATION_COLUMNS];

// The text of one cell of the row of slot (0 to 9); empty where the slot has
// nothing to show in that column.
void CalibrationTable_Cell(int slot, const Calibration &calibration, int column, wchar_t *text,
                           size_t capacity);

enum { LENGTH_TEXT_CAPACITY = 65 }; // the length field: 64 characters and the terminator

// What the typed real length is: a length to store, or why it is refused.
enum LengthVerdict {
    LENGTH_READ,
    LENGTH_EMPTY,
    LENGTH_NOT_A_NUMBER, // anything but one decimal number
    LENGTH_NOT_POSITIVE,
    LENGTH_TOO_LARGE, // beyond the stored 32-bit length
    LENGTH_TOO_SMALL, // so small that the scale would overflow
};

// Reads the length typed for a calibration line of lineLength pixels (> 0):
// one decimal number with blanks around it, a point or a comma as its
// decimal separator (whatever the language), an optional exponent ("1e3").
// Sets *length only when the verdict is LENGTH_READ.
LengthVerdict CalibrationLength_Read(const wchar_t *text, int32_t lineLength, float *length);
// The language text that tells the user why a length is refused.
int CalibrationLength_RefusalText(LengthVerdict verdict);

// What the calibration dialogs remember while the program runs: the slot the
// Calibration dialog measures (the table selects it when it opens), and where
// the table was when Calibrate closed it, (-1, -1) when it opens in its place.
struct CalibrationDialogState {
    int calibratingSlot;
    Point configDialogPos;
};
extern CalibrationDialogState gCalibrationDialogs;
