// The input-text, report-title, about and how-to dialogs as a person uses them.
#include "state/app_state.h"
#include "app/app_win.h"
#include "state/language.h"
#include "state/settings.h"
#include "base/commands.h"
#include "base/text.h"
#include "dialogs/dialogs_win.h"
#include "dialogs/small_dialog_ids.h"
#include "program_harness.h"
#include "rig_api.h"
#include "rig_graph.h"
#include "view/view_state.h"

#include <gtest/gtest.h>
#include <functional>
#include <string>

namespace {

// What a test does with a modal dialog while its modal loop runs: a thread
// timer fires inside that loop, finds the dialog and hands it over.
std::function<void(HWND)> gOnDialog;

BOOL CALLBACK FindShownDialog(HWND window, LPARAM found)
{
    wchar_t name[16] = L"";
    GetClassNameW(window, name, 16);
    if (wcscmp(name, L"#32770") != 0 || !IsWindowVisible(window))
        return TRUE;
    *(HWND *)found = window;
    return FALSE;
}

void CALLBACK ActOnDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindShownDialog, (LPARAM)&dialog);
    if (!dialog)
        return;
    KillTimer(nullptr, timer);
    gOnDialog(dialog);
    if (IsWindowVisible(dialog)) { // the test failed to end it (EndDialog hides it): do not hang
        ADD_FAILURE() << "the dialog is still open";
        EndDialog(dialog, IDCANCEL);
    }
}

void WithDialog(const std::function<void()> &open, const std::function<void(HWND)> &act)
{
    gOnDialog = act;
    SetTimer(nullptr, 0, 50, ActOnDialog);
    open();
}

std::wstring TextOf(HWND window)
{
    wchar_t text[512] = L"";
    GetWindowTextW(window, text, 512);
    return text;
}

struct TextInput : testing::Test {
    ProgramHarness program;
    void SetUp() override
    {
        ASSERT_TRUE(program.StartCamera());
    }
    HWND Open()
    {
        program.Click(CMD_TOOL_TEXT);
        return gApp.textInputDialog;
    }
    void Close(HWND dialog, int button)
    {
        SendMessageW(dialog, WM_COMMAND, button, 0);
        program.Run(50);
    }
};

TEST_F(TextInput, EachKeystrokeShowsInTheViewAndOnlyOkWithTextKeepsTheItem)
{
    HWND dialog = Open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(gView.newItem.kind, ITEM_TEXT);
    HWND edit = GetDlgItem(dialog, IDC_TEXT_INPUT_EDIT);
    SendMessageW(edit, WM_CHAR, L'A', 0);
    EXPECT_STREQ(gView.newItem.text, L"A");
    SendMessageW(edit, WM_CHAR, L'b', 0);
    EXPECT_STREQ(gView.newItem.text, L"Ab");
    program.Run(200);
    EXPECT_TRUE(Window_Screenshot(dialog, L"text-input-dialog"));
    EXPECT_TRUE(program.Screenshot(L"text-input-live"));
    Close(dialog, IDCANCEL);
    EXPECT_TRUE(gView.items.empty());
    EXPECT_EQ(gApp.textInputDialog, nullptr);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_TRUE(program.Checked(CMD_TOOL_POINTER)); // command 1014 reset the tool
    EXPECT_EQ(gView.tool, TOOL_POINTER);

    Close(Open(), IDOK); // nothing typed
    EXPECT_TRUE(gView.items.empty());

    // Typed one by one, the edit takes 256 characters and the item their first 255.
    dialog = Open();
    ASSERT_NE(dialog, nullptr);
    edit = GetDlgItem(dialog, IDC_TEXT_INPUT_EDIT);
    std::wstring typed = std::wstring(255, L'x') + L"yz";
    for (wchar_t c : typed)
        SendMessageW(edit, WM_CHAR, c, 0);
    EXPECT_EQ(GetWindowTextLengthW(edit), 256);
    Close(dialog, IDOK);
    ASSERT_EQ(gView.items.size(), 1u);
    EXPECT_EQ(std::wstring(gView.items[0].text), std::wstring(255, L'x'));
}

struct ModalDialogs : testing::Test {
    ScopedRegistryKey key;
    HWND owner = nullptr;
    void SetUp() override
    {
        Encoders_Find();
        gApp.instance = GetModuleHandleW(nullptr);
        Settings_Load();
        owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 50, 900, 600,
                                nullptr, nullptr, nullptr, nullptr);
    }
    void TearDown() override { DestroyWindow(owner); }
};

TEST_F(ModalDialogs, AFiftyCharacterReportTitleIsStoredAsItsFirst39)
{
    Text_Copy(gSettings.reportTitle, REPORT_TITLE_CAPACITY, L"Old title");
    std::wstring fifty = L"0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMN";
    WithDialog([&] { ReportTitleDlg_Show(owner); },
               [&](HWND dialog) {
                   HWND edit = GetDlgItem(dialog, IDC_REPORT_TITLE_EDIT);
                   EXPECT_EQ(TextOf(edit), L"Old title");
                   RECT d, o;
                   GetWindowRect(dialog, &d);
                   GetWindowRect(owner, &o);
                   EXPECT_EQ(d.top, (o.top + o.bottom - (d.bottom - d.top)) / 2); // centred both ways
                   SetWindowTextW(edit, fifty.c_str());
                   EXPECT_TRUE(Window_Screenshot(dialog, L"report-title-dialog"));
                   SendMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
               });
    EXPECT_EQ(std::wstring(gSettings.reportTitle), fifty.substr(0, 39));
    EXPECT_EQ(Registry_GetString(L"ReportTitle"), fifty.substr(0, 39));
}

// Another language's file (the shipped Korean.ini) replaces the templates'
// English texts.
TEST_F(ModalDialogs, UnderAnotherLanguageTheDialogsTakeTheirTextsFromTheLanguageFile)
{
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring folder = exe;
    folder = folder.substr(0, folder.rfind(L'\\'));
    Text_Copy(gApp.moduleFolder, PATH_CAPACITY, folder.c_str());
    gSettings.language = 9;
    Language_Load();
    ASSERT_EQ(std::wstring(Language_Text(1291)), L"\uBCF4\uACE0\uC11C \uC81C\uBAA9");
    WithDialog([&] { ReportTitleDlg_Show(owner); },
               [&](HWND dialog) {
                   EXPECT_EQ(TextOf(dialog), Language_Text(1291));
                   EXPECT_EQ(TextOf(GetDlgItem(dialog, IDCANCEL)), Language_Text(1293));
                   EndDialog(dialog, IDCANCEL);
               });
    WithDialog([&] { PreferencesDlg_Show(owner); },
               [&](HWND dialog) {
                   EXPECT_EQ(TextOf(dialog), Language_Text(1141));
                   EndDialog(dialog, IDCANCEL);
               });
    WithDialog([&] { OpenDlg_Show(-1, VideoFormat{}); },
               [&](HWND dialog) {
                   EXPECT_EQ(TextOf(dialog), Language_Text(1161));
                   EndDialog(dialog, IDCANCEL);
               });
    HWND textInput = TextInputDlg_Create(owner);
    ASSERT_NE(textInput, nullptr);
    EXPECT_EQ(TextOf(textInput), Language_Text(1221));
    DestroyWindow(textInput);
}

TEST_F(ModalDialogs, AboutNamesTheProductItsVersionAndTheNoticesItShips)
{
    WithDialog([&] { AboutDlg_Show(owner); },
               [&](HWND dialog) {
                   EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_ABOUT_PRODUCT)), L"Quorell");
                   EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_ABOUT_VERSION)), L"Version 1.0.0.0");
                   HWND notices = GetDlgItem(dialog, IDC_ABOUT_LICENCES);
                   std::wstring text(GetWindowTextLengthW(notices) + 1, L'\0');
                   GetWindowTextW(notices, text.data(), (int)text.size());
                   for (const wchar_t *name : {L"libxlsxwriter", L"John McNamara", L"Jean-loup Gailly",
                                               L"Gilles Vollant", L"mingw-w64", L"GCC Runtime Library"})
                       EXPECT_NE(text.find(name), std::wstring::npos) << name;
                   EXPECT_EQ(text.find(L"\n"), text.find(L"\r\n") + 1); // the edit breaks lines at CR LF
                   EXPECT_TRUE(Window_Screenshot(dialog, L"about-dialog"));
                   SendMessageW(dialog, WM_COMMAND, IDOK, 0);
               });
}

// The band between the How-to's first three steps and its last two holds
// the picture of a calibration: a quarter of it at least drawn, with the red
// calibration line.
TEST_F(ModalDialogs, TheHowToShowsAPictureOfACalibrationBetweenItsSteps)
{
    WithDialog([&] { HowToDlg_Show(owner); },
               [&](HWND dialog) {
                   PumpMessages(300); // painted, and shown on the X screen
                   EXPECT_TRUE(Window_Screenshot(dialog, L"how-to-dialog"));
                   RECT band = {10, 43, 344, 231}; // below step 3, above step 4 (dialog units)
                   MapDialogRect(dialog, &band);
                   HDC dc = GetDC(dialog);
                   COLORREF face = GetSysColor(COLOR_BTNFACE);
                   int samples = 0, drawn = 0, red = 0;
                   for (int y = band.top; y < band.bottom; y += 3) {
                       for (int x = band.left; x < band.right; x += 3) {
                           COLORREF c = GetPixel(dc, x, y);
                           samples++;
                           drawn += c != face;
                           red += GetRValue(c) > 200 && GetGValue(c) < 60 && GetBValue(c) < 60;
                       }
                   }
                   ReleaseDC(dialog, dc);
                   EXPECT_GT(drawn, samples / 4) << drawn << " of " << samples;
                   EXPECT_GT(red, 20);
                   SendMessageW(dialog, WM_COMMAND, IDOK, 0);
               });
}


std::vector<int> Ends(const MeasureItem &item)
{
    return {item.x1, item.y1, item.x2, item.y2};
}

// Refining items with the mouse: an end-point handle moves that point, the
// stroke elsewhere moves the whole line, and a double click on a text item
// opens the Input-text dialog with its text, whose OK changes it in place.
TEST_F(TextInput, HandlesMoveOnePointTheStrokeTheItemAndADoubleClickChangesAText)
{
    program.Click(CMD_TOOL_LINE);
    program.Drag(100, 100, 300, 100);
    program.Click(CMD_TOOL_POINTER);
    program.Drag(300, 100, 300, 160);
    ASSERT_EQ(gView.items.size(), 1u);
    EXPECT_EQ(Ends(gView.items[0]), (std::vector<int>{100, 100, 300, 160}));
    program.Drag(200, 130, 220, 150);
    EXPECT_EQ(Ends(gView.items[0]), (std::vector<int>{120, 120, 320, 180}));

    HWND dialog = Open();
    ASSERT_NE(dialog, nullptr);
    SetDlgItemTextW(dialog, IDC_TEXT_INPUT_EDIT, L"Tick A");
    Close(dialog, IDOK);
    ASSERT_EQ(gView.items.size(), 2u);
    POINT at = program.ViewPoint(gView.items[1].x1 + 6, gView.items[1].y1 + 6);
    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
        SendMessageW(gApp.cameraView, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(at.x, at.y));
    ASSERT_TRUE(program.RunUntil([] { return gApp.textInputDialog != nullptr; }, 2000));
    dialog = gApp.textInputDialog;
    wchar_t shown[32] = L"";
    GetDlgItemTextW(dialog, IDC_TEXT_INPUT_EDIT, shown, 32);
    EXPECT_STREQ(shown, L"Tick A");
    SetDlgItemTextW(dialog, IDC_TEXT_INPUT_EDIT, L"Tick B");
    Close(dialog, IDOK);
    ASSERT_EQ(gView.items.size(), 2u);
    EXPECT_STREQ(gView.items[1].text, L"Tick B");
    EXPECT_EQ(gView.tool, TOOL_POINTER);
}

} // namespace
