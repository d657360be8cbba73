#include "panel/color.h"

#include "base/text.h"

const ColorRow kColorRows[COLOR_ROWS] = {
    {CONTROL_EXPOSURE, 101, 1064, 132},   {CONTROL_WHITE_BALANCE, 104, 1066, 133}, {CONTROL_GAIN, 108, 1065, 134},
    {CONTROL_BRIGHTNESS, 111, 1082, 135}, {CONTROL_CONTRAST, 114, 1083, 136},      {CONTROL_HUE, 117, 1084, 137},
    {CONTROL_SATURATION, 120, 1085, 138}, {CONTROL_SHARPNESS, 123, 1086, 139},     {CONTROL_GAMMA, 126, 1087, 140},
};

// Distances between 32-bit values can exceed 32 bits; the slider keeps the
// part that fits.
static int32_t Distance(int32_t from, int32_t to)
{
    int64_t d = (int64_t)to - from;
    if (d > INT32_MAX)
        return INT32_MAX;
    return d < INT32_MIN ? INT32_MIN : (int32_t)d;
}

ColorRowView ColorRow_View(const ControlRange &range, const wchar_t *name)
{
    ColorRowView view = {};
    view.supported = range.flags >= 1;
    if (view.supported) {
        Text_Format(view.label, COLOR_LABEL_CAPACITY, L"%ls  %d", name, range.value);
        view.sliderMax = Distance(range.min, range.max);
        view.sliderPos = Distance(range.min, range.value);
    } else {
        Text_Copy(view.label, COLOR_LABEL_CAPACITY, name);
    }
    view.autoEnabled = range.autoSupported != 0;
    view.sliderEnabled = view.supported && !range.autoOn;
    view.autoChecked = range.autoOn != 0;
    view.offerShown = Control_Offer(range, &view.offerValue);
    return view;
}

bool ColorRow_SliderChange(CameraControlId control, int32_t position, ControlWrite *write)
{
    ControlRange *range = Control_Record(control);
    int64_t value = (int64_t)range->min + position;
    if (value > INT32_MAX || value < INT32_MIN || value == range->value)
        return false;
    *write = Control_ManualChange(control, (int32_t)value);
    return true;
}

PowerLineItems PowerLine_Items(const ControlRange &range)
{
    PowerLineItems items = {{}, 0};
    if (range.min == 0 || range.max == 0) {
        items.texts.push_back(L"N/A");
        return items;
    }
    int32_t step = range.step > 0 ? range.step : 1;
    for (int64_t v = range.min; v <= range.max && (v == 1 || v == 2); v += step) {
        if (v == range.value)
            items.selected = (int)items.texts.size();
        items.texts.push_back(v == 1 ? L"50 Hz" : L"60 Hz");
    }
    return items;
}
