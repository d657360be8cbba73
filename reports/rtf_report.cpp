#include "reports/rtf_report.h"

#include "state/language.h"
#include "state/settings.h"
#include "base/text.h"
#include "reports/report_values.h"
#include "view/view_state.h"

enum { TEXT_FONT, TITLE_FONT };
enum { TITLE_TWIPS = 510, DATE_TWIPS = 260, LINE_TWIPS = 160 };

void Report_Title(wchar_t title[REPORT_TITLE_LENGTH + 1])
{
    const wchar_t *chosen = gSettings.reportTitle[0] ? gSettings.reportTitle : Language_Text(REPORT_DEFAULT_TITLE_TEXT);
    Text_Copy(title, REPORT_TITLE_LENGTH + 1, chosen);
}

static void ItemLines(std::string *out)
{
    int number = 1;
    for (const MeasureItem &item : gView.items) {
        ReportRow row;
        if (!Report_ItemRow(item, &row))
            continue;
        wchar_t line[REPORT_LINE_CAPACITY];
        Report_ItemLine(row, number++, line);
        Rtf_Text(out, line);
        Rtf_Par(out);
    }
}

void Report_ComposeRtf(const LocalTime &when, const RtfPicture *picture, std::string *out)
{
    const wchar_t *faces[2] = {Language_Text(REPORT_TEXT_FACE_TEXT), Language_Text(REPORT_TITLE_FACE_TEXT)};
    Rtf_Begin(out, faces, 2);

    wchar_t title[REPORT_TITLE_LENGTH + 1];
    Report_Title(title);
    Rtf_Format(out, RTF_CENTER, TITLE_FONT, TITLE_TWIPS);
    Rtf_Text(out, title);
    Rtf_Par(out);

    wchar_t date[32];
    Text_Format(date, 32, L"%02d/%02d/%04d %02d:%02d:%02d", when.month, when.day, when.year, when.hour,
                when.minute, when.second);
    Rtf_Format(out, RTF_CENTER, TEXT_FONT, DATE_TWIPS);
    Rtf_Text(out, date);
    Rtf_Par(out);
    if (picture)
        Rtf_Picture(out, *picture);
    Rtf_Par(out);

    Rtf_Format(out, RTF_LEFT, TEXT_FONT, LINE_TWIPS);
    Rtf_Par(out);
    wchar_t calibration[REPORT_LINE_CAPACITY];
    Report_CalibrationLine(calibration);
    Rtf_Text(out, calibration);
    Rtf_Par(out);
    ItemLines(out);
    Rtf_Par(out);
    Rtf_End(out);
}
