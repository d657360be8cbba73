// The Report section: three buttons that ask the main window for the
// spreadsheet report, the rich-text report and the report's title.
#include "view/view_source.h"
#include "panel/panel_win.h"
#include "panel/section_layouts.h"
#include "panel/section_win.h"

#include "base/commands.h"
#include "base/platform.h"
#include "base/text.h"
#include "capture/camera_graph.h"

enum { REPORT_XLSX = 101, REPORT_RTF, REPORT_TITLE };

static const SectionControl kControls[REPORT_CONTROLS] = {
    {REPORT_XLSX, L"BUTTON", BS_PUSHBUTTON, 1122},
    {REPORT_RTF, L"BUTTON", BS_PUSHBUTTON, 1123},
    {REPORT_TITLE, L"BUTTON", BS_PUSHBUTTON, 1124},
};

static void Refresh(HWND section, bool)
{
    bool open = View_HasPicture();
    Section_Enable(section, REPORT_XLSX, open);
    Section_Enable(section, REPORT_RTF, open);
}

static const SectionKind kSection = {3, 1121, kControls, REPORT_CONTROLS, Report_Layout, Refresh};

LRESULT CALLBACK ReportSection_Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND) {
        wchar_t line[64];
        Text_Format(line, 64, L"WM_COMMAND %d %d\r\n", LOWORD(wParam), HIWORD(wParam));
        Debug_Print(line);
        static const int commands[] = {CMD_REPORT_XLSX, CMD_REPORT_RTF, CMD_REPORT_TITLE};
        int id = LOWORD(wParam);
        if (id >= REPORT_XLSX && id <= REPORT_TITLE) {
            MainWnd_PostCommand(commands[id - REPORT_XLSX]);
            return 0;
        }
    }
    return Section_DefProc(kSection, window, message, wParam, lParam);
}
