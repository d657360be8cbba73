// The Color section's rows without windows: what a row shows for its
// property record, what a slider position sends, and the power-line items.
#pragma once
#include "capture/camera_controls.h"
#include <cstddef>
#include <vector>

enum { COLOR_ROWS = 9, COLOR_LABEL_CAPACITY = 64 };

struct ColorRow {
    CameraControlId control;
    int32_t labelId; // the auto box is labelId + 1, the slider labelId + 2
    int32_t nameTextId;
    int32_t offerId; // the button that offers the manual value back
};
// Exposure, white balance, gain, brightness, contrast, hue, saturation,
// sharpness, gamma: the display order.
extern const ColorRow kColorRows[COLOR_ROWS];

struct ColorRowView {
    bool supported;       // the device reported the property (flags >= 1)
    wchar_t label[COLOR_LABEL_CAPACITY]; // "name  value", or the bare name
    int32_t sliderMax;    // slider 0 .. max - min
    int32_t sliderPos;    // value - min
    bool autoEnabled;     // automatic mode is available
    bool sliderEnabled;   // supported and not automatic
    bool autoChecked;
    bool offerShown;      // the user's manual value is offered back (Control_Offer)
    int32_t offerValue;
};
ColorRowView ColorRow_View(const ControlRange &range, const wchar_t *name);

// A slider at position p stands for min + p. True, with the record updated
// and the write to send, when that differs from the stored value.
bool ColorRow_SliderChange(CameraControlId control, int32_t position, ControlWrite *write);

// The power-line box: "50 Hz" for 1 and "60 Hz" for 2 from min to max by
// step (a step below 1 counts as 1), or the single "N/A" when min or max is
// 0; `selected` is the item of the current value, 0 when none.
struct PowerLineItems {
    std::vector<const wchar_t *> texts;
    int selected;
};
PowerLineItems PowerLine_Items(const ControlRange &range);
