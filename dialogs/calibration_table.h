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

// The typed real length: leading blanks skipped, a decimal number read up to
// the first character that cannot continue it, 0 when there are no digits.
double CalibrationLength_Parse(const wchar_t *text);

// What the calibration dialogs remember while the program runs: the slot the
// Calibration dialog measures (the table selects it when it opens), and where
// the table was when Calibrate closed it, (-1, -1) when it opens in its place.
struct CalibrationDialogState {
    int calibratingSlot;
    Point configDialogPos;
};
extern CalibrationDialogState gCalibrationDialogs;
