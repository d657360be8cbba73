#include "view/view_commands.h"

#include "state/calibrations.h"
#include "base/commands.h"
#include "base/text.h"
#include "view/editing.h"
#include "view/overlays.h"
#include "view/view_platform.h"
#include "view/view_state.h"
#include "view/viewport.h"

bool View_Command(int id, intptr_t lParam)
{
    switch (id) {
    case CMD_VIEW_STYLE:
        if (lParam)
            View_ApplyStyle(*(const ViewStyle *)lParam);
        return true;
    case CMD_VIEW_TOOL:
        View_ChooseTool((int32_t)lParam);
        return true;
    case CMD_VIEW_ZOOM:
        View_ApplyZoom((int)lParam);
        return true;
    case CMD_VIEW_CALIBRATION:
        if (lParam)
            View_ApplyCalibration(*(const ViewCalibration *)lParam);
        return true;
    case CMD_VIEW_TEXT_ITEM:
        View_TextItemCommand((const char *)lParam);
        return true;
    }
    return false;
}

void View_ApplyStyle(const ViewStyle &style)
{
    View_DestroyDrawingObjects();
    gView.gridColor = (uint32_t)style.gridColor;
    gView.lineColor = (uint32_t)style.lineColor;
    gView.lineWidth = style.lineWidth;
    gView.textColor = (uint32_t)style.textColor;
    gView.textSize = style.textSize;
    gView.showNumbers = style.itemNumbers != 0;
    if (gView.backBitmap) { // otherwise they come with the next back buffer
        View_CreateDrawingObjects();
        View_Invalidate(false);
    }
}

void View_ApplyCalibration(const ViewCalibration &calibration)
{
    gView.scale = calibration.scale;
    gView.unitIndex = calibration.unitIndex;
    Text_Copy(gView.unitText, UNIT_TEXT_CAPACITY, Unit_Name(calibration.unitIndex));
    View_RecomputeRulerStep();
    View_Invalidate(false);
}
