// The spreadsheet report: a header row and one row of text cells per
// measurable item, written with libxlsxwriter.
#include "reports/reports_win.h"

#include "state/app_state.h"
#include "state/language.h"
#include "reports/report_file_win.h"
#include "reports/report_values.h"
#include "view/view_state.h"

#include <xlsxwriter.h>

enum { UTF8_PATH_CAPACITY = 3 * PATH_CAPACITY, UTF8_TEXT_CAPACITY = 512 };

static const wchar_t kFilter[] = L"Microsoft excel file\0*.xlsx\0";

static bool Utf8(const wchar_t *text, char *out, int capacity)
{
    return WideCharToMultiByte(CP_UTF8, 0, text, -1, out, capacity, nullptr, nullptr) > 0;
}

static bool WriteCell(lxw_worksheet *sheet, int row, int column, const wchar_t *text)
{
    if (!text[0])
        return true; // empty cells are not written
    char utf8[UTF8_TEXT_CAPACITY];
    return Utf8(text, utf8, sizeof utf8) &&
           worksheet_write_string(sheet, (lxw_row_t)row, (lxw_col_t)column, utf8, nullptr) == LXW_NO_ERROR;
}

static bool WriteRows(lxw_worksheet *sheet)
{
    bool written = true;
    for (int column = 0; column < REPORT_COLUMNS; column++)
        written &= WriteCell(sheet, 0, column, Language_Text(REPORT_LABEL_TEXT + column));
    int number = 0;
    for (const MeasureItem &item : gView.items) {
        ReportRow row;
        if (!Report_ItemRow(item, &row))
            continue;
        for (int column = 0; column < REPORT_COLUMNS; column++) {
            wchar_t cell[REPORT_CELL_CAPACITY];
            Report_CellText(row, number, column, cell);
            written &= WriteCell(sheet, number + 1, column, cell);
        }
        number++;
    }
    return written;
}

static bool WriteWorkbook(const wchar_t *file, const void *)
{
    char name[UTF8_PATH_CAPACITY];
    if (!Utf8(file, name, sizeof name))
        return false;
    lxw_workbook *workbook = workbook_new(name);
    if (!workbook)
        return false;
    lxw_worksheet *sheet = workbook_add_worksheet(workbook, nullptr);
    bool written = sheet && worksheet_set_column(sheet, 0, REPORT_COLUMNS - 1, 10.0, nullptr) == LXW_NO_ERROR &&
                   WriteRows(sheet);
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
