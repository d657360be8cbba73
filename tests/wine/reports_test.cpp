// Both reports as a person makes them: items drawn with the mouse over the
// virtual microscope's picture, the report commands, the save dialog
// answered by the test. The files the first test leaves in report-files/
// are then read with LibreOffice and poppler on the Linux side
// (check_reports.py, the CTest entry Reports.ReadWithLibreOffice).
#include "state/app_state.h"
#include "app/mainwnd_win.h"
#include "state/calibrations.h"
#include "state/prompt.h"
#include "state/settings.h"
#include "base/clock.h"
#include "base/commands.h"
#include "base/gdiplus_win.h"
#include "base/platform.h"
#include "base/text.h"
#include "capture/camera_graph.h"
#include "modal_dialog.h"
#include "program_harness.h"
#include "reports/report_file_win.h"
#include "state/view_api.h"
#include "view/measure_item.h"
#include "view/view_state.h"
#include "view/view_win.h"

#include <dlgs.h>
#include <gtest/gtest.h>
#include <richedit.h>
#include <richole.h>

namespace {

LocalTime gNow = {2024, 1, 15, 9, 30, 5, 42};
void FixedClock(LocalTime *now)
{
    *now = gNow;
}

// The save dialog's part: what it was asked, and the answer (empty: Cancel).
std::wstring gAnswer;
std::vector<std::wstring> gProposed;
BOOL WINAPI AnswerSaveDialog(OPENFILENAMEW *dialog)
{
    gProposed.push_back(dialog->lpstrFile);
    if (gAnswer.empty())
        return FALSE;
    lstrcpynW(dialog->lpstrFile, gAnswer.c_str(), (int)dialog->nMaxFile);
    return TRUE;
}

struct Reports : testing::Test {
    ProgramHarness program;
    void SetUp() override
    {
        Clock_LocalTime = FixedClock;
        Report_GetSaveFileName = AnswerSaveDialog;
        gProposed.clear();
        gSettings.imageFormat = 1; // PNG: the reference picture is lossless
    }
    void TearDown() override
    {
        Clock_LocalTime = savedClock;
        Report_GetSaveFileName = GetSaveFileNameW;
    }
    void (*savedClock)(LocalTime *) = Clock_LocalTime;

    void Command(int command) const { SendMessageW(program.main, WM_COMMAND, command, 0); }
    // Files, not folders; the name of the last one found.
    static int Files(const std::wstring &pattern, std::wstring *last = nullptr)
    {
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW(pattern.c_str(), &found);
        int n = 0;
        for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found)) {
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                continue;
            n++;
            if (last)
                *last = found.cFileName;
        }
        if (search != INVALID_HANDLE_VALUE)
            FindClose(search);
        return n;
    }
};

std::string Utf8(const std::wstring &text)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), (int)text.size(), nullptr, 0, nullptr, nullptr);
    std::string out((size_t)n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), (int)text.size(), out.data(), n, nullptr, nullptr);
    return out;
}

void WriteUtf8(const std::wstring &path, const std::wstring &text)
{
    std::string bytes = Utf8(text);
    File_WriteBytes(path, bytes.data(), bytes.size());
}

std::vector<unsigned char> ReadAll(const std::wstring &path)
{
    std::vector<unsigned char> bytes;
    File_ReadAll(path.c_str(), 64 << 20, &bytes);
    return bytes;
}

struct StreamSource {
    const std::vector<unsigned char> *bytes;
    size_t at;
};

DWORD CALLBACK ReadBlock(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG *given)
{
    auto *source = (StreamSource *)cookie;
    size_t n = std::min((size_t)wanted, source->bytes->size() - source->at);
    memcpy(buffer, source->bytes->data() + source->at, n);
    source->at += n;
    *given = (LONG)n;
    return 0;
}

// Loads an RTF file into a rich-edit control as WordPad does; gives how many
// embedded objects it holds and its text.
int RichEditObjects(const std::wstring &path, std::wstring *text)
{
    std::vector<unsigned char> bytes = ReadAll(path);
    HWND edit = CreateWindowExW(0, L"RICHEDIT50W", L"", WS_POPUP | ES_MULTILINE, 0, 0, 800, 600, nullptr, nullptr,
                                nullptr, nullptr);
    if (!edit)
        return -1;
    StreamSource source = {&bytes, 0};
    EDITSTREAM stream = {(DWORD_PTR)&source, 0, ReadBlock};
    SendMessageW(edit, EM_STREAMIN, SF_RTF, (LPARAM)&stream);
    IRichEditOle *ole = nullptr;
    SendMessageW(edit, EM_GETOLEINTERFACE, 0, (LPARAM)&ole);
    int objects = ole ? ole->GetObjectCount() : -1;
    if (ole)
        ole->Release();
    std::vector<wchar_t> buffer(4096);
    GetWindowTextW(edit, buffer.data(), (int)buffer.size());
    *text = buffer.data();
    DestroyWindow(edit);
    return objects;
}

// The snapshot as the report should show it: GDI+'s 640 x 360 thumbnail.
bool SaveThumbnail(const std::wstring &snapshot, const std::wstring &png)
{
    Gdiplus::GpBitmap *bitmap = nullptr;
    Gdiplus::GpImage *thumbnail = nullptr;
    if (Gdip::GdipCreateBitmapFromFile(snapshot.c_str(), &bitmap) != Gdiplus::Ok)
        return false;
    bool saved = Gdip::GdipGetImageThumbnail(bitmap, 640, 360, &thumbnail, nullptr, nullptr) == Gdiplus::Ok &&
                 Gdip::GdipSaveImageToFile(thumbnail, png.c_str(), (const CLSID *)&gApp.pngEncoder, nullptr) ==
                     Gdiplus::Ok;
    if (thumbnail)
        Gdip::GdipDisposeImage(thumbnail);
    Gdip::GdipDisposeImage(bitmap);
    return saved;
}

bool SwitchTo1280x720(ProgramHarness &program)
{
    int index = 0;
    for (const auto &entry : Camera_CurrentFormatMap()) {
        if (entry.second.width == 1280 && entry.second.height == 720) {
            SendMessageW(program.main, WM_COMMAND, CMD_RESOLUTION_FIRST + index, 0);
            return program.WaitForCamera() && program.RunUntil([] { return gView.imageWidth == 1280; });
        }
        index++;
    }
    return false;
}

// The click that places the third point, after the pointer moved there.
void ThirdPoint(const ProgramHarness &program, int x, int y)
{
    POINT p = program.ViewPoint(x, y);
    SendMessageW(gApp.cameraView, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
    program.Drag(x, y, x, y);
}

// One of each measurable kind and a freehand stroke (which no report lists)
// at a calibration of 40 pixels per mm stored in slot 2 and applied: the
// values each report must show, by row.
void DrawItems(const ProgramHarness &program)
{
    ASSERT_TRUE(Calibration_Store(1, 0, 400, 10.0f, 1280, 720));
    Calibration_SetName(&gCalibrations[1], L"Objektiv \u00b5");
    Calibration_Apply(1);
    ASSERT_EQ(gView.scale, 40.0f);
    program.Click(CMD_TOOL_LINE);
    program.Drag(100, 100, 140, 130); // 50 px
    program.Click(CMD_TOOL_FREEHAND);
    program.Drag(500, 500, 560, 540);
    program.Click(CMD_TOOL_RECTANGLE);
    program.Drag(200, 100, 280, 160);
    program.Click(CMD_TOOL_CIRCLE);
    program.Drag(400, 150, 440, 150);
    program.Click(CMD_TOOL_ANGLE);
    program.Drag(100, 300, 200, 300);
    ThirdPoint(program, 100, 200);
    program.Click(CMD_TOOL_POINT_LINE);
    program.Drag(300, 300, 400, 300);
    ThirdPoint(program, 350, 380);
    program.Click(CMD_TOOL_POINTER);
}

// The build tree, where wine_tests.exe lies.
std::wstring BuildFolder()
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    *wcsrchr(path, L'\\') = 0;
    return path;
}

const wchar_t kTitle[] = L"Probe \u03bcm \u6d4b\u91cf";

TEST_F(Reports, BothReportsOfItemsDrawnOverA1280x720PictureUnderANonAsciiPath)
{
    ASSERT_TRUE(program.StartCamera());
    ASSERT_TRUE(SwitchTo1280x720(program));
    ASSERT_NO_FATAL_FAILURE(DrawItems(program));
    ASSERT_EQ(gView.items.size(), 6u);

    // The report's picture numbers the items where the view shows no
    // numbers: the two compositions of one frame differ only up and left of
    // each measuring item's first point, and there at each.
    ASSERT_FALSE(gView.showNumbers);
    PictureComposition plain, numbered;
    ASSERT_TRUE(View_ComposePicture(&plain, false) && View_ComposePicture(&numbered, true));
    std::vector<int> changed(gView.items.size());
    int elsewhere = 0;
    for (int y = 0; y < plain.height; y++)
        for (int x = 0; x < plain.width; x++) {
            size_t at = (size_t)y * plain.width + x;
            if ((plain.pixels[at] & 0xFFFFFF) == (numbered.pixels[at] & 0xFFFFFF))
                continue;
            size_t i = 0;
            while (i < gView.items.size() && !(x < gView.items[i].x1 && x >= gView.items[i].x1 - 20 &&
                                               y < gView.items[i].y1 && y >= gView.items[i].y1 - 24))
                i++;
            if (i < gView.items.size())
                changed[i]++;
            else
                elsewhere++;
        }
    EXPECT_EQ(elsewhere, 0);
    for (size_t i = 0; i < gView.items.size(); i++)
        EXPECT_EQ(changed[i] > 0, gView.items[i].kind != ITEM_FREEHAND) << "item " << i;
    Text_Copy(gSettings.reportTitle, REPORT_TITLE_CAPACITY, kTitle);
    program.Run(200); // a composed picture with every item
    program.Screenshot(L"reports-items");

    std::wstring root = BuildFolder() + L"\\report-files";
    std::wstring folder = root + L"\\Bericht \u00fcber \u03bcm \u6d4b\u91cf";
    Folder_RemoveTree(root);
    CreateDirectoryW(root.c_str(), nullptr);
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    std::wstring xlsx = folder + L"\\Bericht.xlsx", rtf = folder + L"\\Bericht.rtf";
    std::string old(4 << 20, 'Z'); // a longer file the report must replace whole
    File_WriteBytes(rtf, old.data(), old.size());

    gAnswer = xlsx;
    Command(CMD_REPORT_XLSX);
    gAnswer = rtf;
    Command(CMD_REPORT_RTF);
    ASSERT_EQ(gProposed.size(), 2u);
    EXPECT_EQ(gProposed[1], program.images.path + L"\\20240115-093005.rtf");
    EXPECT_EQ(Files(folder + L"\\*"), 2) << "the two reports and nothing else";
    EXPECT_EQ(File_Magic(xlsx), 0x4b50u) << "a zip container";
    std::wstring snapshot;
    EXPECT_EQ(Files(program.images.path + L"\\*-*-*.png", &snapshot), 1) << "the rich-text report's snapshot stays";

    std::vector<unsigned char> written = ReadAll(rtf);
    std::string text(written.begin(), written.end());
    EXPECT_EQ(text.rfind("{\\rtf1", 0), 0u);
    EXPECT_EQ(text.find('Z'), std::string::npos) << "no byte of the old file";
    EXPECT_EQ(text.substr(text.size() - 2), "}\n");
    std::wstring shown;
    EXPECT_EQ(RichEditObjects(rtf, &shown), 1) << "the picture, as WordPad shows it";
    EXPECT_EQ(shown.find(kTitle), 0u) << Utf8(shown.substr(0, 40));

    // What Linux's readers must find (check_reports.py).
    ASSERT_TRUE(SaveThumbnail(program.images.path + L"\\" + snapshot, root + L"\\expected-picture.png"));
    WriteUtf8(root + L"\\expected-sheet.txt",
              L"No.\tPosition (px)\tRadius (mm)\tWidth (mm)\tHeight (mm)\tArea (mm\u00b2)\tPerimeter (mm)\t"
              L"Length (mm)\tAngle (\u00b0)\tDistance (mm)\n"
              L"1\t100,100\t\t\t\t\t\t1.250000\n"
              L"2\t200,100\t\t2.000000\t1.500000\t3.000000\t7.000000\n"
              L"3\t400,150\t1.000000\t\t\t3.141593\t6.283185\n"
              L"4\t100,300\t\t\t\t\t\t\t90.000000\n"
              L"5\t300,300\t\t\t\t\t\t\t\t2.000000\n"
              L"\n"
              L"Calibration\t2 - Objektiv \u00b5\n"
              L"Pixels per unit\t40\n"
              L"Unit\tmm\n"
              L"Date\t2024-01-15\n"
              L"Resolution\t1280x720\n");
    WriteUtf8(root + L"\\expected-text.txt",
              std::wstring(kTitle) + L"\n"
              L"01/15/2024 09:30:05\n"
              L"Calibration:2 - Objektiv \u00b5  Pixels per unit:40  Unit:mm  Date:2024-01-15  Resolution:1280x720\n"
              L"1:  Position:100,100 px  Length:1.250000 mm\n"
              L"2:  Position:200,100 px  Width:2.000000 mm Height:1.500000 mm Area:3.000000 mm\u00b2 "
              L"Perimeter:7.000000 mm\n"
              L"3:  Position:400,150 px  Radius:1.000000 mm Area:3.141593 mm\u00b2 Perimeter:6.283185 mm\n"
              L"4:  Position:100,300 px  Angle:90.000000\u00b0\n"
              L"5:  Position:300,300 px  Distance:2.000000 mm\n");
}

// Snapshots as a person takes them with a calibration applied, a line item
// over the ruler: in each format at the picture's size, as shown at 50 % and
// without the calibration. Left under a non-ASCII folder in snapshot-files/
// with the line's points and label for ImageJ (check_snapshots.py, the CTest
// entry Snapshots.ReadWithImageJ).
TEST_F(Reports, SnapshotsInEachFormatCarryTheCalibrationUnderANonAsciiPath)
{
    ASSERT_TRUE(program.StartCamera());
    ASSERT_TRUE(SwitchTo1280x720(program));
    std::wstring root = BuildFolder() + L"\\snapshot-files";
    std::wstring folder = root + L"\\Bilder \u00b5m \u6d4b\u91cf";
    Folder_RemoveTree(root);
    CreateDirectoryW(root.c_str(), nullptr);
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    Text_Copy(gSettings.imageFolder, IMAGE_FOLDER_CAPACITY, folder.c_str());
    View_SetCalibration(40.0f, 0);
    program.Click(CMD_TOOL_LINE);
    program.Drag(40, 500, 240, 500); // as long as the ruler's 1 to 6 mm, below it
    program.Click(CMD_TOOL_POINTER);
    ASSERT_EQ(gView.items.size(), 1u);
    const MeasureItem &line = gView.items[0];
    wchar_t labels[3][LABEL_CAPACITY];
    ASSERT_EQ(MeasureItem_Labels(line, labels), 1);
    wchar_t expected[200];
    Text_Format(expected, 200, L"%d %d %d %d %ls\n", line.x1, line.y1, line.x2, line.y2, labels[0]);
    WriteUtf8(root + L"\\expected-line.txt", expected);

    auto take = [&](int format, const wchar_t *name) {
        gSettings.imageFormat = format;
        gApp.lastSavedFile[0] = 0;
        program.Click(CMD_SNAPSHOT);
        return gApp.lastSavedFile[0] && MoveFileW(gApp.lastSavedFile, (folder + L"\\" + name).c_str());
    };
    EXPECT_TRUE(take(2, L"calibrated.tif"));
    EXPECT_TRUE(take(1, L"calibrated.png"));
    EXPECT_TRUE(take(0, L"calibrated.jpg"));
    gSettings.snapshotAsShown = 1;
    SendMessageW(gApp.cameraView, WM_COMMAND, CMD_VIEW_ZOOM, 50);
    program.Run(200);
    EXPECT_TRUE(take(2, L"shown-at-50.tif"));
    gSettings.snapshotAsShown = 0;
    View_SetCalibration(-1.0f, 0);
    const wchar_t *const uncalibrated[] = {L"uncalibrated.jpg", L"uncalibrated.png", L"uncalibrated.tif"};
    for (int format : {0, 1, 2})
        EXPECT_TRUE(take(format, uncalibrated[format]));
    UINT w = 0, h = 0;
    EXPECT_TRUE(Image_Size(folder + L"\\calibrated.tif", &w, &h) && w == 1280 && h == 720) << "GDI+ reads it";
    EXPECT_TRUE(Image_Size(folder + L"\\shown-at-50.tif", &w, &h) && w == 640 && h == 360);
    EXPECT_EQ(Image_Pixel(folder + L"\\calibrated.tif", 40, 40), Image_Pixel(folder + L"\\calibrated.png", 40, 40))
        << "the red corner mark in the same colour as in the PNG";
}

TEST_F(Reports, NothingIsWrittenWithoutACameraOnCancelOrWhereTheFileCannotBe)
{
    gAnswer = program.images.path + L"\\report.rtf";
    Command(CMD_REPORT_RTF); // the view opens the camera only at its timer's tick
    EXPECT_TRUE(gProposed.empty()) << "no camera: no rich-text report";

    ASSERT_TRUE(program.StartCamera());
    program.Click(CMD_TOOL_LINE);
    program.Drag(100, 100, 140, 130);
    // The real save dialog, cancelled: the dated name and the file type.
    Report_GetSaveFileName = GetSaveFileNameW;
    std::wstring name, types;
    Modal_Run([&] { Command(CMD_REPORT_XLSX); },
              [&] {
                  HWND dialog = Dialog_WaitFor(L"Save As");
                  name = Dialog_Text(dialog, cmb13);
                  types = Dialog_Items(dialog, cmb1);
                  Dialog_Press(dialog, IDCANCEL);
              });
    EXPECT_EQ(name, L"20240115-093005.xlsx");
    EXPECT_EQ(types, L"Microsoft excel file;");
    Report_GetSaveFileName = AnswerSaveDialog;
    gAnswer.clear();
    Command(CMD_REPORT_XLSX);
    Command(CMD_REPORT_RTF);
    EXPECT_EQ(gProposed.size(), 2u);
    EXPECT_EQ(Files(program.images.path + L"\\*"), 0) << "no snapshot, no report";

    std::wstring gone = program.images.path + L"\\gone\\report.xlsx";
    gAnswer = gone;
    Command(CMD_REPORT_XLSX);
    wchar_t prompt[PROMPT_TEXT_CAPACITY] = L"";
    GetWindowTextW(GetDlgItem(program.main, PROMPT_ID), prompt, PROMPT_TEXT_CAPACITY);
    EXPECT_EQ(std::wstring(prompt), L"Could not save: " + gone);
    EXPECT_EQ(Files(program.images.path + L"\\*"), 0);
}

} // namespace
