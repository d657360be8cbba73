// The main window: creation of its children, layout, the capture events it
// receives from the view, the status-bar timer.
#include "app/mainwnd_win.h"

#include "state/app_state.h"
#include "state/calibrations.h"
#include "base/commands.h"
#include "state/language.h"
#include "app/mainwnd_logic.h"
#include "app/prompt_win.h"
#include "state/settings.h"
#include "app/statusbar_win.h"
#include "base/text.h"
#include "app/toolbar_table.h"
#include "app/toolbar_win.h"
#include "base/dpi_win.h"
#include "capture/camera_graph.h"
#include "dialogs/dialogs_win.h"
#include "reports/time_lapse.h"
#include "state/view_api.h"
#include "view/view_source.h"
#include "view/view_state.h"

#include <commctrl.h>

enum { STATUS_TIMER = 18, STATUS_TIMER_PERIOD = 1500, CAMERA_VIEW_ID = 108, CONTROL_PANEL_ID = 109 };
// At 96 DPI; scaled to the screen's DPI like everything else in the window.
static const int MIN_TRACK_WIDTH = 798;
static const int MIN_TRACK_HEIGHT = 520;

HWND MainWnd_Create(HINSTANCE instance)
{
    return CreateWindowExW(0, L"QuorellWndClass", L"Quorell", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance,
                           nullptr);
}

void MainWnd_PostCommand(int id)
{
    if (gApp.mainWindow)
        PostMessageW(gApp.mainWindow, WM_COMMAND, (WPARAM)id, 0);
}

void Panel_PostCommand(int id)
{
    if (gApp.controlPanel)
        PostMessageW(gApp.controlPanel, WM_COMMAND, (WPARAM)id, 0);
}

void Panel_PostRefresh(bool full)
{
    if (gApp.controlPanel)
        PostMessageW(gApp.controlPanel, WM_SECTION_REFRESH, full ? 1 : 0, 0);
}

static int HorizontalDialogUnits(int units)
{
    return MulDiv(units, LOWORD(GetDialogBaseUnits()), 4);
}

void MainWnd_SendViewStyle()
{
    ViewStyle style = {(int32_t)gSettings.gridColor, (int32_t)gSettings.lineColor, gSettings.lineWidth,
                       (int32_t)gSettings.textColor, gSettings.textSize, gSettings.itemNumbers};
    View_SetStyle(&style);
}

static void CreateCameraView(HWND window, HINSTANCE instance)
{
    gRequestedFormat.width = gSettings.captureWidth;
    gRequestedFormat.height = gSettings.captureHeight;
    gApp.cameraView = CreateWindowExW(WS_EX_CLIENTEDGE, L"CameraWndClass", nullptr,
                                      WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_HSCROLL | WS_VSCROLL |
                                          WS_TABSTOP,
                                      0, 0, 0, 0, window, (HMENU)(INT_PTR)CAMERA_VIEW_ID, instance, nullptr);
    if (gApp.cameraView)
        ShowScrollBar(gApp.cameraView, SB_BOTH, FALSE);
    MainWnd_SendViewStyle();
}

static void CreateControlPanel(HWND window, HINSTANCE instance)
{
    gApp.panelWidth = HorizontalDialogUnits(126);
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_VSCROLL | (gSettings.showCtrlPanel ? WS_VISIBLE : 0);
    gApp.controlPanel = CreateWindowExW(WS_EX_CLIENTEDGE, L"CtrlPanelWndClass", nullptr, style, 0, 0, 0, 0,
                                        window, (HMENU)(INT_PTR)CONTROL_PANEL_ID, instance, nullptr);
    if (gApp.controlPanel)
        ShowScrollBar(gApp.controlPanel, SB_VERT, FALSE);
}

static void OnCreate(HWND window)
{
    HINSTANCE instance = (HINSTANCE)gApp.instance;
    gApp.mainWindow = window;
    gApp.toolbar = Toolbar_Create(window, instance);
    gApp.toolbarHeight = Toolbar_Height();
    CreateCameraView(window, instance);
    CreateControlPanel(window, instance);
    gApp.statusPartWidth = HorizontalDialogUnits(80);
    StatusBar_Create(window, instance);
    SetFocus(gApp.cameraView);
    MainWnd_Layout();
    if (gSettings.firstUse)
        PostMessageW(window, WM_COMMAND, CMD_FIRST_USE, 0);
    Panel_PostCommand(CMD_PANEL_TEXTS);
    Panel_PostRefresh(true);
    MainWnd_ShowResolutionText();
    MainWnd_ShowCalibrationText();
    View_SetTexts(Language_Text(1229), Language_Text(1228));
    SetTimer(window, STATUS_TIMER, STATUS_TIMER_PERIOD, nullptr);
}

void MainWnd_Layout()
{
    RECT client;
    GetClientRect(gApp.mainWindow, &client);
    int width = client.right, height = client.bottom;
    // The toolbar takes the new width first, wraps its buttons to it and
    // then fits its height to the rows: they decide where the view begins.
    SetWindowPos(gApp.toolbar, nullptr, 0, 0, width, gApp.toolbarHeight + 1, SWP_NOZORDER | SWP_NOMOVE);
    SendMessageW(gApp.toolbar, TB_AUTOSIZE, 0, 0);
    gApp.toolbarHeight = Toolbar_Height();
    int top = gApp.toolbarHeight;
    int usable = height - gApp.statusBarHeight - gApp.toolbarHeight;
    bool panelShown = gApp.controlPanel && gSettings.showCtrlPanel;

    HDWP batch = BeginDeferWindowPos(panelShown ? 3 : 2);
    // The status bar places itself when it gets a size message.
    batch = DeferWindowPos(batch, gApp.statusBar, nullptr, 0, 0, width, 0, SWP_NOZORDER | SWP_NOMOVE);
    int viewX = 0;
    if (panelShown) {
        batch = DeferWindowPos(batch, gApp.controlPanel, nullptr, 0, top, gApp.panelWidth, usable, SWP_NOZORDER);
        viewX = gApp.panelWidth;
    }
    if (gApp.cameraView)
        batch = DeferWindowPos(batch, gApp.cameraView, nullptr, viewX, top, width - viewX, usable, SWP_NOZORDER);
    EndDeferWindowPos(batch);
    SendMessageW(gApp.statusBar, WM_SIZE, 0, 0);
    StatusBar_Layout(width);
}

// Part 2: the picture's size and the camera's frame rate, in the order
// given; a still picture has no rate.
static void ShowSizeAndRate(bool sizeFirst)
{
    wchar_t text[STATUS_TEXT_CAPACITY];
    if (gView.source == VIEW_PICTURE)
        Text_Format(text, STATUS_TEXT_CAPACITY, L"%dx%d", gView.imageWidth, gView.imageHeight);
    else if (sizeFirst)
        Status_SizeThenFps(text, STATUS_TEXT_CAPACITY, gView.imageWidth, gView.imageHeight, gCamera.fps);
    else
        Status_FpsThenSize(text, STATUS_TEXT_CAPACITY, gView.imageWidth, gView.imageHeight, gCamera.fps);
    StatusBar_SetText(2, text);
}

void MainWnd_UpdateStatus()
{
    SendMessageW(gApp.zoomSlider, TBM_SETPOS, TRUE, gView.zoom);
    wchar_t text[STATUS_TEXT_CAPACITY];
    Text_Format(text, STATUS_TEXT_CAPACITY, L"%d%%", gView.zoom);
    StatusBar_SetText(4, text);
    ShowSizeAndRate(true);
}

void MainWnd_ShowResolutionText()
{
    wchar_t text[BUTTON_TEXT_CAPACITY];
    Toolbar_ResolutionText(text, BUTTON_TEXT_CAPACITY, Camera_IsOpen());
    Toolbar_SetText(CMD_RESOLUTION_MENU, text);
}

// The button's text, and in the status bar why the calibration the user
// applied is not applied, if it is not.
static void ShowOverlayButton(int command, bool usable, bool shown)
{
    WORD state = (usable ? TBSTATE_ENABLED : 0) | (usable && shown ? TBSTATE_CHECKED : 0);
    SendMessageW(gApp.toolbar, TB_SETSTATE, command, MAKELPARAM(state, 0));
}

void MainWnd_ShowOverlayButtons()
{
    // The calibration line is drawn alone: meanwhile no overlay is shown.
    bool calibrating = gView.calibLength != 0;
    gView.showScaleBar = gSettings.showScaleBar != 0;
    ShowOverlayButton(CMD_OVERLAY_CROSS, !calibrating, gView.showCross);
    ShowOverlayButton(CMD_OVERLAY_GRID, !calibrating, gView.showGrid);
    ShowOverlayButton(CMD_OVERLAY_CIRCLES, !calibrating, gView.showCircles);
    ShowOverlayButton(CMD_SCALE_BAR, !calibrating && gView.scale > 0, gView.showScaleBar);
}

void MainWnd_ShowCalibrationText()
{
    MainWnd_ShowOverlayButtons();
    wchar_t text[BUTTON_TEXT_CAPACITY];
    Toolbar_CalibrationText(text, BUTTON_TEXT_CAPACITY, View_HasPicture());
    Toolbar_SetText(CMD_CALIBRATION_MENU, text);
    wchar_t note[CALIBRATION_REASON_CAPACITY];
    Status_NoteText(note, CALIBRATION_REASON_CAPACITY, View_HasPicture());
    StatusBar_SetText(1, note);
    // A hold ends with the picture (a new format, camera or opened picture).
    Toolbar_SetChecked(CMD_FREEZE, gView.source == VIEW_HELD);
}

void MainWnd_SetToolMode(int tool)
{
    View_SetTool(tool);
    MainWnd_UpdateStatus();
    if (gView.tool == TOOL_TEXT) {
        if (View_HasPicture() && !gApp.textInputDialog) {
            gView.phase = TOOL_TEXT;
            gApp.textInputDialog = TextInputDlg_Create(gApp.mainWindow);
            if (gApp.textInputDialog)
                ShowWindow(gApp.textInputDialog, SW_SHOW);
        }
    } else if (gApp.textInputDialog) {
        DestroyWindow(gApp.textInputDialog);
        gApp.textInputDialog = nullptr;
    }
}

static void RestartView()
{
    if (gApp.cameraView)
        SendMessageW(gApp.cameraView, WM_COMMAND, CMD_VIEW_RESTART, 0);
}

void MainWnd_SetResolution(int position)
{
    Camera_EnsureFormats();
    const VideoFormat *format = FormatMap_At(Camera_CurrentFormatMap(), position);
    if (!format)
        return;
    if (format->width != gCamera.currentFormat.width || format->height != gCamera.currentFormat.height) {
        gRequestedFormat.width = format->width;
        gRequestedFormat.height = format->height;
        RestartView();
    }
}

void MainWnd_SetCompression(bool mjpg)
{
    gRequestedFormat = {mjpg ? kSubtypeMjpg : kSubtypeYuy2, gCamera.currentFormat.width,
                        gCamera.currentFormat.height};
    RestartView();
}

void MainWnd_StartCalibration()
{
    int result = ConfigCalibrationsDlg_Show(gApp.mainWindow);
    if (result != CMD_CALIBRATION_MENU || !Camera_IsOpen() || gApp.calibrationDialog)
        return;
    gView.calibLength = 4800;
    gApp.calibrationDialog = CalibrationDlg_Create(gApp.mainWindow);
    if (gApp.calibrationDialog)
        ShowWindow(gApp.calibrationDialog, SW_SHOW);
    View_SetZoom(100);
    MainWnd_UpdateStatus();
    MainWnd_ShowOverlayButtons();
}

static void OnCameraStarted()
{
    Camera_EnsureFormats();
    MainWnd_ShowCalibrationText();
    MainWnd_ShowResolutionText();
    gSettings.captureWidth = gCamera.currentFormat.width;
    gSettings.captureHeight = gCamera.currentFormat.height;
    Settings_Save();
    Calibration_ApplyKept(gCamera.currentFormat.width, gCamera.currentFormat.height);
    View_SetZoom(gCamera.currentFormat.width < 1920 ? 100 : 0);
    MainWnd_PostCommand(CMD_CALIBRATION_CHANGED);
    Panel_PostRefresh(true);
    MainWnd_ShowSwitchesOnToolbar();
}

static void OnCameraStopped()
{
    if (gApp.textInputDialog) {
        DestroyWindow(gApp.textInputDialog);
        gApp.textInputDialog = nullptr;
    }
    if (gApp.calibrationDialog) {
        DestroyWindow(gApp.calibrationDialog);
        gView.calibLength = 0;
        gApp.calibrationDialog = nullptr;
    }
    MainWnd_ShowCalibrationText();
    MainWnd_ShowResolutionText();
    Panel_PostRefresh(true);
    SendMessageW(gApp.zoomSlider, TBM_SETPOS, TRUE, 100);
    StatusBar_SetText(3, L"");
    MainWnd_ShowSwitchesOnToolbar(); // every stop clears the effect flags
}


// While a series runs, the status bar's first part says so and counts its
// pictures.
static void ShowTimeLapse()
{
    wchar_t text[STATUS_TEXT_CAPACITY] = L"";
    if (gTimeLapse.running) {
        wchar_t count[STATUS_TEXT_CAPACITY];
        TimeLapse_CountText(count, STATUS_TEXT_CAPACITY, gTimeLapse);
        Language_Message(text, STATUS_TEXT_CAPACITY, 1419, L"Time-lapse: %s", count);
    }
    StatusBar_SetText(0, text);
}

static LRESULT OnNotify(HWND window, WPARAM wParam, LPARAM lParam)
{
    auto *header = (NMHDR *)lParam;
    if (header->code == TTN_GETDISPINFOW) {
        Toolbar_FillTooltip((NMTTDISPINFOW *)lParam);
        return 0;
    }
    return DefWindowProcW(window, WM_NOTIFY, wParam, lParam);
}

LRESULT CALLBACK MainWnd_Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        OnCreate(window);
        return 0;
    case WM_SIZE:
        MainWnd_Layout();
        return 0;
    case WM_GETMINMAXINFO: {
        auto *info = (MINMAXINFO *)lParam;
        info->ptMinTrackSize.x = Dpi_Scale(MIN_TRACK_WIDTH);
        info->ptMinTrackSize.y = Dpi_Scale(MIN_TRACK_HEIGHT);
        return 0;
    }
    case WM_COMMAND:
        return MainWnd_OnCommand(window, wParam, lParam);
    case WM_NOTIFY:
        return OnNotify(window, wParam, lParam);
    case WM_TIMER:
        if (wParam == STATUS_TIMER)
            ShowSizeAndRate(false);
        return 0;
    case WM_CAMERA_STARTED:
        OnCameraStarted();
        return 0;
    case WM_CAMERA_STOPPED:
        OnCameraStopped();
        return 0;
    case WM_CAMERA_STILL:
        MainWnd_OnCommand(window, CMD_SNAPSHOT, 0);
        return 0;
    case WM_VIEW_ZOOMCHANGED:
        MainWnd_UpdateStatus();
        return 0;
    case WM_TIME_LAPSE_CHANGED:
        ShowTimeLapse();
        return 0;
    case WM_STATUS_REFRESH:
        MainWnd_UpdateStatus();
        MainWnd_ShowOverlayButtons(); // a calibration line may have gone
        return 0;
    case WM_DESTROY:
        TimeLapse_Stop(false); // its video is finished, without a word to a window that goes
        KillTimer(window, STATUS_TIMER);
        Toolbar_FreeImages(gApp.toolbar);
        Prompt_FreeFont();
        gApp.mainWindow = nullptr;
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
