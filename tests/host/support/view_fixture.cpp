#include "view_fixture.h"

#include "capture/camera_state.h"
#include "state/view_api.h"
#include "view/view_commands.h"
#include "view/view_state.h"

void ViewTest::SetFrame(int width, int height)
{
    FakePlatform_Reset();
    View_Init(nullptr);
    gCamera.frameHeader = BitmapHeader{40, width, height, 1, 24, 0, 0, 0, 0, 0, 0};
    View_SetFrameFormat();
    View_ApplyStyle({0x00ff00, 0x0000ff, 1, 0xffffff, 10, 0});
    FakePlatform_Reset();
}

void ViewTest::Calibrate(float scale, int unit)
{
    View_ApplyCalibration({scale, unit});
}

MeasureItem ViewTest::Item(int kind, int x1, int y1, int x2, int y2, int x3, int y3)
{
    MeasureItem item = {};
    item.kind = kind;
    item.x1 = x1, item.y1 = y1, item.x2 = x2, item.y2 = y2, item.x3 = x3, item.y3 = y3;
    MeasureItem_UpdateHitRects(&item);
    return item;
}

std::vector<CanvasCall> ViewTest::Calls(CanvasOp op)
{
    std::vector<CanvasCall> found;
    for (const CanvasCall &call : gFake.canvas)
        if (call.op == op)
            found.push_back(call);
    return found;
}

std::vector<std::wstring> ViewTest::Texts()
{
    std::vector<std::wstring> texts;
    for (const CanvasCall &call : Calls(CANVAS_TEXT))
        texts.push_back(call.text);
    return texts;
}
