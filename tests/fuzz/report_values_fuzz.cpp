// Report values of any item: any coordinates (the 32-bit extremes included)
// and any calibration scale, NaN and infinities among them. Undefined
// behaviour ends the run (UBSan); every value is a number, never negative,
// and every cell and line is terminated within its field.
#include "fuzz_support.h"

#include "state/language.h"
#include "reports/report_values.h"
#include "view/view_state.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <climits>
#include <cmath>
#include <cwchar>

static const int32_t kExtremes[] = {INT32_MIN, INT32_MIN + 1, -65536, -1, 0, 1, 46341, 65535, INT32_MAX - 1, INT32_MAX};

static int32_t Coordinate(FuzzedDataProvider &input)
{
    return input.ConsumeBool() ? input.PickValueInArray(kExtremes) : input.ConsumeIntegral<int32_t>();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    static const float kScales[] = {-1.0f, 0.0f, 1e-38f, 1e-45f, 1.0f, 1e38f, INFINITY, -INFINITY, NAN};
    gView.scale = input.ConsumeBool() ? input.PickValueInArray(kScales) : input.ConsumeFloatingPoint<float>();
    MeasureItem item = {};
    item.kind = input.ConsumeIntegralInRange<int32_t>(0, ITEM_TEXT + 1);
    int32_t *coordinates[] = {&item.x1, &item.y1, &item.x2, &item.y2, &item.x3, &item.y3};
    for (int32_t *c : coordinates)
        *c = Coordinate(input);

    ReportRow row;
    bool measured = Report_ItemRow(item, &row);
    FUZZ_CHECK(measured == (item.kind >= ITEM_LINE && item.kind <= ITEM_ANGLE));
    if (!measured)
        return 0;
    FUZZ_CHECK(row.x == item.x1 && row.y == item.y1);
    for (int column = 0; column < REPORT_COLUMNS; column++) {
        if (row.filled[column])
            FUZZ_CHECK(!std::isnan(row.values[column]) && row.values[column] >= 0);
        wchar_t cell[REPORT_CELL_CAPACITY];
        Report_CellText(row, input.ConsumeIntegral<int>(), column, cell);
        FUZZ_CHECK(wmemchr(cell, 0, REPORT_CELL_CAPACITY) != nullptr);
    }
    if (row.filled[COLUMN_ANGLE])
        FUZZ_CHECK(row.values[COLUMN_ANGLE] <= 180);
    wchar_t line[REPORT_LINE_CAPACITY];
    Report_ItemLine(row, input.ConsumeIntegral<int>(), line);
    FUZZ_CHECK(wmemchr(line, 0, REPORT_LINE_CAPACITY) != nullptr);
    return 0;
}
