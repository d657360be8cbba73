// The toolbar's buttons, in order, with their images, icons and tooltips.
#pragma once
#include <cstdint>

enum ToolbarKind { TB_SEPARATOR, TB_BUTTON, TB_CHECK, TB_GROUP };

struct ToolbarEntry {
    int32_t command;   // 0 for a separator
    int32_t image;     // index in the image list
    int32_t icon;      // icon resource
    ToolbarKind kind;
    int32_t tooltip;   // text id
};

enum {
    TOOLBAR_POSITIONS = 36,
    TOOLBAR_IMAGES = 28,
    CMD_LANGUAGE_MENU = 3034,
    CMD_HELP_MENU = 3038,
    CMD_TOGGLE_PANEL = 3035,
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
    CMD_ABOUT = 3036,
    CMD_MANUAL = 3037,
    CMD_RESOLUTION_FIRST = 3040, // 3040 + k: resolution k; calibration slot k in the menu
    CMD_RESOLUTION_LAST = 3059,
    CMD_REMOVE_CALIBRATION = 3058,
    CMD_CONFIGURE_CALIBRATIONS = 3059,
    CMD_LANGUAGE_FIRST = 3080,   // 3080..3083
    CMD_OVERLAY_CROSS = 3090,
    CMD_OVERLAY_GRID = 3091,
    CMD_OVERLAY_CIRCLES = 3092,
    CMD_EFFECT_GRAY = 1051,
    CMD_EFFECT_BLACK_WHITE = 1052,
    CMD_EFFECT_NEGATIVE = 1053,
    CMD_EFFECT_EMBOSS = 1054,
};

extern const ToolbarEntry kToolbar[TOOLBAR_POSITIONS];

// The tooltip text id of a command (toolbar commands and 3033), or 0.
int32_t Toolbar_TooltipId(int32_t command);

// The view tool a toolbar tool command selects, or -1.
int32_t Toolbar_ToolOf(int32_t command);
