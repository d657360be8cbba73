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
// one); false for the kinds that measure nothing (freehand, text). A value
// beyond the float range (far-apart points at a tiny scale) is infinite,
// and its cell reads "inf".
bool Report_ItemRow(const MeasureItem &item, ReportRow *row);

// The text of one cell of a row numbered number: "%d", then "%d,%d" of the
// first point, then "%f" of each filled value; "" for a column left empty.
void Report_CellText(const ReportRow &row, int number, int column, wchar_t text[REPORT_CELL_CAPACITY]);

// The rich-text report's line of a row: "n:  Position:x,y  Label:value" with
// the row's values in column order, separated by one space; no line end.
void Report_ItemLine(const ReportRow &row, int number, wchar_t line[REPORT_LINE_CAPACITY]);

// The name a save dialog proposes: "%s\%d%02d%02d-%02d%02d%02d.%s".
bool Report_ProposedName(wchar_t *name, size_t capacity, const wchar_t *folder, const LocalTime &time,
                         const wchar_t *extension);

// The size at which a picture goes into the rich-text report: its own, or
// for a picture wider than 640 pixels 640 wide at its own proportions (the
// height rounded, at least 1), so that circles stay round.
void Report_PictureSize(int width, int height, int *reportWidth, int *reportHeight);
