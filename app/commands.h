// Command ids that cross windows (WM_COMMAND, low word of wParam), and the
// calls that deliver them to the main window and the control panel.
#pragma once

enum Command {
    CMD_VIEW_CHECK_DEVICE = 3,      // view to itself: a camera went away
    CMD_VIEW_RESTART = 4,           // main window to view: restart with gRequestedFormat
    CMD_SNAPSHOT_KEY = 11,          // view to main window: the space bar was pressed
    CMD_VIEW_OPEN_DEVICE = 11,      // view to itself: open the last camera
    CMD_CLOSE_PROGRAM = 105,
    CMD_PREFERENCES_CHANGED = 1008,
    CMD_CHOOSE_RESOLUTION = 1009,   // lParam: index in the current format map
    CMD_CHOOSE_COMPRESSION = 1010,  // lParam: non-zero MJPG, zero YUY2
    CMD_CALIBRATION_CHANGED = 1011,
    CMD_TEXT_TOOL_ENDED = 1014,
    CMD_REPORT_XLSX = 1020,
    CMD_REPORT_RTF = 1021,
    CMD_REPORT_TITLE = 1022,
    CMD_PANEL_TEXTS = 1039,         // fetch the language texts again
    CMD_EFFECTS_CHANGED = 1050,
    CMD_SNAPSHOT = 3008,
    CMD_RECORD = 3009,
    CMD_GALLERY = 3010,
    CMD_CONFIG_CALIBRATIONS = 3016,
    CMD_FIRST_USE = 3033,
    CMD_VIEW_STYLE = 8001,          // lParam: ViewStyle *
    CMD_VIEW_TOOL = 8002,           // lParam: tool id
    CMD_VIEW_ZOOM = 8003,           // lParam: percent, outside 50..200 fits
    CMD_VIEW_CALIBRATION = 8004,    // lParam: ViewCalibration *
    CMD_VIEW_TEXT_ITEM = 8005,      // lParam: "Init", "OK" or "Cancel"
};

// Private window messages between the main window, the view and the panel.
enum PrivateMessage {
    WM_VIEW_ZOOMFITTED = 0x8005,  // view to main window: fitting changed the zoom
    WM_SECTION_REFRESH = 0x8008,  // main window to panel: wParam 1 full, 0 light
};

// Posts WM_COMMAND id (lParam 0) to the main window / the control panel.
void MainWnd_PostCommand(int id);
void Panel_PostCommand(int id);
void Panel_PostRefresh(bool full);
