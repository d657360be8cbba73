// The main window's command routing.
#include "state/app_state.h"
#include "base/commands.h"
#include "app/mainwnd_logic.h"
#include "app/mainwnd_win.h"
#include "app/menus_win.h"
#include "state/settings.h"
#include "base/text.h"
#include "app/toolbar_table.h"
#include "app/toolbar_win.h"
#include "capture/camera_graph.h"
#include "dialogs/dialogs_win.h"
#include "reports/reports_win.h"
#include "reports/picture_open_win.h"
#include "reports/snapshot.h"
#include "view/items.h"
#include "state/view_api.h"
#include "view/view_device_win.h"
#include "view/view_source.h"
#include "view/view_state.h"

#include <shellapi.h>

static void RepaintView()
{
    if (gApp.cameraView)
        InvalidateRect(gApp.cameraView, nullptr, FALSE);
}

static void SetZoom100()
{
    View_SetZoom(100);
}

// Reads the clicked button's check and keeps the group exclusive.
static void ToggleExclusive(const int *commands, int32_t *const *switches, int count, int clicked)
{
    bool checked = Toolbar_IsChecked(commands[clicked]);
    for (int other : Toggle_Exclusive(switches, count, clicked, checked))
        Toolbar_SetChecked(commands[other], false);
}

static void ToggleEffect(int command)
{
    static const int commands[] = {CMD_EFFECT_GRAY, CMD_EFFECT_BLACK_WHITE, CMD_EFFECT_NEGATIVE, CMD_EFFECT_EMBOSS};
    int32_t values[4] = {gCamera.gray, gCamera.blackWhite, gCamera.negative, gCamera.emboss};
    int32_t *const switches[] = {&values[0], &values[1], &values[2], &values[3]};
    ToggleExclusive(commands, switches, 4, command - CMD_EFFECT_GRAY);
    gCamera.gray = values[0];
    gCamera.blackWhite = values[1];
    gCamera.negative = values[2];
    gCamera.emboss = values[3];
}

static void ToggleOverlay(int command)
{
    static const int commands[] = {CMD_OVERLAY_CROSS, CMD_OVERLAY_GRID, CMD_OVERLAY_CIRCLES};
    int32_t values[3] = {gView.showCross, gView.showGrid, gView.showCircles};
    int32_t *const switches[] = {&values[0], &values[1], &values[2]};
    ToggleExclusive(commands, switches, 3, command - CMD_OVERLAY_CROSS);
    gView.showCross = values[0];
    gView.showGrid = values[1];
    gView.showCircles = values[2];
}

// The scale bar needs a calibration: without one the command does nothing
// (its button is greyed, and its tip says why).
static void ToggleScaleBar()
{
    if (gView.scale > 0) {
        gSettings.showScaleBar = !gSettings.showScaleBar;
        Settings_Save();
        RepaintView();
    }
    MainWnd_ShowOverlayButtons();
}

static void ShowEffectsOnToolbar()
{
    Toolbar_SetChecked(CMD_EFFECT_GRAY, gCamera.gray != 0);
    Toolbar_SetChecked(CMD_EFFECT_BLACK_WHITE, gCamera.blackWhite != 0);
    Toolbar_SetChecked(CMD_EFFECT_NEGATIVE, gCamera.negative != 0);
    Toolbar_SetChecked(CMD_EFFECT_EMBOSS, gCamera.emboss != 0);
}

// The tool group shows the view's tool, also after the toolbar checked a
// button by itself for a command that was refused.
static void ShowToolOnToolbar()
{
    for (const ToolbarEntry &entry : kToolbar)
        if (entry.kind == TB_GROUP)
            Toolbar_SetChecked(entry.command, Toolbar_ToolOf(entry.command) == gView.tool);
}

void MainWnd_ShowSwitchesOnToolbar()
{
    ShowEffectsOnToolbar();
    ShowToolOnToolbar();
}

static void OnCalibrationChanged()
{
    if (gView.scale > 0) {
        SetZoom100();
        if (!gView.showCross && !gView.showGrid && !gView.showCircles) {
            gView.showCross = true;
            Toolbar_SetChecked(CMD_OVERLAY_CROSS, true);
        }
    }
    MainWnd_UpdateStatus();
    MainWnd_ShowCalibrationText();
}

static void EndTextTool()
{
    MainWnd_SetToolMode(0);
    Toolbar_SetChecked(CMD_TOOL_TEXT, false);
    Toolbar_SetChecked(CMD_TOOL_POINTER, true);
}

static void ToggleControlPanel(HWND window)
{
    gSettings.showCtrlPanel = 1 - gSettings.showCtrlPanel;
    Settings_Save();
    if (gApp.controlPanel)
        ShowWindow(gApp.controlPanel, gSettings.showCtrlPanel ? SW_SHOW : SW_HIDE);
    RECT client;
    GetClientRect(window, &client);
    PostMessageW(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
}

static void OpenManual()
{
    wchar_t path[PATH_CAPACITY];
    if (Text_Format(path, PATH_CAPACITY, L"%ls\\Manual.rtf", gApp.moduleFolder))
        ShellExecuteW(gApp.mainWindow, L"open", path, nullptr, nullptr, SW_SHOWNORMAL);
}

static bool CanEditItems()
{
    return View_HasPicture() && !gApp.calibrationDialog && !gView.items.empty();
}

LRESULT MainWnd_OnCommand(HWND window, WPARAM wParam, LPARAM lParam)
{
    int command = LOWORD(wParam);
    bool open = View_HasPicture(); // the camera's picture, or a still one
    bool cameraOpen = Camera_IsOpen();
    bool noCalibrationDialog = gApp.calibrationDialog == nullptr;
    switch (command) {
    case CMD_OPEN_DEVICE_OR_SNAPSHOT_KEY:
    case CMD_SNAPSHOT:
        Snapshot_Take();
        break;
    case CMD_CLOSE_PROGRAM:
        DestroyWindow(window);
        break;
    case CMD_PREFERENCES_CHANGED:
        MainWnd_SendViewStyle();
        break;
    case CMD_CHOOSE_RESOLUTION:
        MainWnd_SetResolution((int)lParam);
        Panel_PostRefresh(false);
        break;
    case CMD_CHOOSE_COMPRESSION:
        MainWnd_SetCompression(lParam != 0);
        Panel_PostRefresh(false);
        break;
    case CMD_CALIBRATION_CHANGED:
        OnCalibrationChanged();
        break;
    case CMD_EDIT_TEXT_ITEM:
        if (open && noCalibrationDialog && !gApp.textInputDialog) {
            MainWnd_SetToolMode(TOOL_TEXT);
            Toolbar_SetChecked(CMD_TOOL_POINTER, false);
            Toolbar_SetChecked(CMD_TOOL_TEXT, true);
        } else {
            gView.editIndex = -1;
        }
        break;
    case CMD_TEXT_TOOL_ENDED:
        EndTextTool();
        MainWnd_UpdateStatus();
        break;
    case CMD_REPORT_XLSX:
        Report_SaveXlsx();
        break;
    case CMD_REPORT_RTF:
        Report_SaveRtf();
        break;
    case CMD_REPORT_TITLE:
        ReportTitleDlg_Show(window);
        break;
    case CMD_EFFECTS_CHANGED:
        ShowEffectsOnToolbar();
        RepaintView(); // a still picture gets no new frame to show it
        break;
    case CMD_EFFECT_GRAY:
    case CMD_EFFECT_BLACK_WHITE:
    case CMD_EFFECT_NEGATIVE:
    case CMD_EFFECT_EMBOSS:
        ToggleEffect(command);
        RepaintView();
        Panel_PostRefresh(false);
        break;
    case CMD_PREFERENCES:
        PreferencesDlg_Show(window);
        break;
    case CMD_RECORD:
        if (cameraOpen && noCalibrationDialog)
            RecordingDlg_Show(window);
        break;
    case CMD_TIME_LAPSE:
        // Also without a camera: a running series can be stopped.
        if (noCalibrationDialog)
            TimeLapseDlg_Show(window);
        break;
    case CMD_FOCUS_STACK:
        if (open && noCalibrationDialog) {
            if (gView.source == VIEW_HELD) { // a series takes the live picture
                View_ToggleHold();
                MainWnd_ShowCalibrationText();
            }
            FocusStackDlg_Show(window);
        }
        break;
    case CMD_GALLERY:
        Gallery_Open();
        break;
    case CMD_FREEZE:
        View_ToggleHold();
        MainWnd_ShowCalibrationText(); // the button's check and the status note
        break;
    case CMD_OPEN_PICTURE:
        if (gView.source == VIEW_PICTURE)
            View_BackToLive();
        else
            Picture_Choose();
        break;
    case CMD_OPEN_MICROSCOPE:
        OpenDlg_Show(gDeviceIndex, gCamera.currentFormat); // what runs, if anything
        break;
    case CMD_RESOLUTION_MENU:
        if (cameraOpen && noCalibrationDialog)
            Menu_Resolution(window);
        break;
    case CMD_CONFIG_CALIBRATIONS:
        if (cameraOpen)
            MainWnd_StartCalibration();
        break;
    case CMD_CALIBRATION_MENU:
        if (open)
            Menu_Calibration(window);
        break;
    case CMD_ZOOM_100:
        if (gView.zoom != 100) {
            SetZoom100();
            MainWnd_UpdateStatus();
        }
        break;
    case CMD_TOOL_LINE:
    case CMD_TOOL_POINT_LINE:
    case CMD_TOOL_RECTANGLE:
    case CMD_TOOL_CIRCLE:
    case CMD_TOOL_ANGLE:
    case CMD_TOOL_FREEHAND:
    case CMD_TOOL_POINTER:
        if (open)
            MainWnd_SetToolMode(Toolbar_ToolOf(command));
        ShowToolOnToolbar();
        break;
    case CMD_TOOL_TEXT:
        if (open && noCalibrationDialog) {
            MainWnd_SetToolMode(12);
        } else {
            MainWnd_SetToolMode(0);
            Toolbar_SetChecked(CMD_TOOL_TEXT, false);
            Toolbar_SetChecked(CMD_TOOL_POINTER, true);
        }
        MainWnd_UpdateStatus();
        break;
    case CMD_REMOVE_LAST:
    case CMD_REMOVE_ALL:
        if (CanEditItems()) {
            if (command == CMD_REMOVE_LAST)
                Items_RemoveLast();
            else
                Items_RemoveAll();
            RepaintView();
            MainWnd_UpdateStatus();
        }
        break;
    case CMD_LANGUAGE_MENU:
        Menu_Language(window);
        break;
    case CMD_TOGGLE_PANEL:
        ToggleControlPanel(window);
        break;
    case CMD_ABOUT:
        AboutDlg_Show(window);
        break;
    case CMD_FIRST_USE: // posted at the start while the instructions have never been shown
        if (gSettings.firstUse)
            HowToDlg_Show(window);
        break;
    case CMD_MANUAL:
        OpenManual();
        break;
    case CMD_HELP_MENU:
        Menu_Help(window);
        break;
    case CMD_OVERLAY_CROSS:
    case CMD_OVERLAY_GRID:
    case CMD_OVERLAY_CIRCLES:
        ToggleOverlay(command);
        RepaintView();
        break;
    case CMD_SCALE_BAR:
        ToggleScaleBar();
        break;
    default:
        if (command >= CMD_RESOLUTION_FIRST && command <= CMD_RESOLUTION_LAST) {
            MainWnd_SetResolution(command - CMD_RESOLUTION_FIRST);
            Panel_PostRefresh(false);
            return 1;
        }
        return DefWindowProcW(window, WM_COMMAND, wParam, lParam);
    }
    return 0;
}
