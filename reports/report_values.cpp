#include "reports/report_values.h"

#include "state/app_state.h"
#include "state/calibrations.h"
#include "state/language.h"
#include "base/text.h"
#include "view/labels.h"
#include "view/view_state.h"

#include <cmath>

// A pixel value in the applied calibration's unit; in pixels without one.
static double Scaled(double pixels)
{
    return gView.scale > 0 ? pixels / MeasureItem_UnitScale() : pixels;
}

static void Fill(ReportRow *row, int column, double value)
{
    row->filled[column] = true;
    row->values[column] = value;
}

static void LineRow(const MeasureItem &item, ReportRow *row)
{
    Fill(row, COLUMN_LENGTH, Scaled(MeasureItem_PixelLength(item.x1, item.y1, item.x2, item.y2)));
}

static void PointLineRow(const MeasureItem &item, ReportRow *row)
{
    Fill(row, COLUMN_DISTANCE, MeasureItem_PointLineDistance(item));
}

static void RectangleRow(const MeasureItem &item, ReportRow *row)
{
    // In double: far-apart corners overflow a 32-bit difference.
    double w = Scaled(std::fabs((double)item.x2 - item.x1));
    double h = Scaled(std::fabs((double)item.y2 - item.y1));
    Fill(row, COLUMN_WIDTH, w);
    Fill(row, COLUMN_HEIGHT, h);
    // Without height or width there is no area, even where a tiny scale made
    // the other side infinite.
    Fill(row, COLUMN_AREA, w == 0 || h == 0 ? 0 : w * h);
    Fill(row, COLUMN_PERIMETER, (w + h) * 2);
}

static void CircleRow(const MeasureItem &item, ReportRow *row)
{
    double r = Scaled(MeasureItem_PixelLength(item.x1, item.y1, item.x2, item.y2));
    Fill(row, COLUMN_RADIUS, r);
    Fill(row, COLUMN_AREA, kPi * r * r);
    Fill(row, COLUMN_PERIMETER, 2 * kPi * r);
}

static void AngleRow(const MeasureItem &item, ReportRow *row)
{
    Fill(row, COLUMN_ANGLE, MeasureItem_Angle(item.x1, item.y1, item.x2, item.y2, item.x3, item.y3));
}

bool Report_ItemRow(const MeasureItem &item, ReportRow *row)
{
    *row = ReportRow{};
    if (!MeasureItem_Measures(item))
        return false;
    row->x = item.x1;
    row->y = item.y1;
    switch (item.kind) {
    case ITEM_LINE:
        LineRow(item, row);
        return true;
    case ITEM_POINT_LINE:
        PointLineRow(item, row);
        return true;
    case ITEM_RECTANGLE:
        RectangleRow(item, row);
        return true;
    case ITEM_CIRCLE:
        CircleRow(item, row);
        return true;
    case ITEM_ANGLE:
        AngleRow(item, row);
        return true;
    }
    return false;
}

void Report_CellText(const ReportRow &row, int number, int column, wchar_t text[REPORT_CELL_CAPACITY])
{
    if (column == COLUMN_NUMBER)
        Label_Format(text, L"", L"", "%d", number);
    else if (column == COLUMN_POSITION)
        Label_Format(text, L"", L"", "%d,%d", row.x, row.y);
    else if (row.filled[column])
        Label_Format(text, L"", L"", "%f", (double)row.values[column]);
    else
        text[0] = 0;
}

const wchar_t *Report_ColumnUnit(int column)
{
    static const wchar_t kSquared[][UNIT_TEXT_CAPACITY] = {L"mm\u00b2", L"\u03bcm\u00b2", L"px\u00b2"};
    bool calibrated = gView.scale > 0;
    int unit = calibrated ? (gView.unitIndex == 0 ? 0 : 1) : 2;
    switch (column) {
    case COLUMN_NUMBER:
        return L"";
    case COLUMN_POSITION:
        return L"px";
    case COLUMN_ANGLE:
        return L"\u00b0";
    case COLUMN_AREA:
        return kSquared[unit];
    }
    return calibrated ? Unit_Name(gView.unitIndex) : L"px";
}

void Report_ColumnHeader(int column, wchar_t header[REPORT_CELL_CAPACITY])
{
    const wchar_t *label = Language_Text(REPORT_LABEL_TEXT + column), *unit = Report_ColumnUnit(column);
    if (unit[0])
        Text_Format(header, REPORT_CELL_CAPACITY, L"%ls (%ls)", label, unit);
    else
        Text_Copy(header, REPORT_CELL_CAPACITY, label);
}

static void AppendLabelled(wchar_t *line, int column, const wchar_t *cell)
{
    Text_Append(line, REPORT_LINE_CAPACITY, Language_Text(REPORT_LABEL_TEXT + column));
    Text_Append(line, REPORT_LINE_CAPACITY, L":");
    Text_Append(line, REPORT_LINE_CAPACITY, cell);
    const wchar_t *unit = Report_ColumnUnit(column);
    if (column != COLUMN_ANGLE)
        Text_Append(line, REPORT_LINE_CAPACITY, L" ");
    Text_Append(line, REPORT_LINE_CAPACITY, unit);
}

void Report_ItemLine(const ReportRow &row, int number, wchar_t line[REPORT_LINE_CAPACITY])
{
    wchar_t cell[REPORT_CELL_CAPACITY];
    Text_Format(line, REPORT_LINE_CAPACITY, L"%d:  ", number);
    Report_CellText(row, number, COLUMN_POSITION, cell);
    AppendLabelled(line, COLUMN_POSITION, cell);
    const wchar_t *separator = L"  ";
    for (int column = COLUMN_RADIUS; column < REPORT_COLUMNS; column++) {
        if (!row.filled[column])
            continue;
        Text_Append(line, REPORT_LINE_CAPACITY, separator);
        Report_CellText(row, number, column, cell);
        AppendLabelled(line, column, cell);
        separator = L" ";
    }
}

// The calibration table's column texts.
enum { PIXELS_PER_UNIT_TEXT = 1271, UNIT_TEXT = 1272, DATE_TEXT = 1274, CAPTURE_SIZE_TEXT = 1275 };

// The applied calibration's slot, -1 when it came from none.
static int AppliedSlot()
{
    int slot = gApp.activeCalibration;
    return slot >= 0 && slot < CALIBRATION_SLOTS && gCalibrations[slot].pixelsPerUnit > 0 ? slot : -1;
}

static ReportFact *NextFact(ReportFact *facts, int *count, int labelText)
{
    ReportFact *fact = &facts[(*count)++];
    *fact = ReportFact{Language_Text(labelText), L"", false, 0};
    return fact;
}

int Report_CalibrationFacts(ReportFact facts[REPORT_FACTS])
{
    int count = 0;
    ReportFact *fact = NextFact(facts, &count, REPORT_CALIBRATION_TEXT);
    if (!(gView.scale > 0)) {
        Text_Copy(fact->text, REPORT_CELL_CAPACITY, Language_Text(REPORT_NO_CALIBRATION_TEXT));
        return count;
    }
    int slot = AppliedSlot();
    const Calibration *c = slot >= 0 ? &gCalibrations[slot] : nullptr;
    if (c && c->name[0])
        Text_Format(fact->text, REPORT_CELL_CAPACITY, L"%d - %ls", slot + 1, c->name);
    else if (c)
        Text_Format(fact->text, REPORT_CELL_CAPACITY, L"%d", slot + 1);
    else if (gApp.activeCalibration == CALIBRATION_PICTURE)
        Text_Copy(fact->text, REPORT_CELL_CAPACITY, Language_Text(PICTURE_SCALE_TEXT));
    fact = NextFact(facts, &count, PIXELS_PER_UNIT_TEXT);
    fact->numeric = true;
    fact->number = MeasureItem_UnitScale();
    Label_Format(fact->text, L"", L"", "%.9g", fact->number);
    Text_Copy(NextFact(facts, &count, UNIT_TEXT)->text, REPORT_CELL_CAPACITY, Unit_Name(gView.unitIndex));
    if (!c)
        return count;
    Text_Format(NextFact(facts, &count, DATE_TEXT)->text, REPORT_CELL_CAPACITY, L"%04d-%02d-%02d",
                c->calibratedOn / 10000, c->calibratedOn / 100 % 100, c->calibratedOn % 100);
    Text_Format(NextFact(facts, &count, CAPTURE_SIZE_TEXT)->text, REPORT_CELL_CAPACITY, L"%dx%d", Calibration_Width(c),
                Calibration_Height(c));
    return count;
}

void Report_CalibrationLine(wchar_t line[REPORT_LINE_CAPACITY])
{
    ReportFact facts[REPORT_FACTS];
    int count = Report_CalibrationFacts(facts);
    line[0] = 0;
    for (int i = 0; i < count; i++) {
        if (i > 0)
            Text_Append(line, REPORT_LINE_CAPACITY, L"  ");
        Text_Append(line, REPORT_LINE_CAPACITY, facts[i].label);
        Text_Append(line, REPORT_LINE_CAPACITY, L":");
        Text_Append(line, REPORT_LINE_CAPACITY, facts[i].text);
    }
}

bool Report_ProposedName(wchar_t *name, size_t capacity, const wchar_t *folder, const LocalTime &t,
                         const wchar_t *extension)
{
    return Text_Format(name, capacity, L"%ls\\%d%02d%02d-%02d%02d%02d.%ls", folder, t.year, t.month, t.day,
                       t.hour, t.minute, t.second, extension);
}

void Report_PictureSize(int width, int height, int *reportWidth, int *reportHeight)
{
    *reportWidth = width;
    *reportHeight = height;
    if (width <= REPORT_PICTURE_WIDTH)
        return;
    int64_t scaled = ((int64_t)height * REPORT_PICTURE_WIDTH + width / 2) / width;
    *reportWidth = REPORT_PICTURE_WIDTH;
    *reportHeight = scaled > 0 ? (int)scaled : 1;
}
