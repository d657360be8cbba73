// The spreadsheet report: a header row naming each column's unit, one row
// per measuring item numbered from 1 with its values as numbers, and below
// them the calibration the values were computed with; written with
// libxlsxwriter.
#include "reports/reports_win.h"

#include "state/app_state.h"
#include "state/language.h"
#include "reports/report_file_win.h"
#include "reports/report_values.h"
#include "view/view_state.h"

#include <xlsxwriter.h>

#include <cmath>

enum { UTF8_PATH_CAPACITY = 3 * PATH_CAPACITY, UTF8_TEXT_CAPACITY = 512 };

static const wchar_t kFilter[] = L"Microsoft excel file\0*.xlsx\0";

// The sheet being written, and whether every cell went in.
struct Sheet {
    lxw_worksheet *sheet;
    lxw_format *decimals; // the six decimals the values always showed
    bool written;
};

static bool Utf8(const wchar_t *text, char *out, int capacity)
{
    return WideCharToMultiByte(CP_UTF8, 0, text, -1, out, capacity, nullptr, nullptr) > 0;
}

static void WriteText(Sheet *sheet, int row, int column, const wchar_t *text)
{
    if (!text[0])
        return; // empty cells are not written
    char utf8[UTF8_TEXT_CAPACITY];
    sheet->written &= Utf8(text, utf8, sizeof utf8) &&
                      worksheet_write_string(sheet->sheet, (lxw_row_t)row, (lxw_col_t)column, utf8, nullptr) ==
                          LXW_NO_ERROR;
}

// A number cell; a value beyond every number a workbook holds (far-apart
// points at a tiny scale) is written as its text, "inf".
static void WriteNumber(Sheet *sheet, int row, int column, double value, lxw_format *format, const wchar_t *text)
{
    if (!std::isfinite(value)) {
        WriteText(sheet, row, column, text);
        return;
    }
    sheet->written &= worksheet_write_number(sheet->sheet, (lxw_row_t)row, (lxw_col_t)column, value, format) ==
                      LXW_NO_ERROR;
}

// The item rows below the header; gives the number of the last.
static int WriteItems(Sheet *sheet)
{
    int number = 0;
    for (const MeasureItem &item : gView.items) {
        ReportRow row;
        if (!Report_ItemRow(item, &row))
            continue;
        number++;
        wchar_t cell[REPORT_CELL_CAPACITY];
        Report_CellText(row, number, COLUMN_NUMBER, cell);
        WriteNumber(sheet, number, COLUMN_NUMBER, number, nullptr, cell);
        Report_CellText(row, number, COLUMN_POSITION, cell);
        WriteText(sheet, number, COLUMN_POSITION, cell);
        for (int column = COLUMN_RADIUS; column < REPORT_COLUMNS; column++) {
            if (!row.filled[column])
                continue;
            Report_CellText(row, number, column, cell);
            WriteNumber(sheet, number, column, row.values[column], sheet->decimals, cell);
        }
    }
    return number;
}

// The calibration's facts, label and value, from row on.
static void WriteCalibration(Sheet *sheet, int row)
{
    ReportFact facts[REPORT_FACTS];
    int count = Report_CalibrationFacts(facts);
    for (int i = 0; i < count; i++, row++) {
        WriteText(sheet, row, 0, facts[i].label);
        if (facts[i].numeric)
            WriteNumber(sheet, row, 1, facts[i].number, nullptr, facts[i].text);
        else
            WriteText(sheet, row, 1, facts[i].text);
    }
}

static bool WriteSheet(Sheet *sheet)
{
    sheet->written = worksheet_set_column(sheet->sheet, 0, 0, 16.0, nullptr) == LXW_NO_ERROR &&
                     worksheet_set_column(sheet->sheet, 1, REPORT_COLUMNS - 1, 14.0, nullptr) == LXW_NO_ERROR;
    for (int column = 0; column < REPORT_COLUMNS; column++) {
        wchar_t header[REPORT_CELL_CAPACITY];
        Report_ColumnHeader(column, header);
        WriteText(sheet, 0, column, header);
    }
    int last = WriteItems(sheet);
    WriteCalibration(sheet, last + 2); // after an empty row
    return sheet->written;
}

static bool WriteWorkbook(const wchar_t *file, const void *)
{
    char name[UTF8_PATH_CAPACITY];
    if (!Utf8(file, name, sizeof name))
        return false;
    lxw_workbook *workbook = workbook_new(name);
    if (!workbook)
        return false;
    Sheet sheet = {workbook_add_worksheet(workbook, nullptr), workbook_add_format(workbook), false};
    bool written = false;
    if (sheet.sheet && sheet.decimals) {
        format_set_num_format(sheet.decimals, "0.000000");
        written = WriteSheet(&sheet);
    }
    // Closing writes the file and frees the workbook, also after a failure.
    return workbook_close(workbook) == LXW_NO_ERROR && written;
}

void Report_SaveXlsx()
{
    LocalTime now;
    Clock_LocalTime(&now);
    wchar_t path[PATH_CAPACITY];
    if (Report_ChooseFile(now, kFilter, L"xlsx", path))
        Report_WriteFile(path, WriteWorkbook, nullptr);
}
