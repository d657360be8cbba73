#include "panel/section_layouts.h"

#include "panel/panel_layout.h"

// Two buttons or boxes side by side: 4 (or 6) units at the edges, 6 between.
static int32_t HalfWidth(int32_t clientWidth)
{
    return (clientWidth - Dlu_X(14)) / 2;
}

void Source_Layout(int32_t clientWidth, Rect *rects)
{
    int32_t top = gPanelMetrics.headerHeight;
    int32_t boxWidth = clientWidth - Dlu_X(37);
    for (int row = 0; row < 4; row++) {
        int32_t pitch = row * Dlu_Y(14);
        rects[2 * row] = Rect_Sized(Dlu_X(4), top + Dlu_Y(3) + pitch, Dlu_X(27), Dlu_Y(8));
        rects[2 * row + 1] = Rect_Sized(Dlu_X(33), top + Dlu_Y(1) + pitch, boxWidth, Dlu_Y(80));
    }
    int32_t bw = HalfWidth(clientWidth);
    rects[8] = Rect_Sized(Dlu_X(4), top + Dlu_Y(61), bw, Dlu_Y(16));
    rects[9] = Rect_Sized(Dlu_X(4) + bw + Dlu_X(6), top + Dlu_Y(61), bw, Dlu_Y(16));
    rects[10] = Rect_Sized(Dlu_X(4), top + Dlu_Y(80), clientWidth - Dlu_X(8), Dlu_Y(14));
    rects[11] = Rect_Sized(Dlu_X(4), top + Dlu_Y(97), clientWidth - Dlu_X(8), Dlu_Y(14));
    rects[12] = Rect_Sized(Dlu_X(4), top + Dlu_Y(114), clientWidth - Dlu_X(8), Dlu_Y(14));
}

void Color_Layout(int32_t clientWidth, Rect *rects)
{
    int32_t top = gPanelMetrics.headerHeight;
    // Rows from the top of the section: exposure, white balance 19 below,
    // gain 27 below that (the separator sits in the gap), then 19 apart.
    int32_t offset = 0;
    int index = 0;
    for (int row = 0; row < 9; row++) {
        if (row == 1)
            offset += Dlu_Y(19);
        else if (row == 2)
            offset += Dlu_Y(27);
        else if (row > 2)
            offset += Dlu_Y(19);
        if (row == 2) // the separator, id 107, comes between white balance and gain
            rects[index++] = Rect_Sized(Dlu_X(5), top + Dlu_Y(2) + Dlu_Y(19) + Dlu_Y(21), clientWidth - Dlu_X(10), 1);
        int32_t y = top + Dlu_Y(2) + offset;
        // The name and value reach up to the Auto box, which is only as wide
        // as its word: "Насыщенность  100" needs the room.
        rects[index++] = Rect_Sized(Dlu_X(4), y, clientWidth - Dlu_X(40), Dlu_Y(8));
        rects[index++] = Rect_Sized(clientWidth - Dlu_X(34), y, Dlu_X(30), Dlu_Y(10));
        rects[index++] = Rect_Sized(Dlu_X(4), top + Dlu_Y(11) + offset, clientWidth - Dlu_X(8), Dlu_Y(8));
    }
    rects[index++] = Rect_Sized(Dlu_X(4), top + Dlu_Y(185), Dlu_X(48), Dlu_Y(8));
    rects[index++] = Rect_Sized(Dlu_X(54), top + Dlu_Y(183), clientWidth - Dlu_X(58), Dlu_Y(60));
    rects[index++] = Rect_Sized(Dlu_X(4), top + Dlu_Y(201), clientWidth - Dlu_X(8), Dlu_Y(14));
    // The buttons that offer a row's manual value back sit at the right end
    // of its slider, which makes room for them when they show (their width
    // follows their text).
    for (int row = 0; row < 9; row++) {
        const Rect &slider = rects[3 * row + 2 + (row >= 2 ? 1 : 0)];
        rects[index++] = Rect_Sized(slider.right - Dlu_X(40), slider.top, Dlu_X(40), Dlu_Y(9));
    }
}

void Flip_Layout(int32_t clientWidth, Rect *rects)
{
    int32_t top = gPanelMetrics.headerHeight;
    int32_t bw = HalfWidth(clientWidth);
    int32_t rows[3] = {top + Dlu_Y(2), top + Dlu_Y(2) + Dlu_Y(19), top + Dlu_Y(2) + Dlu_Y(19) + Dlu_Y(14)};
    for (int row = 0; row < 3; row++) {
        rects[2 * row] = Rect_Sized(Dlu_X(6), rows[row], bw, Dlu_Y(12));
        rects[2 * row + 1] = Rect_Sized(bw + Dlu_X(2) + Dlu_X(6), rows[row], bw, Dlu_Y(12));
    }
}

void Report_Layout(int32_t clientWidth, Rect *rects)
{
    int32_t y = gPanelMetrics.headerHeight + Dlu_Y(2);
    for (int i = 0; i < 3; i++, y += Dlu_Y(15))
        rects[i] = Rect_Sized(Dlu_X(4), y, clientWidth - Dlu_X(8), Dlu_Y(12));
}
