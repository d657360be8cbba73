// The control panel in the real main window with the virtual microscope:
// sections and scrolling, the Source boxes, the Color rows against the rig's
// ranges, flipping the picture, the effects with the toolbar, the reports.
#include "state/app_state.h"
#include "state/calibrations.h"
#include "state/settings.h"
#include "base/commands.h"
#include "capture/camera_graph.h"
#include "debug_capture.h"
#include "panel/panel_win.h"
#include "program_harness.h"
#include "rig_api.h"
#include "rig_graph.h"
#include "view/view_state.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

enum { SOURCE = 100, COLOR = 102, FLIP = 103, REPORT = 104 };
const int kSections[4] = {SOURCE, COLOR, FLIP, REPORT};

struct Panel : testing::Test {
    ProgramHarness program;
    void SetUp() override
    {
        Rig_ResetControls(0);
        ASSERT_TRUE(program.StartCamera());
        program.Run(100);
        ASSERT_NE(Panel_Record(gApp.controlPanel), nullptr);
    }
    void TearDown() override { Rig_ResetControls(0); }

    static HWND Section(int section) { return GetDlgItem(gApp.controlPanel, section); }
    static HWND Item(int section, int id) { return GetDlgItem(Section(section), id); }
    bool Expanded(int slot) const { return Panel_Record(gApp.controlPanel)->sections[slot].expanded != 0; }

    // A click on the section's header, as a person toggles it.
    void Toggle(int section) const
    {
        HWND header = Item(section, 100);
        SendMessageW(header, WM_MOUSEMOVE, 0, MAKELPARAM(10, 5));
        SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 5));
        SendMessageW(header, WM_MOUSEMOVE, 0, MAKELPARAM(10, -50));
        program.Run(60);
    }
    void ExpandOnly(int slot) const
    {
        for (int i = 0; i < 4; i++)
            if (Expanded(i) != (i == slot))
                Toggle(kSections[i]);
    }
    void Click(int section, int id) const
    {
        SendMessageW(Item(section, id), BM_CLICK, 0, 0);
        program.Run(60);
    }
    // A pick in a drop-down list, with the notification the list sends.
    void Choose(int section, int id, int index) const
    {
        HWND box = Item(section, id);
        SendMessageW(box, CB_SETCURSEL, index, 0);
        SendMessageW(Section(section), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), (LPARAM)box);
    }
    // A slider dragged to a position and let go.
    void Slide(int id, int position) const
    {
        HWND slider = Item(COLOR, id);
        SendMessageW(slider, TBM_SETPOS, TRUE, position);
        SendMessageW(Section(COLOR), WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, position & 0xFFFF), (LPARAM)slider);
        SendMessageW(Section(COLOR), WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), (LPARAM)slider);
    }
};

std::wstring ItemText(HWND box, int index)
{
    wchar_t text[128] = L"";
    SendMessageW(box, CB_GETLBTEXT, index, (LPARAM)text);
    return text;
}

std::wstring Items(HWND box)
{
    std::wstring all;
    int count = (int)SendMessageW(box, CB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; i++)
        all += ItemText(box, i) + L";";
    return all;
}

int Selected(HWND box)
{
    return (int)SendMessageW(box, CB_GETCURSEL, 0, 0);
}

std::wstring Text(HWND window)
{
    wchar_t text[128] = L"";
    GetWindowTextW(window, text, 128);
    return text;
}

int Height(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    return r.bottom - r.top;
}

int TopInPanel(HWND section)
{
    RECT r;
    GetWindowRect(section, &r);
    POINT p = {r.left, r.top};
    ScreenToClient(gApp.controlPanel, &p);
    return p.y;
}

TEST_F(Panel, SectionsExpandAndCollapseAndAShortPanelScrollsWithinItsRange)
{
    const PanelRecord *panel = Panel_Record(gApp.controlPanel);
    ASSERT_EQ(panel->sectionCount, 4);
    EXPECT_TRUE(Expanded(0) && !Expanded(1) && !Expanded(2) && !Expanded(3)) << "Source expanded at start";
    EXPECT_EQ(Height(Section(SOURCE)), Section_ExpandedHeight(0) + 1);
    EXPECT_EQ(Height(Section(COLOR)), gPanelMetrics.headerHeight + 1);
    EXPECT_EQ(TopInPanel(Section(COLOR)), TopInPanel(Section(SOURCE)) + Section_ExpandedHeight(0));
    EXPECT_STREQ(Text(Item(SOURCE, 100)).c_str(), L"Source");
    program.Screenshot(L"panel-source");
    const wchar_t *shots[] = {L"panel-color", L"panel-flip", L"panel-report"};
    for (int slot = 1; slot < 4; slot++) {
        ExpandOnly(slot);
        EXPECT_EQ(Height(Section(kSections[slot])), Section_ExpandedHeight(slot) + 1) << slot;
        program.Run(300);
        program.Screenshot(shots[slot - 1]);
    }

    // The header keeps the mouse while hot and lets it go as the pointer leaves.
    HWND header = Item(REPORT, 100);
    SendMessageW(header, WM_MOUSEMOVE, 0, MAKELPARAM(10, 5));
    EXPECT_EQ(GetCapture(), header);
    SendMessageW(header, WM_MOUSEMOVE, 0, MAKELPARAM(10, 500));
    EXPECT_NE(GetCapture(), header);
    EXPECT_EQ(((HeaderRecord *)GetWindowLongPtrW(header, 0))->hot, 0);

    // A panel just tall enough for the expanded Source section.
    ExpandOnly(-1);
    RECT r;
    GetWindowRect(gApp.controlPanel, &r);
    SetWindowPos(gApp.controlPanel, nullptr, 0, 0, r.right - r.left, Section_ExpandedHeight(0) + 4,
                 SWP_NOMOVE | SWP_NOZORDER);
    program.Run(60);
    RECT client;
    GetClientRect(gApp.controlPanel, &client);
    EXPECT_FALSE(GetWindowLongW(gApp.controlPanel, GWL_STYLE) & WS_VSCROLL) << "all collapsed: everything fits";
    Toggle(SOURCE);
    Toggle(COLOR);
    ASSERT_TRUE(GetWindowLongW(gApp.controlPanel, GWL_STYLE) & WS_VSCROLL);
    int range = panel->contentHeight - client.bottom;
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(gApp.controlPanel, SB_VERT, &info);
    EXPECT_EQ(info.nMax - (int)info.nPage + 1, range) << "largest reachable position";

    SendMessageW(gApp.controlPanel, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, range + 500), 0);
    program.Run(30);
    EXPECT_EQ(panel->scrollPos, range);
    EXPECT_EQ(GetScrollPos(gApp.controlPanel, SB_VERT), range);
    EXPECT_EQ(TopInPanel(Section(SOURCE)), gPanelMetrics.marginY - range);
    SendMessageW(gApp.controlPanel, WM_MOUSEWHEEL, MAKEWPARAM(0, 240), 0);
    EXPECT_EQ(panel->scrollPos, range - gPanelMetrics.lineStep);
    SendMessageW(gApp.controlPanel, WM_VSCROLL, SB_BOTTOM, 0);
    Toggle(COLOR); // collapsed while at the bottom
    EXPECT_EQ(panel->scrollPos, panel->contentHeight - client.bottom);
    EXPECT_EQ(TopInPanel(Section(SOURCE)), gPanelMetrics.marginY - panel->scrollPos);

    // The toolbar button hides the panel, and the view takes its width, and back.
    RECT main, view;
    GetClientRect(program.main, &main);
    program.Click(CMD_TOGGLE_PANEL);
    program.Run(60);
    GetWindowRect(gApp.cameraView, &view);
    MapWindowPoints(nullptr, program.main, (POINT *)&view, 2);
    EXPECT_FALSE(IsWindowVisible(gApp.controlPanel));
    EXPECT_EQ(view.left, 0);
    EXPECT_EQ(view.right, main.right);
    DWORD shown = 1;
    EXPECT_TRUE(Registry_GetNumber(L"ShowCtrlPanel", &shown) && shown == 0);
    program.Click(CMD_TOGGLE_PANEL);
    program.Run(60);
    GetWindowRect(gApp.cameraView, &view);
    MapWindowPoints(nullptr, program.main, (POINT *)&view, 2);
    EXPECT_TRUE(IsWindowVisible(gApp.controlPanel));
    EXPECT_EQ(view.left, gApp.panelWidth);
}

TEST_F(Panel, SourceBoxesShowTheCameraAndChangeItsResolutionAndCompression)
{
    EXPECT_EQ(ItemText(Item(SOURCE, 102), Selected(Item(SOURCE, 102))), gDevices[gDeviceIndex].friendlyName);
    EXPECT_EQ(Items(Item(SOURCE, 108)), L"MJPG;YUY2;");
    EXPECT_EQ(Selected(Item(SOURCE, 108)), 0);
    EXPECT_EQ(Items(Item(SOURCE, 104)), L"640x480;1280x720;1920x1080;");
    EXPECT_EQ(Selected(Item(SOURCE, 104)), 1);
    EXPECT_EQ(Selected(Item(SOURCE, 106)), 1);
    EXPECT_FALSE(IsWindowEnabled(Item(SOURCE, 106)));

    Choose(SOURCE, 104, 0);
    ASSERT_TRUE(program.RunUntil([] { return Camera_IsOpen() && gCamera.currentFormat.width == 640; }));
    program.Run(200);
    EXPECT_EQ(Selected(Item(SOURCE, 104)), 0);

    Choose(SOURCE, 108, 1);
    ASSERT_TRUE(program.RunUntil([] { return Camera_IsOpen() && ClassId_Equal(gCamera.currentFormat.subtype, kSubtypeYuy2); }));
    program.Run(200);
    EXPECT_EQ(Selected(Item(SOURCE, 108)), 1);
    EXPECT_EQ(ItemText(Item(SOURCE, 104), Selected(Item(SOURCE, 104))), L"640x480");
}

TEST_F(Panel, WithoutACameraOnlyTheGalleryAndTheTitleButtonsWork)
{
    ASSERT_HRESULT_SUCCEEDED(Rig_Unplug(0));
    ASSERT_TRUE(program.RunUntil([] { return !Camera_IsOpen(); }, 3000));
    program.Run(200);
    for (int id : {102, 104, 106, 108})
        EXPECT_EQ(SendMessageW(Item(SOURCE, id), CB_GETCOUNT, 0, 0), 0) << id;
    for (int id : {102, 104, 108, 109, 110})
        EXPECT_FALSE(IsWindowEnabled(Item(SOURCE, id))) << id;
    EXPECT_TRUE(IsWindowEnabled(Item(SOURCE, 111)));
    EXPECT_FALSE(IsWindowEnabled(Item(REPORT, 101)));
    EXPECT_FALSE(IsWindowEnabled(Item(REPORT, 102)));
    EXPECT_TRUE(IsWindowEnabled(Item(REPORT, 103)));
    for (int id = 101; id <= 106; id++)
        EXPECT_FALSE(IsWindowEnabled(Item(FLIP, id))) << id;
    EXPECT_FALSE(IsWindowEnabled(Item(COLOR, 131)));
    ASSERT_HRESULT_SUCCEEDED(Rig_Plug(0));
    EXPECT_TRUE(program.WaitForCamera());
}

TEST_F(Panel, ColorRowsFollowTheRigsRangesAndReachTheDevice)
{
    ExpandOnly(1);
    HWND exposure = Item(COLOR, 103);
    EXPECT_EQ(SendMessageW(exposure, TBM_GETRANGEMIN, 0, 0), 0);
    EXPECT_EQ(SendMessageW(exposure, TBM_GETRANGEMAX, 0, 0), 12);
    EXPECT_EQ(SendMessageW(exposure, TBM_GETPOS, 0, 0), 7);
    EXPECT_EQ(Text(Item(COLOR, 101)), L"Exposure  -6");
    Slide(103, 0);
    RigWrite sent = Rig_LastWrite(0, RigControl_Exposure);
    EXPECT_EQ(sent.value, -13);
    EXPECT_EQ(sent.flags, 2);
    EXPECT_EQ(sent.currentValue, -13);
    EXPECT_EQ(Text(Item(COLOR, 101)), L"Exposure  -13");
    Slide(103, 0);
    EXPECT_EQ(Rig_LastWrite(0, RigControl_Exposure).writes, sent.writes) << "the stored value is not sent again";

    // A range wider than 16 bits keeps its whole span.
    EXPECT_EQ(SendMessageW(Item(COLOR, 122), TBM_GETRANGEMAX, 0, 0), 200000);
    Slide(122, 150000);
    EXPECT_EQ(Rig_LastWrite(0, RigControl_Saturation).currentValue, 150000);

    // White balance starts automatic; its box turns that off at the value
    // automatic mode arrived at.
    EXPECT_TRUE(SendMessageW(Item(COLOR, 105), BM_GETCHECK, 0, 0) == BST_CHECKED);
    EXPECT_FALSE(IsWindowEnabled(Item(COLOR, 106)));
    Click(COLOR, 105);
    RigWrite balance = Rig_LastWrite(0, RigControl_WhiteBalance);
    EXPECT_EQ(balance.flags, 2);
    EXPECT_EQ(balance.value, 4600);
    EXPECT_TRUE(IsWindowEnabled(Item(COLOR, 106)));
    Click(COLOR, 102);
    EXPECT_EQ(Rig_LastWrite(0, RigControl_Exposure).currentFlags, 1);
    EXPECT_FALSE(IsWindowEnabled(exposure));

    EXPECT_EQ(Items(Item(COLOR, 130)), L"50 Hz;60 Hz;");
    Choose(COLOR, 130, 1);
    EXPECT_EQ(Rig_LastWrite(0, RigControl_PowerLine).value, 2);

    // The defaults: every value, automatic where the camera offers it, 50 Hz.
    Slide(110, 50);
    EXPECT_EQ(Rig_LastWrite(0, RigControl_Gain).currentValue, 50);
    Click(COLOR, 131);
    EXPECT_EQ(Rig_LastWrite(0, RigControl_Gain).currentValue, 0);
    EXPECT_EQ(Rig_LastWrite(0, RigControl_Saturation).currentValue, 100000);
    EXPECT_EQ(Rig_LastWrite(0, RigControl_Exposure).currentFlags, 1);
    EXPECT_EQ(Rig_LastWrite(0, RigControl_WhiteBalance).currentFlags, 1);
    EXPECT_EQ(Rig_LastWrite(0, RigControl_PowerLine).value, 1);
    EXPECT_EQ(SendMessageW(Item(COLOR, 110), TBM_GETPOS, 0, 0), 0);
    EXPECT_EQ(Selected(Item(COLOR, 130)), 0);
}

std::wstring ButtonText(int command)
{
    wchar_t text[64] = L"";
    SendMessageW(gApp.toolbar, TB_GETBUTTONTEXTW, command, (LPARAM)text);
    return text;
}

// The calibration button's tip, as the toolbar asks for it.
std::wstring CalibrationTip()
{
    NMTTDISPINFOW info = {};
    info.hdr.hwndFrom = gApp.toolbar;
    info.hdr.idFrom = CMD_CALIBRATION_MENU;
    info.hdr.code = TTN_GETDISPINFOW;
    SendMessageW(gApp.mainWindow, WM_NOTIFY, 0, (LPARAM)&info);
    return info.lpszText ? info.lpszText : L"";
}

// A user sets the camera up and applies a calibration, closes the program
// and starts it again on a camera that forgot everything: the settings are
// set again. Exposure's Auto box, ticked and unticked, leaves the picture as
// automatic mode had it and offers the value set by hand back. The
// calibration waits while the picture has another size.
TEST_F(Panel, TheCameraAndTheCalibrationAreAsTheUserLeftThemAfterARestart)
{
    ExpandOnly(1);
    Slide(103, 5); // -8
    Click(COLOR, 102);
    Click(COLOR, 105);
    Slide(106, 5000 - 2800);
    Choose(COLOR, 130, 1);
    ASSERT_TRUE(Calibration_Store(0, 0, 400, 10.0f, 1280, 720));
    Calibration_Rename(0, L"Lens A");
    Calibration_Apply(0);
    program.Run(100);
    ASSERT_EQ(ButtonText(CMD_CALIBRATION_MENU), L"Lens A");

    Rig_ResetControls(0);
    program.Restart();
    ASSERT_TRUE(program.WaitForCamera());
    program.Run(200);
    RigWrite exposure = Rig_LastWrite(0, RigControl_Exposure), balance = Rig_LastWrite(0, RigControl_WhiteBalance);
    EXPECT_EQ(exposure.currentFlags, 1);
    EXPECT_EQ(balance.currentFlags, 2);
    EXPECT_EQ(balance.currentValue, 5000);
    EXPECT_EQ(Rig_LastWrite(0, RigControl_PowerLine).value, 2);
    EXPECT_EQ(gApp.activeCalibration, 0);
    EXPECT_EQ(ButtonText(CMD_CALIBRATION_MENU), L"Lens A");

    ExpandOnly(1);
    EXPECT_EQ(SendMessageW(Item(COLOR, 102), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(Selected(Item(COLOR, 130)), 1);
    Click(COLOR, 102);
    exposure = Rig_LastWrite(0, RigControl_Exposure);
    EXPECT_EQ(exposure.currentFlags, 2);
    EXPECT_EQ(exposure.currentValue, -5) << "where automatic exposure had it";
    EXPECT_EQ(Text(Item(COLOR, 101)), L"Exposure  -5");
    HWND offer = Item(COLOR, 132);
    EXPECT_TRUE(IsWindowVisible(offer));
    EXPECT_EQ(Text(offer), L"Back to -8");
    program.Run(300);
    program.Screenshot(L"panel-color-offer");
    Click(COLOR, 132);
    EXPECT_EQ(Rig_LastWrite(0, RigControl_Exposure).currentValue, -8);
    EXPECT_EQ(Text(Item(COLOR, 101)), L"Exposure  -8");
    EXPECT_FALSE(IsWindowVisible(offer));

    // At another size the calibration is not applied, and the button says why.
    SendMessageW(gApp.mainWindow, WM_COMMAND, CMD_RESOLUTION_FIRST, 0);
    ASSERT_TRUE(program.RunUntil([] { return Camera_IsOpen() && gCamera.currentFormat.width == 640; }));
    program.Run(200);
    EXPECT_LT(gView.scale, 0.0f);
    EXPECT_EQ(ButtonText(CMD_CALIBRATION_MENU), L"Not applied");
    const std::wstring reason = L"Calibration 1 - Lens A was made at 1280x720, the picture is 640x480: it is not applied.";
    EXPECT_EQ(program.StatusText(1), reason);
    EXPECT_EQ(CalibrationTip(), reason);
    EXPECT_EQ(Rig_LastWrite(0, RigControl_Exposure).currentValue, -8) << "set again at the new size";
    program.Screenshot(L"calibration-not-applied");
    SendMessageW(gApp.mainWindow, WM_COMMAND, CMD_RESOLUTION_FIRST + 1, 0);
    ASSERT_TRUE(program.RunUntil([] { return Camera_IsOpen() && gCamera.currentFormat.width == 1280; }));
    program.Run(200);
    EXPECT_EQ(gApp.activeCalibration, 0);
    EXPECT_EQ(ButtonText(CMD_CALIBRATION_MENU), L"Lens A");
    EXPECT_EQ(program.StatusText(1), L"");
}

// Which corners of the last snapshot hold the rig's red and blue squares:
// 'R' or 'B' for top left, top right, bottom left, bottom right.
std::string Corners()
{
    std::wstring file = gApp.lastSavedFile;
    UINT w = 0, h = 0;
    if (!Image_Size(file, &w, &h))
        return "no snapshot";
    int p = (int)w / 32, left = p, top = p, right = (int)w - p, bottom = (int)h - p;
    std::string corners;
    for (POINT at : {POINT{left, top}, POINT{right, top}, POINT{left, bottom}, POINT{right, bottom}}) {
        COLORREF c = Image_Pixel(file, at.x, at.y);
        corners += GetRValue(c) > 150 && GetBValue(c) < 110 ? 'R' : GetBValue(c) > 150 && GetRValue(c) < 110 ? 'B' : '.';
    }
    return corners;
}

TEST_F(Panel, FlipBoxesTurnThePictureAndEffectsStayExclusiveWithTheToolbar)
{
    ExpandOnly(2);
    auto snapshot = [&] {
        program.Run(300); // a few frames through the new settings
        Click(SOURCE, 109);
        program.Run(200);
        return Corners();
    };
    EXPECT_EQ(snapshot(), "R..B");
    Click(FLIP, 101);
    EXPECT_EQ(gCamera.mirror.load(), 1);
    EXPECT_EQ(snapshot(), ".RB.");
    Click(FLIP, 102);
    EXPECT_EQ(snapshot(), "B..R") << "mirrored and upside down";
    Click(FLIP, 101);
    Click(FLIP, 102);
    EXPECT_EQ(snapshot(), "R..B");

    Click(FLIP, 103);
    EXPECT_EQ(gCamera.gray.load(), 1);
    EXPECT_TRUE(program.Checked(CMD_EFFECT_GRAY));
    Click(FLIP, 105);
    EXPECT_EQ(gCamera.gray.load(), 0);
    EXPECT_EQ(gCamera.negative.load(), 1);
    EXPECT_NE(SendMessageW(Item(FLIP, 103), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_FALSE(program.Checked(CMD_EFFECT_GRAY));
    EXPECT_TRUE(program.Checked(CMD_EFFECT_NEGATIVE));
}

std::vector<int> gCommands;
LRESULT CALLBACK RecordCommands(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND)
        gCommands.push_back(LOWORD(wParam));
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST_F(Panel, EachReportButtonPostsOneCommandAndWritesOneDebuggerLine)
{
    ExpandOnly(3);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = RecordCommands;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"PanelTestCommands";
    RegisterClassW(&wc);
    HWND recorder = CreateWindowW(L"PanelTestCommands", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    HWND main = gApp.mainWindow;
    gApp.mainWindow = recorder;
    DebugCapture capture;
    for (int id = 101; id <= 103; id++)
        Click(REPORT, id);
    gApp.mainWindow = main;
    DestroyWindow(recorder);
    EXPECT_EQ(gCommands, (std::vector<int>{CMD_REPORT_XLSX, CMD_REPORT_RTF, CMD_REPORT_TITLE}));
    std::vector<std::wstring> lines;
    for (const std::wstring &line : capture.Lines())
        if (line.rfind(L"WM_COMMAND ", 0) == 0)
            lines.push_back(line);
    EXPECT_EQ(lines, (std::vector<std::wstring>{L"WM_COMMAND 101 0\r\n", L"WM_COMMAND 102 0\r\n",
                                                 L"WM_COMMAND 103 0\r\n"}));
}

} // namespace
