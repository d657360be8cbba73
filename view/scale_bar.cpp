#include "view/scale_bar.h"

#include "view/labels.h"
#include "view/measure_item.h"
#include "view/view_platform.h"
#include "view/view_state.h"
#include "view/viewport.h"

#include <algorithm>
#include <cmath>

bool ScaleBar_Choose(int imageWidth, double pixelsPerUnit, int32_t unitIndex, ScaleBar *bar)
{
    if (!(pixelsPerUnit > 0) || imageWidth <= 0)
        return false;
    double pixelsPerMicrometre = unitIndex == 0 ? pixelsPerUnit / 1000 : pixelsPerUnit;
    double longest = imageWidth / 5.0 / pixelsPerMicrometre;
    double decade = std::pow(10.0, std::floor(std::log10(longest)));
    double length = decade;
    for (double step : {5.0, 2.0})
        if (step * decade <= longest * (1 + 1e-9)) {
            length = step * decade;
            break;
        }
    *bar = {length, (int)std::lround(length * pixelsPerMicrometre)};
    return bar->pixels >= 1;
}

// Black behind a light bar, white behind a dark one (0x00BBGGRR).
static uint32_t Contrasting(uint32_t color)
{
    double luminance = 0.299 * (color & 0xFF) + 0.587 * ((color >> 8) & 0xFF) + 0.114 * ((color >> 16) & 0xFF);
    return luminance > 128 ? 0x000000 : 0xFFFFFF;
}

void View_DrawScaleBar()
{
    ScaleBar bar;
    if (!gView.showScaleBar || gView.scale <= 0 ||
        !ScaleBar_Choose(gView.imageWidth, MeasureItem_UnitScale(), gView.unitIndex, &bar))
        return;
    wchar_t text[LABEL_CAPACITY];
    Label_LengthText(text, bar.micrometres, L" ");
    TextSize size = Canvas_TextSize(text, FONT_LABEL);
    // Margins, padding and the bar's thickness are sized on the screen.
    int margin = View_ScreenToImagePixels(16), pad = View_ScreenToImagePixels(5);
    int thickness = View_ScreenToImagePixels(3 + 2 * gView.lineWidth);
    int width = std::max(bar.pixels, size.width) + 2 * pad;
    int height = size.height + pad + thickness + 2 * pad;
    Rect backing = {gView.imageWidth - margin - width, gView.imageHeight - margin - height,
                    gView.imageWidth - margin, gView.imageHeight - margin};
    Canvas_FillRectColor(backing, Contrasting(gView.lineColor));
    int barLeft = backing.left + (width - bar.pixels) / 2, barTop = backing.bottom - pad - thickness;
    Canvas_FillRectColor({barLeft, barTop, barLeft + bar.pixels, barTop + thickness}, gView.lineColor);
    int textLeft = backing.left + (width - size.width) / 2;
    Canvas_Text(text, {textLeft, backing.top + pad, textLeft + size.width, backing.top + pad + size.height},
                FONT_LABEL);
}
