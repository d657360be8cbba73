#include "app/toolbar_table.h"

#include "base/commands.h"
#include "view/view_state.h"

#define SEPARATOR {0, 0, 0, TB_SEPARATOR, 0}

const ToolbarEntry kToolbar[TOOLBAR_POSITIONS] = {
    {CMD_LANGUAGE_MENU, 0, 5121, TB_BUTTON, 1001},
    {CMD_HELP_MENU, 1, 5120, TB_BUTTON, 1002},
    SEPARATOR,
    {CMD_TOGGLE_PANEL, 2, 5122, TB_BUTTON, 1003},
    {CMD_PREFERENCES, 3, 5101, TB_BUTTON, 1004},
    SEPARATOR,
    {CMD_OPEN_MICROSCOPE, 4, 5102, TB_BUTTON, 1005},
    {CMD_RESOLUTION_MENU, 5, 5106, TB_BUTTON, 1006},
    {CMD_CALIBRATION_MENU, 6, 5108, TB_BUTTON, 1007},
    SEPARATOR,
    {CMD_ZOOM_100, 7, 5131, TB_BUTTON, 1008},
    SEPARATOR,
    {CMD_SNAPSHOT, 8, 5125, TB_BUTTON, 1009},
    {CMD_RECORD, 9, 5104, TB_BUTTON, 1010},
    {CMD_GALLERY, 10, 5105, TB_BUTTON, 1011},
    SEPARATOR,
    {CMD_OVERLAY_CROSS, 11, 5109, TB_CHECK, 1012},
    {CMD_OVERLAY_GRID, 12, 5123, TB_CHECK, 1013},
    {CMD_OVERLAY_CIRCLES, 13, 5124, TB_CHECK, 1014},
    SEPARATOR,
    {CMD_EFFECT_GRAY, 14, 5127, TB_CHECK, 1015},
    {CMD_EFFECT_BLACK_WHITE, 15, 5128, TB_CHECK, 1016},
    {CMD_EFFECT_NEGATIVE, 16, 5129, TB_CHECK, 1017},
    {CMD_EFFECT_EMBOSS, 17, 5130, TB_CHECK, 1018},
    SEPARATOR,
    {CMD_TOOL_LINE, 18, 5110, TB_GROUP, 1019},
    {CMD_TOOL_POINT_LINE, 19, 5111, TB_GROUP, 1020},
    {CMD_TOOL_RECTANGLE, 20, 5113, TB_GROUP, 1021},
    {CMD_TOOL_CIRCLE, 21, 5112, TB_GROUP, 1022},
    {CMD_TOOL_ANGLE, 22, 5114, TB_GROUP, 1023},
    {CMD_TOOL_FREEHAND, 23, 5115, TB_GROUP, 1024},
    {CMD_TOOL_TEXT, 24, 5116, TB_GROUP, 1025},
    {CMD_TOOL_POINTER, 25, 5119, TB_GROUP, 1026},
    SEPARATOR,
    {CMD_REMOVE_LAST, 26, 5117, TB_BUTTON, 1027},
    {CMD_REMOVE_ALL, 27, 5118, TB_BUTTON, 1028},
};

int32_t Toolbar_TooltipId(int32_t command)
{
    if (command == CMD_FIRST_USE)
        return 1029;
    for (const ToolbarEntry &entry : kToolbar)
        if (entry.kind != TB_SEPARATOR && entry.command == command)
            return entry.tooltip;
    return 0;
}

int32_t Toolbar_ToolOf(int32_t command)
{
    switch (command) {
    case CMD_TOOL_LINE: return TOOL_LINE;
    case CMD_TOOL_POINT_LINE: return TOOL_POINT_LINE;
    case CMD_TOOL_RECTANGLE: return TOOL_RECTANGLE;
    case CMD_TOOL_CIRCLE: return TOOL_CIRCLE;
    case CMD_TOOL_ANGLE: return TOOL_ANGLE;
    case CMD_TOOL_FREEHAND: return TOOL_FREEHAND;
    case CMD_TOOL_TEXT: return TOOL_TEXT;
    case CMD_TOOL_POINTER: return TOOL_POINTER;
    }
    return -1;
}
