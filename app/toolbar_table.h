// The toolbar's buttons, in order, with their images, icons and tooltips.
#pragma once
#include "base/commands.h"
#include <cstdint>

enum ToolbarKind { TB_SEPARATOR, TB_BUTTON, TB_CHECK, TB_GROUP };

struct ToolbarEntry {
    int32_t command;   // 0 for a separator
    int32_t image;     // index in the image list
    int32_t icon;      // icon resource
    ToolbarKind kind;
    int32_t tooltip;   // text id
};

enum { TOOLBAR_POSITIONS = 40, TOOLBAR_IMAGES = 31 };

extern const ToolbarEntry kToolbar[TOOLBAR_POSITIONS];

// The tooltip text id of a command (toolbar commands and 3033), or 0.
int32_t Toolbar_TooltipId(int32_t command);

// The view tool a toolbar tool command selects, or -1.
int32_t Toolbar_ToolOf(int32_t command);
