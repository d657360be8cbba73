#include "state/app_state.h"
#include "state/calibrations.h"
#include "state/language.h"
#include "state/settings.h"
#include "reports/report_values.h"
#include "reports/rtf_report.h"
#include "support/view_fixture.h"
#include "view/view_state.h"

#include <cstring>

namespace {

struct Reports : ViewTest {
    void SetUp() override
    {
        ViewTest::SetUp();
        gLanguageTexts.clear();
        const wchar_t *labels[] = {L"No.", L"Position", L"Radius", L"Width", L"Height",
                                   L"Area", L"Perimeter", L"Length", L"Angle", L"Distance"};
        for (int i = 0; i < REPORT_COLUMNS; i++)
            gLanguageTexts[REPORT_LABEL_TEXT + i] = labels[i];
        gLanguageTexts[REPORT_DEFAULT_TITLE_TEXT] = L"Measurement report";
        gLanguageTexts[REPORT_TEXT_FACE_TEXT] = L"Arial";
        gLanguageTexts[REPORT_TITLE_FACE_TEXT] = L"Times New Roman";
        gLanguageTexts[REPORT_CALIBRATION_TEXT] = L"Calibration";
        gLanguageTexts[REPORT_NO_CALIBRATION_TEXT] = L"None: values in pixels";
        gLanguageTexts[1271] = L"Pixels per unit";
        gLanguageTexts[1272] = L"Unit";
        gLanguageTexts[1274] = L"Date";
        gLanguageTexts[1275] = L"Resolution";
        gSettings.reportTitle[0] = 0;
        gView.items.clear();
    }
    void TearDown() override { gView.items.clear(); }

    // The ten cells of an item's row numbered 0; empty when it makes no row.
    static std::vector<std::wstring> Cells(const MeasureItem &item)
    {
        ReportRow row;
        if (!Report_ItemRow(item, &row))
            return {};
        std::vector<std::wstring> cells;
        for (int column = 0; column < REPORT_COLUMNS; column++) {
            wchar_t text[REPORT_CELL_CAPACITY];
            Report_CellText(row, 0, column, text);
            cells.push_back(text);
        }
        return cells;
    }
    static std::wstring Line(const MeasureItem &item, int number)
    {
        ReportRow row;
        EXPECT_TRUE(Report_ItemRow(item, &row));
        wchar_t line[REPORT_LINE_CAPACITY];
        Report_ItemLine(row, number, line);
        return line;
    }
};

using CellTexts = std::vector<std::wstring>;

TEST_F(Reports, EachKindFillsItsColumnsInPixelsOrTheCalibratedUnit)
{
    EXPECT_EQ(Cells(Item(ITEM_LINE, 5, 7, 35, 7)),
              (CellTexts{L"0", L"5,7", L"", L"", L"", L"", L"", L"30.000000", L"", L""}));
    EXPECT_EQ(Cells(Item(ITEM_RECTANGLE, 10, 10, 40, 50)),
              (CellTexts{L"0", L"10,10", L"", L"30.000000", L"40.000000", L"1200.000000", L"140.000000", L"", L"",
                         L""}));
    EXPECT_EQ(Cells(Item(ITEM_POINT_LINE, 0, 5, 10, 5, 3, 9))[COLUMN_DISTANCE], L"4.000000");
    // Rays at 170 and -170 degrees: 20 degrees apart, not 340.
    float angle = std::stof(Cells(Item(ITEM_ANGLE, 0, 0, -985, 174, -985, -174))[COLUMN_ANGLE]);
    EXPECT_NEAR(angle, 20.0f, 0.05f);
    EXPECT_TRUE(Cells(Item(ITEM_TEXT, 1, 1, 0, 0)).empty());
    MeasureItem stroke = Item(ITEM_FREEHAND, 0, 0, 0, 0);
    stroke.points = {{0, 0}, {9, 9}};
    EXPECT_TRUE(Cells(stroke).empty());

    Calibrate(30.0f, 0);
    EXPECT_EQ(Cells(Item(ITEM_CIRCLE, 100, 100, 130, 100)),
              (CellTexts{L"0", L"100,100", L"1.000000", L"", L"", L"3.141593", L"6.283185", L"", L"", L""}));
    EXPECT_EQ(Cells(Item(ITEM_POINT_LINE, 0, 5, 10, 5, 3, 95))[COLUMN_DISTANCE], L"3.000000");
    EXPECT_EQ(Cells(Item(ITEM_LINE, 0, 0, 90, 0))[COLUMN_LENGTH], L"3.000000");

    // A typed length of 1e38 for 100 pixels: a flat rectangle's width is
    // huge, and its area is still none.
    Calibrate(1e-36f, 0);
    CellTexts flat = Cells(Item(ITEM_RECTANGLE, 0, 0, 1000, 0));
    EXPECT_GT(std::stod(flat[COLUMN_WIDTH]), 1e38);
    EXPECT_EQ(flat[COLUMN_AREA], L"0.000000");
}

TEST_F(Reports, ItemLinesNameTheirValuesAndUnitsInColumnOrder)
{
    EXPECT_EQ(Line(Item(ITEM_RECTANGLE, 10, 10, 40, 50), 1),
              L"1:  Position:10,10 px  Width:30.000000 px Height:40.000000 px Area:1200.000000 px\u00b2 "
              L"Perimeter:140.000000 px");
    Calibrate(30.0f, 1);
    EXPECT_EQ(Line(Item(ITEM_CIRCLE, 4, 2, 4, 32), 12),
              L"12:  Position:4,2 px  Radius:1.000000 \u03bcm Area:3.141593 \u03bcm\u00b2 Perimeter:6.283185 \u03bcm");
    EXPECT_EQ(Line(Item(ITEM_ANGLE, 0, 0, 10, 0, 0, 10), 3), L"3:  Position:0,0 px  Angle:90.000000\u00b0");
}

// Headers carry the units, and the calibration is named as the spreadsheet
// and the rich-text report show it: with its slot, from no slot, or none.
TEST_F(Reports, TheUnitsAndTheCalibrationUsedAreNamed)
{
    auto header = [](int column) {
        wchar_t text[REPORT_CELL_CAPACITY];
        Report_ColumnHeader(column, text);
        return std::wstring(text);
    };
    auto line = [] {
        wchar_t text[REPORT_LINE_CAPACITY];
        Report_CalibrationLine(text);
        return std::wstring(text);
    };
    EXPECT_EQ(header(COLUMN_NUMBER), L"No.");
    EXPECT_EQ(header(COLUMN_AREA), L"Area (px\u00b2)");
    EXPECT_EQ(line(), L"Calibration:None: values in pixels");

    Calibration saved = gCalibrations[2];
    gCalibrations[2] = Calibration{L"Lens A", 0, 400, 12.0f, Calibration_PackSize(1280, 720), 20240115, 100.0f / 3};
    gApp.activeCalibration = 2;
    Calibrate(100.0f / 3, 0);
    EXPECT_EQ(header(COLUMN_POSITION), L"Position (px)");
    EXPECT_EQ(header(COLUMN_LENGTH), L"Length (mm)");
    EXPECT_EQ(header(COLUMN_AREA), L"Area (mm\u00b2)");
    EXPECT_EQ(header(COLUMN_ANGLE), L"Angle (\u00b0)");
    ReportFact facts[REPORT_FACTS];
    ASSERT_EQ(Report_CalibrationFacts(facts), 5);
    EXPECT_TRUE(facts[1].numeric);
    EXPECT_EQ(facts[1].number, 33.333332) << "the decimal the stored float stands for";
    EXPECT_EQ(line(), L"Calibration:3 - Lens A  Pixels per unit:33.333332  Unit:mm  Date:2024-01-15  "
                      L"Resolution:1280x720");

    gApp.activeCalibration = -1; // applied from no slot
    EXPECT_EQ(line(), L"Calibration:  Pixels per unit:33.333332  Unit:mm");
    gCalibrations[2] = saved;
}

// Outside the picture's hex, braces pair up once escapes are skipped.
bool GroupsBalance(const std::string &rtf)
{
    int depth = 0;
    for (size_t i = 0; i < rtf.size(); i++) {
        if (rtf[i] == '\\')
            i++;
        else if (rtf[i] == '{')
            depth++;
        else if (rtf[i] == '}' && --depth < 0)
            return false;
    }
    return depth == 0;
}

uint32_t HexWord(const std::string &hex, size_t at)
{
    return (uint32_t)std::stoul(hex.substr(at + 6, 2) + hex.substr(at + 4, 2) + hex.substr(at + 2, 2) +
                                hex.substr(at, 2), nullptr, 16);
}

TEST_F(Reports, TheRichTextDocumentEscapesItsTextAndEmbedsTheBitmapBottomUp)
{
    wcscpy(gSettings.reportTitle, L"Probe \u03bcm \u6d4b\u91cf {\\} \u00b5");
    gView.items.push_back(Item(ITEM_TEXT, 3, 3, 0, 0));
    gView.items.push_back(Item(ITEM_LINE, 5, 7, 35, 7));
    // 2 x 2 pixels, top-down: blue-ish top row, red-ish bottom row.
    const uint8_t pixels[] = {1, 2, 3, 9, 4, 5, 6, 9, 7, 8, 9, 9, 10, 11, 12, 9};
    RtfPicture picture = {2, 2, pixels, 8};
    std::string rtf;
    Report_ComposeRtf(LocalTime{2024, 1, 15, 9, 30, 5, 42}, &picture, &rtf);

    EXPECT_TRUE(GroupsBalance(rtf));
    EXPECT_EQ(rtf.find("{\\rtf1\\ansi"), 0u);
    EXPECT_NE(rtf.find("{\\fonttbl{\\f0\\fnil Arial;}{\\f1\\fnil Times New Roman;}}"), std::string::npos);
    EXPECT_NE(rtf.find("\\qc\\f1\\fs51\\cf1\\b0 Probe \\u956\\'3fm \\u27979\\'3f\\u-28209\\'3f \\{\\\\\\} "
                       "\\u181\\'b5\\par"), std::string::npos) << rtf.substr(0, 300);
    EXPECT_NE(rtf.find("\\qc\\f0\\fs26\\cf1\\b0 01/15/2024 09:30:05\\par"), std::string::npos);
    EXPECT_NE(rtf.find("\\ql\\f0\\fs16\\cf1\\b0 \\par\nCalibration:None: values in pixels\\par\n"
                       "1:  Position:5,7 px  Length:30.000000 px\\par\n\\par\n}"),
              std::string::npos) << "the text item makes no line";

    size_t pict = rtf.find("{\\pict\\dibitmap0\\picw2\\pich2\\picwgoal30\\pichgoal30\n");
    ASSERT_NE(pict, std::string::npos);
    std::string hex;
    for (size_t i = rtf.find('\n', pict) + 1; rtf[i] != '}'; i++)
        if (rtf[i] != '\n')
            hex += rtf[i];
    ASSERT_EQ(hex.size(), 2 * (40u + 16u));
    EXPECT_EQ(HexWord(hex, 0), 40u);
    EXPECT_EQ(HexWord(hex, 8), 2u);
    EXPECT_EQ(HexWord(hex, 16), 2u) << "positive height: rows bottom-up";
    EXPECT_EQ(HexWord(hex, 24), 1u | 32u << 16) << "one plane, 32 bits";
    EXPECT_EQ(HexWord(hex, 32), 0u) << "BI_RGB";
    EXPECT_EQ(hex.substr(80), "070809000a0b0c00010203000405060" "0");

    gSettings.reportTitle[0] = 0;
    rtf.clear();
    Report_ComposeRtf(LocalTime{2024, 1, 15, 9, 30, 5, 42}, nullptr, &rtf);
    EXPECT_NE(rtf.find("\\fs51\\cf1\\b0 Measurement report\\par"), std::string::npos);
    EXPECT_EQ(rtf.find("\\pict"), std::string::npos);
}

TEST_F(Reports, APictureWiderThan640GoesIn640WideAtItsOwnProportions)
{
    const struct {
        int width, height, reportWidth, reportHeight;
    } cases[] = {
        {640, 480, 640, 480},   {1280, 720, 640, 360}, {800, 600, 640, 480},
        {1024, 768, 640, 480},  {1600, 1200, 640, 480}, {1365, 767, 640, 360}, // 359.6 rounded
        {4000, 2, 640, 1},      // never no rows
    };
    for (const auto &c : cases) {
        int width = 0, height = 0;
        Report_PictureSize(c.width, c.height, &width, &height);
        EXPECT_EQ(width, c.reportWidth) << c.width << "x" << c.height;
        EXPECT_EQ(height, c.reportHeight) << c.width << "x" << c.height;
    }
}

} // namespace
