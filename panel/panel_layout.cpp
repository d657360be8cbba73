#include "panel/panel_layout.h"

PanelMetrics gPanelMetrics;

const SectionSlot kPanelSections[PANEL_SECTIONS] = {
    {L"CtrlPanelSourceWndClass", 100, 132},
    {L"CtrlPanelColorWndClass", 102, 219},
    // Tall enough for the effect rows (19 units would show the first row only).
    {L"CtrlPanelFlipWndClass", 103, 49},
    {L"CtrlPanelReportWndClass", 104, 51},
};

int32_t Number_MulDiv(int32_t n, int32_t numerator, int32_t denominator)
{
    if (denominator == 0)
        return -1;
    int64_t product = (int64_t)n * numerator;
    int64_t half = (denominator < 0 ? -denominator : denominator) / 2;
    bool negative = (product < 0) != (denominator < 0);
    int64_t magnitude = (product < 0 ? -product : product) + half;
    int64_t result = magnitude / (denominator < 0 ? -denominator : denominator);
    return (int32_t)(negative ? -result : result);
}

int32_t Dlu_X(int32_t units)
{
    return Number_MulDiv(units, gPanelMetrics.baseX, 4);
}

int32_t Dlu_Y(int32_t units)
{
    return Number_MulDiv(units, gPanelMetrics.baseY, 8);
}

void PanelMetrics_Set(int32_t baseX, int32_t baseY, int32_t lineStep)
{
    gPanelMetrics.baseX = baseX;
    gPanelMetrics.baseY = baseY;
    gPanelMetrics.headerHeight = Dlu_Y(14);
    gPanelMetrics.defaultSectionHeight = Dlu_Y(16);
    gPanelMetrics.marginX = Dlu_X(4);
    gPanelMetrics.marginY = Dlu_Y(4);
    gPanelMetrics.lineStep = lineStep;
}

int32_t Section_ExpandedHeight(int slot)
{
    return gPanelMetrics.headerHeight + Dlu_Y(kPanelSections[slot].bodyUnits);
}

int32_t Section_CurrentHeight(const PanelSection &section)
{
    return section.expanded ? section.expandedHeight : section.collapsedHeight;
}

static int32_t Clamp(int32_t value, int32_t low, int32_t high)
{
    if (value > high)
        value = high;
    return value < low ? low : value;
}

PanelScroll Panel_UpdateContent(PanelRecord *panel, int32_t clientHeight)
{
    int32_t height = 2 * gPanelMetrics.marginY;
    for (int i = 0; i < panel->sectionCount; i++)
        height += Section_CurrentHeight(panel->sections[i]);
    panel->contentHeight = height;
    if (clientHeight >= height) {
        panel->scrollPos = 0;
        return {false, 0, 0, 0};
    }
    int32_t range = height - clientHeight;
    panel->scrollPos = Clamp(panel->scrollPos, 0, range);
    return {true, range + 19, 20, panel->scrollPos};
}

int32_t Panel_ScrollTarget(const PanelRecord &panel, int32_t clientHeight, int request, int32_t thumb)
{
    int32_t range = panel.contentHeight - clientHeight;
    int32_t line = gPanelMetrics.lineStep;
    int32_t target = panel.scrollPos;
    switch (request) {
    case SCROLL_LINE_UP: target -= line; break;
    case SCROLL_LINE_DOWN: target += line; break;
    case SCROLL_PAGE_UP: target -= 4 * line; break;
    case SCROLL_PAGE_DOWN: target += 4 * line; break;
    case SCROLL_THUMB_POSITION:
    case SCROLL_THUMB_TRACK: target = thumb; break;
    case SCROLL_TOP: target = 0; break;
    case SCROLL_BOTTOM: target = range; break;
    }
    return Clamp(target, 0, range);
}

int Panel_WheelRequest(int delta)
{
    return delta > 0 ? SCROLL_LINE_UP : SCROLL_LINE_DOWN;
}

Rect Panel_SectionRect(const PanelRecord &panel, int slot, int32_t clientWidth)
{
    int32_t y = gPanelMetrics.marginY - panel.scrollPos;
    for (int i = 0; i < slot; i++)
        y += Section_CurrentHeight(panel.sections[i]);
    int32_t width = clientWidth - 2 * gPanelMetrics.marginX;
    return {gPanelMetrics.marginX, y, gPanelMetrics.marginX + width,
            y + Section_CurrentHeight(panel.sections[slot]) + 1};
}

Rect Rect_Sized(int32_t x, int32_t y, int32_t width, int32_t height)
{
    return {x, y, x + (width > 0 ? width : 0), y + (height > 0 ? height : 0)};
}
