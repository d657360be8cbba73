// What the reports say about each measurement item: the spreadsheet's
// columns, which the rich-text report's item lines use as well.
#pragma once
#include "base/clock.h"
#include "view/measure_item.h"
#include <cstddef>
#include <cstdint>

enum ReportColumn {
    COLUMN_NUMBER,
    COLUMN_POSITION,
    COLUMN_RADIUS,
    COLUMN_WIDTH,
    COLUMN_HEIGHT,
    COLUMN_AREA,
    COLUMN_PERIMETER, // the circumference of a circle
    COLUMN_LENGTH,
    COLUMN_ANGLE,
    COLUMN_DISTANCE,
    REPORT_COLUMNS
};

enum {
    REPORT_LABEL_TEXT = 1500, // texts 1500 to 1509 label the columns
    REPORT_CALIBRATION_TEXT = 1510,
    REPORT_NO_CALIBRATION_TEXT = 1511,
    REPORT_CELL_CAPACITY = LABEL_CAPACITY, // cells are formatted like the view's labels
    REPORT_LINE_CAPACITY = 512,
    REPORT_PICTURE_WIDTH = 640, // wider pictures are scaled down to this width
};

struct ReportRow {
    int32_t x, y; // the item's first point
    bool filled[REPORT_COLUMNS];
    double values[REPORT_COLUMNS];
};

// The row of an item with the view's calibration (values in pixels without
// one); false for the items that measure nothing (MeasureItem_Measures). A value
// beyond the float range (far-apart points at a tiny scale) is infinite,
// and its cell reads "inf".
bool Report_ItemRow(const MeasureItem &item, ReportRow *row);

// The text of one cell of a row numbered number: "%d", then "%d,%d" of the
// first point, then "%f" of each filled value; "" for a column left empty.
void Report_CellText(const ReportRow &row, int number, int column, wchar_t text[REPORT_CELL_CAPACITY]);

// The unit of a column's values: the applied calibration's ("mm", "μm"),
// squared for areas, "px" without one and for positions, "°" for angles,
// "" for the number.
const wchar_t *Report_ColumnUnit(int column);

// A column's header: its label and, for a column with a unit, the unit in
// brackets: "Length (mm)", "Area (mm²)", "No.".
void Report_ColumnHeader(int column, wchar_t header[REPORT_CELL_CAPACITY]);

// The rich-text report's line of a row: "n:  Position:x,y px  Label:value unit"
// with the row's values in column order, separated by one space ("°"
// follows its value directly); no line end.
void Report_ItemLine(const ReportRow &row, int number, wchar_t line[REPORT_LINE_CAPACITY]);

// What the reports say of the calibration the values were computed with.
// With a calibration: its slot and name ("3 - Lens A", or "3"; empty when it
// was applied from no slot), its pixels per unit (a number, shown as the
// decimal the stored value stands for) and unit, and for a slot its date
// (yyyy-mm-dd) and capture size ("1280x720"); without one a single fact
// saying that the values are pixels.
enum { REPORT_FACTS = 5 };
struct ReportFact {
    const wchar_t *label;
    wchar_t text[REPORT_CELL_CAPACITY];
    bool numeric;
    double number; // the value of a numeric fact, which text shows
};
int Report_CalibrationFacts(ReportFact facts[REPORT_FACTS]);

// The rich-text report's calibration line: the facts as "Label:text"
// separated by two spaces.
void Report_CalibrationLine(wchar_t line[REPORT_LINE_CAPACITY]);

// The name a save dialog proposes: "%s\%d%02d%02d-%02d%02d%02d.%s".
bool Report_ProposedName(wchar_t *name, size_t capacity, const wchar_t *folder, const LocalTime &time,
                         const wchar_t *extension);

// The size at which a picture goes into the rich-text report: its own, or
// for a picture wider than 640 pixels 640 wide at its own proportions (the
// height rounded, at least 1), so that circles stay round.
void Report_PictureSize(int width, int height, int *reportWidth, int *reportHeight);
