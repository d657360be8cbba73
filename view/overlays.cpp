#include "view/overlays.h"

#include "base/platform.h"
#include "view/drawing.h"
#include "view/labels.h"
#include "view/view_platform.h"
#include "view/view_state.h"
#include "view/viewport.h"

#include <algorithm>
#include <cmath>

void View_RecomputeRulerStep()
{
    if (!(gView.scale > 0)) {
        gView.rulerStepPx = 0;
        gView.rulerStepValue = 0;
        return;
    }
    // The screen pixels of one unit; the decade below the one of 100 pixels
    // and the two above it hold the nearest step of the series.
    double unitPixels = gView.scale * (gView.zoom > 0 ? gView.zoom : 100) / 100.0;
    double base = std::pow(10.0, std::floor(std::log10(100.0 / unitPixels)) - 1);
    double best = HUGE_VAL, stepValue = base;
    for (int decade = 0; decade < 3; decade++, base *= 10) {
        for (double value : {base, 2 * base, 5 * base}) {
            double distance = std::fabs(100 - value * unitPixels);
            if (distance < best - 1e-9) { // ties keep the smaller step
                best = distance;
                stepValue = value;
            }
        }
    }
    gView.rulerStepValue = (float)stepValue;
    gView.rulerStepPx = std::max(1, (int)std::lround(stepValue * gView.scale));
    Debug_Printf(L"---%02f %d %03f\r\n", (double)gView.scale, gView.rulerStepPx,
                 (double)gView.rulerStepValue);
}

int View_MinorTickOffset(int S, int j)
{
    float product = (float)S / 10.0f * (float)j;
    return (int)(product + 0.5);
}

namespace {

enum OverlayForm { FORM_UNCALIBRATED, FORM_CALIBRATED, FORM_AXES_ONLY };

struct Frame {
    int W, H, cx, cy, S;
};

Frame CurrentFrame()
{
    int W = gView.imageWidth, H = gView.imageHeight;
    return {W, H, W / 2, H / 2, gView.rulerStepPx};
}

OverlayForm Form()
{
    if (gView.scale < 0)
        return FORM_UNCALIBRATED;
    return gView.rulerStepPx > 0 && gView.rulerStepValue > 0 ? FORM_CALIBRATED : FORM_AXES_ONLY;
}

int MinorLength(int j)
{
    return j == 5 ? 14 : 8;
}

// The nine minor ticks of the vertical axis from the major position y,
// towards the centre (direction +1 above it, -1 below).
void VerticalMinors(const Frame &f, int y, int direction)
{
    for (int j = 1; j <= 9; j++) {
        int at = y + direction * View_MinorTickOffset(f.S, j);
        if (direction > 0 ? at > 0 : at + 1 < f.H)
            Canvas_PenLine(f.cx, at, f.cx + MinorLength(j), at);
    }
}

void HorizontalMinors(const Frame &f, int x, int direction)
{
    for (int j = 1; j <= 9; j++) {
        int at = x + direction * View_MinorTickOffset(f.S, j);
        if (direction > 0 ? at > 0 : at + 1 < f.W)
            Canvas_PenLine(at, f.cy, at, f.cy - MinorLength(j));
    }
}

// Calibrated steps: the given drawing at each major position on both axes,
// then its minor ticks.
enum StepMark { MARK_NONE, MARK_TICK, MARK_LINE };

void CalibratedSteps(const Frame &f, StepMark mark)
{
    for (int k = 1; k <= (f.H / 2) / f.S + 1; k++) {
        int up = f.cy - f.S * k, down = f.cy + f.S * k;
        if (mark == MARK_TICK) {
            if (up > 0)
                Canvas_PenLine(f.cx, up, f.cx + 20, up);
            if (down + 1 < f.H)
                Canvas_PenLine(f.cx, down, f.cx + 20, down);
        } else if (mark == MARK_LINE) {
            if (up > 0)
                Canvas_PenLine(0, up, f.W, up);
            if (down + 1 < f.H)
                Canvas_PenLine(0, down, f.W, down);
        }
        VerticalMinors(f, up, 1);
        VerticalMinors(f, down, -1);
    }
    for (int k = 1; k <= (f.W / 2) / f.S + 1; k++) {
        int left = f.cx - f.S * k, right = f.cx + f.S * k;
        if (mark == MARK_TICK) {
            if (left > 0)
                Canvas_PenLine(left, f.cy - 20, left, f.cy);
            if (right + 1 < f.W)
                Canvas_PenLine(right, f.cy - 20, right, f.cy);
        } else if (mark == MARK_LINE) {
            if (left > 0)
                Canvas_PenLine(left, 0, left, f.H);
            if (right + 1 < f.W)
                Canvas_PenLine(right, 0, right, f.H);
        }
        HorizontalMinors(f, left, 1);
        HorizontalMinors(f, right, -1);
    }
}

// The step value in the DC's current font; centred (cross: left edge
// offset by half its width) under the first step right of the centre.
void ScaleLabel(const Frame &f, bool underTick)
{
    wchar_t text[LABEL_CAPACITY];
    Label_ScaleText(text, gView.rulerStepValue, gView.unitIndex);
    TextSize size = Canvas_TextSize(text, FONT_CURRENT);
    int left = underTick ? f.cx - size.width / 2 + f.S : f.cx + (f.S - size.width) / 2;
    Canvas_Text(text, {left, f.cy + 2, left + size.width, f.cy + 2 + size.height}, FONT_CURRENT);
}

void BeginOverlay(Frame *f)
{
    *f = CurrentFrame();
    Canvas_BeginPen(gView.gridColor, 1);
    Canvas_PenLine(0, f->cy, f->W, f->cy);
    Canvas_PenLine(f->cx, 0, f->cx, f->H);
}

void UncalibratedCrossTicks(const Frame &f)
{
    if ((f.H / 2) / 10 > 1) {
        for (int i = 1; i < (f.H / 2) / 10; i++) {
            int length = i % 5 == 0 ? 9 : 4;
            Canvas_PenLine(f.cx - length, f.cy - 10 * i, f.cx, f.cy - 10 * i);
            Canvas_PenLine(f.cx - length, f.cy + 10 * i, f.cx, f.cy + 10 * i);
        }
    }
    if ((f.W / 2) / 10 > 1) {
        for (int i = 1; i < (f.W / 2) / 10; i++) {
            int length = i % 5 == 0 ? 9 : 4;
            Canvas_PenLine(f.cx - 10 * i, f.cy - length, f.cx - 10 * i, f.cy);
            Canvas_PenLine(f.cx + 10 * i, f.cy - length, f.cx + 10 * i, f.cy);
        }
    }
}

void UncalibratedGridLines(const Frame &f)
{
    for (int k = 1; k <= f.H / 200; k++) {
        int up = f.cy - 100 * k, down = f.cy + 100 * k;
        if (up > 0)
            Canvas_PenLine(0, up, f.W, up);
        if (down + 1 < f.H)
            Canvas_PenLine(0, down, f.W, down);
    }
    for (int k = 1; k <= f.W / 200; k++) {
        int left = f.cx - 100 * k, right = f.cx + 100 * k;
        if (left > 0)
            Canvas_PenLine(left, 0, left, f.H);
        if (right + 1 < f.W)
            Canvas_PenLine(right, 0, right, f.H);
    }
}

void Circle(const Frame &f, int r)
{
    Canvas_Circle(PEN_OVERLAY, f.cx - r, f.cy - r, 2 * r, 2 * r);
}

} // namespace

void View_DrawCross()
{
    Frame f;
    BeginOverlay(&f);
    OverlayForm form = Form();
    if (form == FORM_UNCALIBRATED)
        UncalibratedCrossTicks(f);
    else if (form == FORM_CALIBRATED)
        CalibratedSteps(f, MARK_TICK);
    Canvas_EndPen();
    if (form == FORM_CALIBRATED)
        ScaleLabel(f, true);
}

void View_DrawGrid()
{
    Frame f;
    BeginOverlay(&f);
    OverlayForm form = Form();
    if (form == FORM_UNCALIBRATED)
        UncalibratedGridLines(f);
    else if (form == FORM_CALIBRATED)
        CalibratedSteps(f, MARK_LINE);
    Canvas_EndPen();
    if (form == FORM_CALIBRATED)
        ScaleLabel(f, false);
}

void View_DrawCircles()
{
    Frame f;
    BeginOverlay(&f);
    OverlayForm form = Form();
    int M = std::max(f.W, f.H);
    if (form == FORM_UNCALIBRATED) {
        for (int k = 1; k <= M / 200; k++)
            Circle(f, 100 * k);
    } else if (form == FORM_CALIBRATED) {
        for (int k = 1; k <= M / (2 * f.S); k++)
            Circle(f, f.S * k);
        CalibratedSteps(f, MARK_NONE);
    }
    Canvas_EndPen();
    if (form == FORM_CALIBRATED)
        ScaleLabel(f, false);
}

static void DrawArrows(int p, int cy)
{
    for (int y : {cy - 30, cy + 30}) {
        // Tips 4 pixels from the bar, bases on the side away from it.
        const Point right[4] = {{p - 4, y}, {p - 8, y - 4}, {p - 8, y + 4}, {p - 4, y}};
        const Point left[4] = {{p + 4, y}, {p + 8, y - 4}, {p + 8, y + 4}, {p + 4, y}};
        Canvas_PenPolyline(right, 4);
        Canvas_PenPolyline(left, 4);
    }
}

void View_DrawCalibrationLine()
{
    View_CentreScroll();
    int W = gView.imageWidth, cy = gView.imageHeight / 2;
    if (gView.calibLength > 2000) { // entering calibration mode
        gView.calibLength = std::max(std::min(gView.calibLength, W / 3), 300);
        gView.calibLeft = (W - gView.calibLength) / 2;
        gView.calibRight = gView.calibLeft + gView.calibLength;
    }
    Canvas_BeginPen(gView.lineColor, 2);
    Canvas_PenLine(gView.calibLeft, cy, gView.calibRight, cy);
    Canvas_EndPen();
    Canvas_BeginPen(gView.lineColor, 1);
    Canvas_PenLine(gView.calibLeft, cy - 60, gView.calibLeft, cy + 60);
    Canvas_PenLine(gView.calibRight, cy - 60, gView.calibRight, cy + 60);
    wchar_t text[LABEL_CAPACITY];
    Label_Format(text, L"", L"", "%d pixels", gView.calibLength);
    View_DrawLabel(text, gView.calibLeft + 2, cy + 2);
    if (gView.calibHoverLeft)
        DrawArrows(gView.calibLeft, cy);
    else if (gView.calibHoverRight)
        DrawArrows(gView.calibRight, cy);
    Canvas_EndPen();
}
