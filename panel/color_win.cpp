// The Color section: nine property rows (label, automatic box, slider), the
// power-line box and the defaults button, talking to the camera at once.
#include "panel/color.h"
#include "panel/panel_win.h"
#include "panel/section_layouts.h"
#include "panel/section_win.h"

#include "state/language.h"
#include "base/commands.h"
#include "base/text.h"
#include "capture/camera_controls_win.h"
#include "capture/camera_graph.h"
#include "panel/panel_layout.h"

#include <commctrl.h>

enum { COLOR_SEPARATOR = 107, COLOR_POWER_LABEL = 129, COLOR_POWER_LINE, COLOR_DEFAULTS, COLOR_FIRST_OFFER };

#define COLOR_ROW_CONTROLS(label)                                                                             \
    {label, L"STATIC", SS_LEFTNOWORDWRAP, 0}, {label + 1, L"BUTTON", BS_AUTOCHECKBOX | BS_LEFTTEXT | BS_RIGHT, 1062},   \
        {label + 2, L"msctls_trackbar32", TBS_HORZ, 0}

// Labels clip rather than wrap: a value must not drop to an invisible line.
static const SectionControl kControls[COLOR_CONTROLS] = {
    COLOR_ROW_CONTROLS(101),
    COLOR_ROW_CONTROLS(104),
    {COLOR_SEPARATOR, L"STATIC", SS_BLACKRECT, 0},
    COLOR_ROW_CONTROLS(108),
    COLOR_ROW_CONTROLS(111),
    COLOR_ROW_CONTROLS(114),
    COLOR_ROW_CONTROLS(117),
    COLOR_ROW_CONTROLS(120),
    COLOR_ROW_CONTROLS(123),
    COLOR_ROW_CONTROLS(126),
    {COLOR_POWER_LABEL, L"STATIC", SS_LEFTNOWORDWRAP, 1088},
    {COLOR_POWER_LINE, L"COMBOBOX", CBS_DROPDOWNLIST, 0},
    {COLOR_DEFAULTS, L"BUTTON", BS_PUSHBUTTON, 1089},
#define COLOR_OFFER(row) {COLOR_FIRST_OFFER + row, L"BUTTON", BS_PUSHBUTTON, 0, true}
    COLOR_OFFER(0), COLOR_OFFER(1), COLOR_OFFER(2), COLOR_OFFER(3), COLOR_OFFER(4),
    COLOR_OFFER(5), COLOR_OFFER(6), COLOR_OFFER(7), COLOR_OFFER(8),
#undef COLOR_OFFER
};

static const ColorRow *RowOfControl(int id)
{
    for (const ColorRow &row : kColorRows)
        if ((id >= row.labelId && id <= row.labelId + 2) || id == row.offerId)
            return &row;
    return nullptr;
}

// A control's place for the section's width, as the layout gives it.
static Rect LaidOut(HWND section, int id)
{
    RECT client;
    GetClientRect(section, &client);
    Rect rects[COLOR_CONTROLS];
    Color_Layout(client.right, rects);
    for (int i = 0; i < COLOR_CONTROLS; i++)
        if (kControls[i].id == id)
            return rects[i];
    return {};
}

static void Place(HWND control, const Rect &r)
{
    SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The offer of the row's manual value: a button as wide as its text at the
// slider's right end, the slider shortened beside it; hidden, the slider
// has its whole width.
static void ShowOffer(HWND section, const ColorRow &row, const ColorRowView &view)
{
    HWND button = Section_Item(section, row.offerId);
    Rect slider = LaidOut(section, row.labelId + 2);
    if (!view.offerShown || !Section_Expanded(section)) {
        ShowWindow(button, SW_HIDE);
        Place(Section_Item(section, row.labelId + 2), slider);
        return;
    }
    wchar_t value[16], text[64];
    Text_Format(value, 16, L"%d", view.offerValue);
    Language_Message(text, 64, 1360, L"Back to %s", value);
    SetWindowTextW(button, text);
    SIZE extent = {};
    HDC dc = GetDC(button);
    HGDIOBJ old = SelectObject(dc, gPanelControlFont);
    GetTextExtentPoint32W(dc, text, (int)Text_Length(text), &extent);
    SelectObject(dc, old);
    ReleaseDC(button, dc);
    Rect place = LaidOut(section, row.offerId);
    int32_t width = extent.cx + Dlu_X(8);
    int32_t widest = (slider.right - slider.left) / 2;
    place.left = place.right - (width < widest ? width : widest);
    slider.right = place.left - Dlu_X(2);
    Place(Section_Item(section, row.labelId + 2), slider);
    Place(button, place);
    ShowWindow(button, SW_SHOW);
}

static void RefreshRow(HWND section, const ColorRow &row)
{
    ColorRowView view = ColorRow_View(*Control_Record(row.control), Language_Text(row.nameTextId));
    SetDlgItemTextW(section, row.labelId, view.label);
    HWND slider = Section_Item(section, row.labelId + 2);
    if (view.supported) {
        // The 32-bit range messages: a range wider than 16 bits must not be cut.
        SendMessageW(slider, TBM_SETRANGEMIN, FALSE, 0);
        SendMessageW(slider, TBM_SETRANGEMAX, TRUE, view.sliderMax);
        SendMessageW(slider, TBM_SETPOS, TRUE, view.sliderPos);
    }
    Section_Enable(section, row.labelId, view.supported);
    Section_Enable(section, row.labelId + 1, view.autoEnabled);
    EnableWindow(slider, view.sliderEnabled);
    ShowOffer(section, row, view);
}

static void FillPowerLine(HWND section)
{
    HWND box = Section_Item(section, COLOR_POWER_LINE);
    SendMessageW(box, CB_RESETCONTENT, 0, 0);
    PowerLineItems items = PowerLine_Items(gCamera.powerLineFrequency);
    for (const wchar_t *text : items.texts)
        SendMessageW(box, CB_ADDSTRING, 0, (LPARAM)text);
    SendMessageW(box, CB_SETCURSEL, items.selected, 0);
}

static void Refresh(HWND section, bool)
{
    const ControlRange &power = gCamera.powerLineFrequency;
    Section_Enable(section, COLOR_POWER_LINE, power.min > 0 || power.max > 0);
    Section_Enable(section, COLOR_DEFAULTS, Camera_IsOpen());
    for (const ColorRow &row : kColorRows)
        Section_Check(section, row.labelId + 1, Control_Record(row.control)->autoOn != 0);
    for (const ColorRow &row : kColorRows)
        RefreshRow(section, row);
    FillPowerLine(section);
}

static const SectionKind kSection = {1, 1081, kControls, COLOR_CONTROLS, Color_Layout, Refresh};

// Every position of a drag reaches the camera; the offer and the kept
// settings follow when the drag or key press ends.
static void OnSlider(HWND section, HWND slider, int request)
{
    const ColorRow *row = RowOfControl(GetDlgCtrlID(slider));
    if (!row || slider != Section_Item(section, row->labelId + 2))
        return;
    // The slider's own position: the notification's 16-bit copy would cut a
    // wide range, and the trackbar has moved before it notifies.
    int32_t position = (int32_t)SendMessageW(slider, TBM_GETPOS, 0, 0);
    ControlWrite write;
    if (ColorRow_SliderChange(row->control, position, &write)) {
        ColorRowView view = ColorRow_View(*Control_Record(row->control), Language_Text(row->nameTextId));
        SetDlgItemTextW(section, row->labelId, view.label);
        Camera_WriteControl(row->control, write);
    }
    if (request != TB_THUMBTRACK) {
        RefreshRow(section, *row);
        Camera_RememberControls();
    }
}

static void OnAutoBox(HWND section, const ColorRow &row)
{
    bool on = Section_Checked(section, row.labelId + 1);
    int32_t now = on ? 0 : Camera_ReadControlValue(row.control);
    Camera_WriteControl(row.control, Control_AutoChange(row.control, on, now));
    RefreshRow(section, row);
    Camera_RememberControls();
}

static void OnOffer(HWND section, const ColorRow &row)
{
    int32_t value;
    if (Control_Offer(*Control_Record(row.control), &value))
        Camera_WriteControl(row.control, Control_ManualChange(row.control, value));
    RefreshRow(section, row);
    Camera_RememberControls();
}

static void OnDefaults(HWND section)
{
    for (const KeptWrite &w : Controls_DefaultWrites())
        Camera_WriteControl(w.id, w.write);
    Refresh(section, true);
    Camera_RememberControls();
}

static void OnCommand(HWND section, int id, int code)
{
    const ColorRow *row = RowOfControl(id);
    if (row && id == row->labelId + 1 && code == BN_CLICKED)
        OnAutoBox(section, *row);
    else if (row && id == row->offerId && code == BN_CLICKED)
        OnOffer(section, *row);
    else if (id == COLOR_POWER_LINE && code == CBN_SELCHANGE) {
        int selection = (int)SendDlgItemMessageW(section, id, CB_GETCURSEL, 0, 0);
        if (selection != CB_ERR)
            Camera_WriteControl(CONTROL_POWER_LINE_FREQUENCY, {selection + 1, CONTROL_FLAG_MANUAL});
        Camera_RememberControls();
    } else if (id == COLOR_DEFAULTS && code == BN_CLICKED)
        OnDefaults(section);
}

LRESULT CALLBACK ColorSection_Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_HSCROLL:
        if (lParam)
            OnSlider(window, (HWND)lParam, LOWORD(wParam));
        return 0;
    case WM_SIZE: // the layout gives every slider its whole width
        Section_DefProc(kSection, window, message, wParam, lParam);
        for (const ColorRow &row : kColorRows)
            ShowOffer(window, row, ColorRow_View(*Control_Record(row.control), Language_Text(row.nameTextId)));
        return 0;
    case WM_COMMAND:
        if (lParam) {
            OnCommand(window, LOWORD(wParam), HIWORD(wParam));
            return 0;
        }
        if (LOWORD(wParam) == CMD_PANEL_TEXTS) {
            Section_DefProc(kSection, window, message, wParam, lParam);
            Refresh(window, true);
            return 0;
        }
        break;
    }
    return Section_DefProc(kSection, window, message, wParam, lParam);
}
