// Every command id of the program (WM_COMMAND, low word of wParam), one
// name for each value, the private window messages, and the calls that
// deliver commands to the main window and the control panel.
#pragma once

enum Command {
    // Inside the control panel: to itself, 1 creates the sections and 6 lays
    // them out; from a section to its header, 1 sets the chevron (lParam 1
    // expanded, 0 collapsed).
    CMD_PANEL_SETUP = 1,
    CMD_PANEL_LAYOUT = 6,

    // The view to itself and to the main window.
    CMD_VIEW_CHECK_DEVICE = 3,      // view to itself: a camera went away
    CMD_VIEW_RESTART = 4,           // main window to view: restart with gRequestedFormat
    // Posted by the view: to itself it means "open the last camera"; to the
    // main window, "the space bar was pressed: take a snapshot".
    CMD_OPEN_DEVICE_OR_SNAPSHOT_KEY = 11,
    CMD_CLOSE_PROGRAM = 105,

    // From the panel and the dialogs to the main window.
    CMD_PREFERENCES_CHANGED = 1008,
    CMD_CHOOSE_RESOLUTION = 1009,   // lParam: index in the current format map
    CMD_CHOOSE_COMPRESSION = 1010,  // lParam: non-zero MJPG, zero YUY2
    CMD_CALIBRATION_CHANGED = 1011,
    CMD_TEXT_TOOL_ENDED = 1014,
    CMD_EDIT_TEXT_ITEM = 1015,      // view to main window: a double click on text item gView.editIndex
    CMD_REPORT_XLSX = 1020,
    CMD_REPORT_RTF = 1021,
    CMD_REPORT_TITLE = 1022,
    CMD_PANEL_TEXTS = 1039,         // to the panel: fetch the language texts again
    CMD_EFFECTS_CHANGED = 1050,
    CMD_EFFECT_GRAY = 1051,         // toolbar
    CMD_EFFECT_BLACK_WHITE = 1052,  // toolbar
    CMD_EFFECT_NEGATIVE = 1053,     // toolbar
    CMD_EFFECT_EMBOSS = 1054,       // toolbar
    CMD_SNAPSHOT = 3008,
    CMD_RECORD = 3009,
    CMD_GALLERY = 3010,
    CMD_CONFIG_CALIBRATIONS = 3016, // reopen the calibration table

    // The toolbar's buttons.
    CMD_PREFERENCES = 3007,
    CMD_OPEN_MICROSCOPE = 3012,
    CMD_RESOLUTION_MENU = 3014,
    CMD_CALIBRATION_MENU = 3017,
    CMD_ZOOM_100 = 3020,
    CMD_TOOL_LINE = 3021,
    CMD_TOOL_POINT_LINE = 3022,
    CMD_TOOL_CIRCLE = 3023,
    CMD_TOOL_RECTANGLE = 3024,
    CMD_TOOL_ANGLE = 3025,
    CMD_TOOL_FREEHAND = 3026,
    CMD_TOOL_TEXT = 3027,
    CMD_REMOVE_LAST = 3028,
    CMD_REMOVE_ALL = 3029,
    CMD_TOOL_POINTER = 3030,
    CMD_FIRST_USE = 3033,           // posted once at the first start
    CMD_LANGUAGE_MENU = 3034,
    CMD_TOGGLE_PANEL = 3035,
    CMD_ABOUT = 3036,
    CMD_MANUAL = 3037,
    CMD_HELP_MENU = 3038,
    CMD_OVERLAY_CROSS = 3090,
    CMD_OVERLAY_GRID = 3091,
    CMD_OVERLAY_CIRCLES = 3092,
    CMD_SCALE_BAR = 3093,           // toolbar and calibration menu: the scale bar on or off
    CMD_FREEZE = 3094,              // toolbar and key F: hold the picture, or live again
    CMD_OPEN_PICTURE = 3095,        // toolbar: open a saved picture, or back to live while one is shown
    CMD_TIME_LAPSE = 3096,          // the Source section: the Time-lapse dialog
    CMD_FOCUS_STACK = 3097,         // the Focus stack window

    // Choose resolution k of the current format map: 3040 + k, k < 20.
    CMD_RESOLUTION_FIRST = 3040,
    CMD_RESOLUTION_LAST = 3059,

    // To the camera view.
    CMD_VIEW_STYLE = 8001,          // lParam: ViewStyle *
    CMD_VIEW_TOOL = 8002,           // lParam: ViewTool
    CMD_VIEW_ZOOM = 8003,           // lParam: percent, outside 50..200 fits
    CMD_VIEW_CALIBRATION = 8004,    // lParam: ViewCalibration *
    CMD_VIEW_TEXT_ITEM = 8005,      // lParam: "Init", "OK" or "Cancel"
};

// Item ids of the popup menus that are tracked with TPM_RETURNCMD: they come
// back as the menu's result and never arrive as WM_COMMAND. (The resolution
// menu's items are the resolution commands above.)
enum MenuChoice {
    MENU_CALIBRATION_SLOT_FIRST = 3040, // 3040 + slot, slot < 10
    MENU_REMOVE_CALIBRATION = 3058,
    MENU_CONFIGURE_CALIBRATIONS = 3059,
    MENU_LANGUAGE_FIRST = 3080,         // 3080 + language index
};

// Private window messages between the main window, the view and the panel.
enum PrivateMessage {
    WM_VIEW_ZOOMCHANGED = 0x8005, // view to main window: the view changed its zoom (fitting, Ctrl+wheel)
    WM_SECTION_REFRESH = 0x8008,  // main window to panel: wParam 1 full, 0 light
    WM_STATUS_REFRESH = 0x8009,   // to the main window (sent): the status bar shows the state again
    WM_TIME_LAPSE_CHANGED = 0x800A, // to the main window (posted): a picture of the series was taken or skipped, or it ended
    // Inside the panel (posted).
    WM_PANEL_SECTIONSIZE = 0x8050,  // section to panel: wParam slot, lParam collapsed | expanded << 16
    WM_PANEL_SECTIONSTATE = 0x8051, // section to panel: wParam slot, lParam 1 expanded, 0 collapsed
    WM_SECTION_TOGGLE = 0x8052,     // header to section, panel to Source at start
};

// Posts WM_COMMAND id (lParam 0) to the main window / the control panel.
void MainWnd_PostCommand(int id);
void Panel_PostCommand(int id);
void Panel_PostRefresh(bool full);
