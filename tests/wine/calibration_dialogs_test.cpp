// The calibration dialogs as a person uses them, against the virtual
// microscope's ruler.
#include "state/app_state.h"
#include "state/calibrations.h"
#include "state/language.h"
#include "state/settings.h"
#include "base/commands.h"
#include "base/text.h"
#include "capture/camera_graph.h"
#include "dialogs/calibration_ids.h"
#include "program_harness.h"
#include "rig_api.h"
#include "rig_graph.h"
#include "view/measure_item.h"
#include "view/view_state.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <cstring>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace {

// What to do with a dialog once it is the enabled dialog with this caption.
// The steps run from a timer of this thread, which every modal loop
// dispatches, so they can act inside the dialogs the program opens.
struct DialogStep {
    std::wstring caption;
    std::function<void(HWND)> act;
};
std::deque<DialogStep> gSteps;

BOOL CALLBACK FindEnabledDialog(HWND window, LPARAM found)
{
    wchar_t className[16] = L"", caption[128] = L"";
    GetClassNameW(window, className, 16);
    GetWindowTextW(window, caption, 128);
    if (wcscmp(className, L"#32770") == 0 && IsWindowVisible(window) && IsWindowEnabled(window) &&
        gSteps.front().caption == caption) {
        *(HWND *)found = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK RunStep(HWND, UINT, UINT_PTR, DWORD)
{
    if (gSteps.empty())
        return;
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindEnabledDialog, (LPARAM)&dialog);
    if (!dialog)
        return;
    DialogStep step = gSteps.front();
    gSteps.pop_front();
    step.act(dialog);
}

void Press(HWND dialog, int button)
{
    SendDlgItemMessageW(dialog, button, BM_CLICK, 0, 0);
}

void Type(HWND dialog, int edit, const wchar_t *text)
{
    HWND control = GetDlgItem(dialog, edit);
    SendMessageW(control, EM_SETSEL, 0, -1);
    SendMessageW(control, WM_CHAR, VK_BACK, 0);
    for (const wchar_t *c = text; *c; c++)
        SendMessageW(control, WM_CHAR, *c, 1);
}

// Keys as the keyboard gives them (SendInput), to the window with the focus:
// the characters of a text, or one key.
void Keys(const std::vector<INPUT> &keys)
{
    ASSERT_EQ(SendInput((UINT)keys.size(), const_cast<INPUT *>(keys.data()), sizeof(INPUT)), keys.size());
}

void TypeKeys(const wchar_t *text)
{
    std::vector<INPUT> keys;
    for (const wchar_t *c = text; *c; c++) {
        for (DWORD up : {0ul, (DWORD)KEYEVENTF_KEYUP}) {
            INPUT key = {};
            key.type = INPUT_KEYBOARD;
            key.ki.wScan = *c;
            key.ki.dwFlags = KEYEVENTF_UNICODE | up;
            keys.push_back(key);
        }
    }
    Keys(keys);
}

void PressKey(WORD virtualKey)
{
    INPUT key[2] = {};
    key[0].type = key[1].type = INPUT_KEYBOARD;
    key[0].ki.wVk = key[1].ki.wVk = virtualKey;
    key[1].ki.dwFlags = KEYEVENTF_KEYUP;
    Keys({key[0], key[1]});
}

void ClickRow(HWND dialog, int row, bool twice = false)
{
    HWND table = GetDlgItem(dialog, IDC_CALIBRATION_TABLE);
    RECT r = {};
    r.left = LVIR_LABEL;
    SendMessageW(table, LVM_GETITEMRECT, row, (LPARAM)&r);
    LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageW(table, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(table, WM_LBUTTONUP, 0, at);
    if (twice) {
        SendMessageW(table, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        SendMessageW(table, WM_LBUTTONUP, 0, at);
    }
}

int SelectedRow(HWND dialog)
{
    return (int)SendDlgItemMessageW(dialog, IDC_CALIBRATION_TABLE, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
}

// The row's cells as "a|b|c|d|e|f|".
std::wstring RowText(HWND dialog, int row)
{
    std::wstring text;
    for (int column = 0; column < 6; column++) {
        wchar_t cell[64] = L"";
        LVITEMW item = {};
        item.iSubItem = column;
        item.pszText = cell;
        item.cchTextMax = 64;
        SendDlgItemMessageW(dialog, IDC_CALIBRATION_TABLE, LVM_GETITEMTEXTW, row, (LPARAM)&item);
        text += cell;
        text += L'|';
    }
    return text;
}

std::wstring FirstLabel(const MeasureItem &item)
{
    wchar_t lines[3][LABEL_CAPACITY] = {};
    return MeasureItem_Labels(item, lines) > 0 ? lines[0] : L"";
}

std::wstring Today()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t text[16];
    Text_Format(text, 16, L"%02d/%02d/%04d", now.wMonth, now.wDay, now.wYear);
    return text;
}

struct CalibrationDialogs : testing::Test {
    ProgramHarness program;
    UINT_PTR timer = 0;
    int p = 0; // the ruler's pixels per millimetre
    void SetUp() override
    {
        if (!Devices_Has(Rig_DeviceName(0)))
            Rig_Plug(0);
        ASSERT_TRUE(program.WaitForCamera());
        ASSERT_EQ(gCamera.currentFormat.width, 1280);
        p = Rig_PixelsPerMm(1280);
        timer = SetTimer(nullptr, 0, 40, RunStep);
        gSteps.clear();
    }
    void TearDown() override
    {
        KillTimer(nullptr, timer);
        EXPECT_TRUE(gSteps.empty()) << "a dialog did not open";
        gSteps.clear();
        if (!Devices_Has(Rig_DeviceName(0)))
            Rig_Plug(0);
    }

    // Opens the table, picks the row, presses Calibrate: the Calibration
    // dialog is open over the view at 100 %.
    void StartCalibrating(int row)
    {
        gSteps.push_back({L"Config calibrations", [row](HWND table) {
                              ClickRow(table, row);
                              Press(table, IDC_CALIBRATION_CALIBRATE);
                          }});
        SendMessageW(program.main, WM_COMMAND, CMD_CONFIG_CALIBRATIONS, 0);
        program.Run(200); // the view lays the line out as it draws
    }

    // Drags the line's ends with the mouse onto the ruler's ticks of 11 and
    // 21 mm (x = p * mm), checking on the screen that ticks are there.
    void LayLineOnTicks()
    {
        int cy = gView.imageHeight / 2, tickRow = gView.imageHeight / 4 + p / 4;
        HDC screen = GetDC(gApp.cameraView);
        for (int x : {11 * p + 1, 21 * p + 1}) {
            POINT at = program.ViewPoint(x, tickRow), beside = program.ViewPoint(x + p / 2, tickRow);
            EXPECT_LT(GetGValue(GetPixel(screen, at.x, at.y)), 80) << x;
            EXPECT_GT(GetGValue(GetPixel(screen, beside.x, beside.y)), 180) << x;
        }
        ReleaseDC(gApp.cameraView, screen);
        program.Drag(gView.calibLeft, cy, 11 * p, cy);
        program.Drag(gView.calibRight, cy, 21 * p, cy);
        EXPECT_EQ(gView.calibLength, 10 * p);
    }
};

TEST_F(CalibrationDialogs, CalibrateAgainstTheRulerApplyMeasureSwitchUnitAndDelete)
{
    // Name slot 3 by double-clicking its row, then calibrate it.
    gSteps.push_back({L"Config calibrations", [](HWND table) {
                          ClickRow(table, 2, true);
                      }});
    gSteps.push_back({L"Edit calibration name:", [](HWND editor) {
                          EXPECT_TRUE(Window_Screenshot(editor, L"dialog-calibration-name"));
                          Type(editor, IDC_CALIBRATION_NAME, L"Ruler A");
                          Press(editor, IDOK);
                      }});
    StartCalibrating(2);
    HWND dialog = gApp.calibrationDialog;
    ASSERT_TRUE(IsWindow(dialog));
    wchar_t caption[64] = L"";
    GetWindowTextW(dialog, caption, 64);
    EXPECT_STREQ(caption, L"Calibrate - ID:3 Name:Ruler A");
    EXPECT_EQ(gView.zoom, 100);
    ASSERT_GT(gView.calibLength, 0);
    LayLineOnTicks();
    EXPECT_TRUE(Window_Screenshot(dialog, L"dialog-calibration"));

    // 10 mm: the table comes back with the row and its values; Apply.
    std::wstring expected = L"3|" + std::to_wstring(p) + L".0000|mm|Ruler A|" + Today() + L"|1280x720|";
    gSteps.push_back({L"Config calibrations", [&](HWND table) {
                          EXPECT_EQ(SelectedRow(table), 2);
                          EXPECT_EQ(RowText(table, 2), expected);
                          EXPECT_TRUE(Window_Screenshot(table, L"dialog-config-calibrations"));
                          Press(table, 6);
                      }});
    Type(dialog, IDC_CALIBRATION_LENGTH, L"10");
    Press(dialog, IDOK);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(gView.calibLength, 0);
    EXPECT_LT(gView.scale, 0); // stored, but only Apply makes it the view's
    program.Run(300);
    EXPECT_EQ(gApp.activeCalibration, 2);

    // A line of 5 mm on the ruler, measured with the line tool.
    program.Click(CMD_TOOL_LINE);
    program.Drag(100, 600, 100 + 5 * p, 600);
    ASSERT_EQ(gView.items.size(), 1u);
    EXPECT_EQ(FirstLabel(gView.items[0]), L"5.00000mm");

    // Calibrate the same slot again in micrometres: the label follows at
    // once; then delete the slot, which is still the active one.
    ASSERT_TRUE(program.Checked(CMD_OVERLAY_CROSS)) << "switched on by the applied calibration";
    StartCalibrating(2);
    dialog = gApp.calibrationDialog;
    ASSERT_TRUE(IsWindow(dialog));
    EXPECT_FALSE(program.Checked(CMD_OVERLAY_CROSS)) << "the calibration line is drawn alone";
    EXPECT_FALSE(SendMessageW(gApp.toolbar, TB_ISBUTTONENABLED, CMD_OVERLAY_CROSS, 0));
    LayLineOnTicks();
    SendDlgItemMessageW(dialog, IDC_CALIBRATION_UNIT, CB_SETCURSEL, 1, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_CALIBRATION_UNIT, CBN_SELCHANGE),
                 (LPARAM)GetDlgItem(dialog, IDC_CALIBRATION_UNIT));
    wchar_t shown[8] = L"";
    GetDlgItemTextW(dialog, IDC_CALIBRATION_UNIT_SHOWN, shown, 8);
    EXPECT_STREQ(shown, L"\u03BCm");
    gSteps.push_back({L"Config calibrations", [&](HWND table) {
                          EXPECT_EQ(FirstLabel(gView.items[0]), L"5000.00000\u03BCm");
                          EXPECT_EQ(RowText(table, 2).substr(0, 12), L"3|0.0400|\u03BCm|");
                          Press(table, IDC_CALIBRATION_DELETE);
                          EXPECT_EQ(RowText(table, 2), L"3||||||");
                          Press(table, IDCANCEL);
                      }});
    gSteps.push_back({L"Delete calibration", [](HWND question) {
                          EXPECT_TRUE(Window_Screenshot(question, L"dialog-calibration-delete"));
                          Press(question, IDYES);
                      }});
    Type(dialog, IDC_CALIBRATION_LENGTH, L"10000");
    Press(dialog, IDOK);
    program.Run(300);
    EXPECT_TRUE(program.Checked(CMD_OVERLAY_CROSS)) << "shown again with the line gone";
    EXPECT_EQ(FirstLabel(gView.items[0]), L"");
    EXPECT_EQ(gApp.activeCalibration, 2);
    EXPECT_LT(gCalibrations[2].pixelsPerUnit, 0);
}

// The length typed on the keyboard with a decimal comma, as seven of the
// languages write it: a refused length says why and keeps the dialog open,
// Enter stores as OK does, Escape cancels.
TEST_F(CalibrationDialogs, TheKeyboardTypesACommaLengthEnterStoresEscapeCancelsAndARefusalSaysWhy)
{
    StartCalibrating(1);
    HWND dialog = gApp.calibrationDialog;
    ASSERT_TRUE(IsWindow(dialog));
    LayLineOnTicks(); // 10 mm
    HWND field = GetDlgItem(dialog, IDC_CALIBRATION_LENGTH);
    auto refusal = [&] {
        wchar_t text[128] = L"";
        GetDlgItemTextW(dialog, IDC_CALIBRATION_REFUSAL, text, 128);
        return std::wstring(text);
    };
    SendMessageW(dialog, WM_NEXTDLGCTL, (WPARAM)field, TRUE); // a click into the field
    ASSERT_EQ(GetFocus(), field);

    Calibration before = gCalibrations[1];
    TypeKeys(L"abc");
    PressKey(VK_RETURN);
    program.Run(300);
    ASSERT_TRUE(IsWindow(dialog));
    EXPECT_EQ(refusal(), Language_Text(1281));
    EXPECT_EQ(memcmp(&before, &gCalibrations[1], sizeof before), 0);
    EXPECT_EQ(GetFocus(), field);
    EXPECT_EQ(SendMessageW(field, EM_GETSEL, 0, 0), MAKELRESULT(0, 3)); // ready to be typed over
    EXPECT_TRUE(Window_Screenshot(dialog, L"dialog-calibration-refused"));

    gSteps.push_back({L"Config calibrations", [](HWND table) { Press(table, IDCANCEL); }});
    TypeKeys(L"10,5");
    program.Run(100);
    EXPECT_EQ(refusal(), L"");
    int line = gView.calibLength;
    PressKey(VK_RETURN);
    program.Run(300);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(gCalibrations[1].realLength, 10.5f);
    EXPECT_EQ(gCalibrations[1].pixelsPerUnit, (float)line / 10.5f);

    StartCalibrating(1);
    dialog = gApp.calibrationDialog;
    ASSERT_TRUE(IsWindow(dialog));
    field = GetDlgItem(dialog, IDC_CALIBRATION_LENGTH);
    SendMessageW(dialog, WM_NEXTDLGCTL, (WPARAM)field, TRUE);
    gSteps.push_back({L"Config calibrations", [](HWND table) { Press(table, IDCANCEL); }});
    TypeKeys(L"7");
    PressKey(VK_ESCAPE);
    program.Run(300);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(gView.calibLength, 0);
    EXPECT_EQ(gCalibrations[1].realLength, 10.5f);
}

TEST_F(CalibrationDialogs, LosingTheCameraClosesTheCalibrationWithoutReopeningTheTable)
{
    StartCalibrating(0);
    HWND dialog = gApp.calibrationDialog;
    ASSERT_TRUE(IsWindow(dialog));
    ASSERT_HRESULT_SUCCEEDED(Rig_Unplug(0));
    bool reopened = false;
    gSteps.push_back({L"Config calibrations", [&](HWND table) {
                          reopened = true;
                          Press(table, IDCANCEL);
                      }});
    program.Run(1500);
    EXPECT_FALSE(Camera_IsOpen());
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(gApp.calibrationDialog, nullptr);
    EXPECT_EQ(gView.calibLength, 0);
    EXPECT_FALSE(reopened);
    gSteps.clear();
}

// In another language the three dialogs take their texts from its table
// (the Calibration dialog's caption is its own formatted text in every one).
TEST_F(CalibrationDialogs, InAnotherLanguageTheDialogsTakeTheTableTexts)
{
    std::u16string file = u"1251=Kalibrierungen\r\n1231=Name \u00e4ndern\r\n1242=Bitte scharf stellen.\r\n"
                          u"1270=Nr.\r\n";
    gSettings.language = 2;
    gLanguageTexts.clear();
    Language_Parse((const unsigned char *)file.data(), file.size() * 2);
    std::wstring editorCaption, firstColumn;
    gSteps.push_back({L"Kalibrierungen", [&](HWND table) {
                          wchar_t title[16] = L"";
                          LVCOLUMNW column = {};
                          column.mask = LVCF_TEXT;
                          column.pszText = title;
                          column.cchTextMax = 16;
                          SendDlgItemMessageW(table, IDC_CALIBRATION_TABLE, LVM_GETCOLUMNW, 0, (LPARAM)&column);
                          firstColumn = title;
                          ClickRow(table, 0, true);
                      }});
    gSteps.push_back({L"Name \u00e4ndern", [&](HWND editor) {
                          editorCaption = L"seen";
                          Press(editor, IDCANCEL);
                      }});
    gSteps.push_back({L"Kalibrierungen", [](HWND table) { Press(table, IDC_CALIBRATION_CALIBRATE); }});
    SendMessageW(program.main, WM_COMMAND, CMD_CONFIG_CALIBRATIONS, 0);
    HWND dialog = gApp.calibrationDialog;
    wchar_t caption[64] = L"", hint[64] = L"";
    GetWindowTextW(dialog, caption, 64);
    GetDlgItemTextW(dialog, IDC_CALIBRATION_HINT1, hint, 64);
    gSettings.language = 0;
    Language_Load();
    EXPECT_EQ(firstColumn, L"Nr.");
    EXPECT_EQ(editorCaption, L"seen");
    EXPECT_STREQ(caption, L"Calibrate - ID:1 Name:");
    EXPECT_STREQ(hint, L"Bitte scharf stellen.");
    // Closing the Calibration dialog reopens the table (now in English).
    gSteps.push_back({L"Config calibrations", [](HWND table) { Press(table, IDCANCEL); }});
    Press(dialog, IDCANCEL);
    program.Run(300);
}

} // namespace
