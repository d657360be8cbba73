// The control panel's frame without windows: the dialog-unit metrics, the
// panel and header records, the section slots, the content height, the
// scroll position and where each section goes.
#pragma once
#include "base/geometry.h"
#include "base/handles.h"
#include <cstdint>

// Sizes in the panel are dialog units: n horizontal units are
// MulDiv(n, baseX, 4) pixels, n vertical units MulDiv(n, baseY, 8).
struct PanelMetrics {
    int32_t baseX, baseY;
    int32_t headerHeight;         // 14 vertical units: a header, a collapsed section
    int32_t defaultSectionHeight; // 16 vertical units: a slot until its section reports
    int32_t marginX, marginY;     // 4 units around the sections
    int32_t lineStep;             // height of "ZH" in the control font: one scroll line
};
extern PanelMetrics gPanelMetrics;

void PanelMetrics_Set(int32_t baseX, int32_t baseY, int32_t lineStep);
int32_t Dlu_X(int32_t units);
int32_t Dlu_Y(int32_t units);
// n * numerator / denominator rounded to the nearest (as the platform's MulDiv).
int32_t Number_MulDiv(int32_t n, int32_t numerator, int32_t denominator);

enum { PANEL_SLOTS = 18, PANEL_SECTIONS = 4 };

struct PanelSection {
    HWND__ *hwnd;
    int32_t collapsedHeight;
    int32_t expandedHeight;
    int32_t expanded;
};

struct PanelRecord {
    HWND__ *hwnd;
    PanelSection sections[PANEL_SLOTS];
    int32_t sectionCount;
    int32_t contentHeight;
    int32_t scrollPos;
};

struct HeaderRecord {
    HWND__ *hwnd;
    int32_t hot;
    int32_t expanded;
};

// The four sections in slot order: window class, child id in the panel and
// the body below the header in vertical dialog units.
struct SectionSlot {
    const wchar_t *className;
    int32_t childId;
    int32_t bodyUnits;
};
extern const SectionSlot kPanelSections[PANEL_SECTIONS];

// headerHeight + the slot's body, in pixels.
int32_t Section_ExpandedHeight(int slot);
int32_t Section_CurrentHeight(const PanelSection &section);

// What the vertical scroll bar shows after the content height changed.
struct PanelScroll {
    bool shown;
    int32_t maximum; // range + 19, with page 20: the largest position is the range
    int32_t page;
    int32_t position;
};

// Recomputes contentHeight, clamps scrollPos into 0 .. contentHeight - client
// height (0 when everything fits) and tells what the bar shows.
PanelScroll Panel_UpdateContent(PanelRecord *panel, int32_t clientHeight);

// The platform's SB_ request codes of a vertical scroll bar.
enum ScrollRequest {
    SCROLL_LINE_UP = 0,
    SCROLL_LINE_DOWN = 1,
    SCROLL_PAGE_UP = 2,
    SCROLL_PAGE_DOWN = 3,
    SCROLL_THUMB_POSITION = 4,
    SCROLL_THUMB_TRACK = 5,
    SCROLL_TOP = 6,
    SCROLL_BOTTOM = 7,
};

// The scroll position a request asks for, clamped to 0 .. range; the current
// one for codes without a move. Only meaningful while the content is taller
// than the client.
int32_t Panel_ScrollTarget(const PanelRecord &panel, int32_t clientHeight, int request, int32_t thumb);
// One wheel notification is one line, whatever its delta.
int Panel_WheelRequest(int delta);

// Where slot i goes for a client width: inset by marginX, stacked from
// marginY - scrollPos, one pixel taller so that neighbours share a border.
Rect Panel_SectionRect(const PanelRecord &panel, int slot, int32_t clientWidth);

// A rectangle from its corner and size; a negative size (a section not yet
// sized) becomes 0.
Rect Rect_Sized(int32_t x, int32_t y, int32_t width, int32_t height);
