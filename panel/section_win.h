// What every section window does alike: its header and hidden controls, the
// deferred move on a size change, expanding and collapsing, the texts.
#pragma once
#include "base/geometry.h"
#include <windows.h>

enum { SECTION_HEADER_ID = 100, SECTION_FIRST_CONTROL = 101, SECTION_MAX_CONTROLS = 40 };

struct SectionControl {
    int32_t id;
    const wchar_t *className;
    DWORD style;     // besides WS_CHILD
    int32_t textId;  // language text applied on command 1039, 0 for none
    // Shown by the section's refresh, when it has something to show, rather
    // than with the expanded section.
    bool onDemand = false;
};

struct SectionKind {
    int32_t slot;
    int32_t headerTextId;
    const SectionControl *controls; // ids ascending from 101
    int32_t controlCount;
    // The controls' rectangles, in the order of `controls`, for a client width.
    void (*layout)(int32_t clientWidth, Rect *rects);
    void (*refresh)(HWND section, bool full);
};

// The skeleton's handling of WM_CREATE, WM_SIZE, WM_SECTION_TOGGLE, command
// 1039 and WM_SECTION_REFRESH; everything else goes to DefWindowProcW.
LRESULT Section_DefProc(const SectionKind &kind, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// A control of a section by id.
HWND Section_Item(HWND section, int id);
void Section_Enable(HWND section, int id, bool enabled);
bool Section_Checked(HWND section, int id);
bool Section_Expanded(HWND section);
void Section_Check(HWND section, int id, bool checked);
