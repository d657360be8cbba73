#include "view/view_state.h"

#include "base/text.h"
#include "capture/camera_state.h"
#include "capture/frame_layout.h"
#include "view/editing.h"
#include "view/items.h"
#include "view/overlays.h"
#include "view/view_source.h"
#include "state/view_api.h"
#include "view/view_platform.h"

#include <cstdlib>

View gView;

void View_Init(HWND__ *window)
{
    gView = View();
    gView.hwnd = window;
    gView.zoom = 100;
    gView.drawScale = 1.0;
    gView.scale = -1.0f;
    gView.selected = -1;
    gView.editIndex = -1;
    gView.hover = -1;
    gView.newItem.x3 = -1;
    Text_Copy(gView.placeholderText, VIEW_TEXT_CAPACITY, L"Please connect USB microscope.");
    Text_Copy(gView.textPrompt, VIEW_TEXT_CAPACITY, L" Input text, drag to move. ");
}

void View_SetTexts(const wchar_t *placeholder, const wchar_t *prompt)
{
    Text_Copy(gView.placeholderText, VIEW_TEXT_CAPACITY, placeholder);
    Text_Copy(gView.textPrompt, VIEW_TEXT_CAPACITY, prompt);
    View_Invalidate(false);
}

void View_AdoptFormat(const BitmapHeader &header)
{
    FrameLayout layout; // a refused header never starts a preview; it gives no picture here
    FrameLayout_From(header, &layout);
    gView.imageWidth = layout.width;
    gView.imageHeight = layout.height;
    gView.frameSize = layout.size; // DIB rows, as the drawing of the frame reads them
    gView.frameBits.assign((size_t)gView.frameSize, 0);
    gView.bitmapInfo = BitmapInfo();
    gView.bitmapInfo.bmiHeader = header;
    gView.displayWidth = gView.imageWidth;
    gView.displayHeight = gView.imageHeight;
    gView.zoom = 100;
    gView.drawScale = 1.0;
    gView.scale = -1.0f;
    gView.unitIndex = 0;
    View_RecomputeRulerStep();
    View_PostSize();
}

void View_SetFrameFormat()
{
    View_AdoptFormat(gCamera.frameHeader);
}

void View_Reset()
{
    std::vector<uint8_t>().swap(gView.frameBits);
    std::vector<uint8_t>().swap(gView.stillOriginal);
    gView.frameSize = 0;
    View_SetSource(VIEW_LIVE); // a held or opened picture ends with the picture
    View_DestroyBackBuffer();
    gView.scale = -1.0f;
    View_ClearItems();
    View_DiscardNewItem(); // a half-drawn item belongs to the picture that went
    gView.dragItem = nullptr;
    if (gView.tool == TOOL_CALIB_LEFT || gView.tool == TOOL_CALIB_RIGHT)
        gView.tool = TOOL_POINTER; // the end being dragged went with the picture
    gView.selected = -1;
    gView.hover = -1;
    gView.editIndex = -1; // the item being changed went with the others
    gView.imageWidth = gView.imageHeight = 0;
    gView.displayWidth = gView.displayHeight = 0;
    gView.zoom = 100;
    gView.drawScale = 1.0;
    View_Invalidate(true);
}
