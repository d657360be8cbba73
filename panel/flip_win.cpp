// The Flip and effects section: mirror, upside down, and the four picture
// effects of which at most one is on.
#include "view/view_source.h"
#include "panel/panel_win.h"
#include "panel/section_layouts.h"
#include "panel/section_win.h"

#include "state/app_state.h"
#include "base/commands.h"
#include "capture/camera_graph.h"
#include "view/view_state.h"

enum { FLIP_MIRROR = 101, FLIP_UPSIDE_DOWN, FLIP_GRAY, FLIP_BLACK_WHITE, FLIP_NEGATIVE, FLIP_EMBOSS };

static const SectionControl kControls[FLIP_CONTROLS] = {
    {FLIP_MIRROR, L"BUTTON", BS_AUTOCHECKBOX, 1102},   {FLIP_UPSIDE_DOWN, L"BUTTON", BS_AUTOCHECKBOX, 1103},
    {FLIP_GRAY, L"BUTTON", BS_AUTOCHECKBOX, 1104},     {FLIP_BLACK_WHITE, L"BUTTON", BS_AUTOCHECKBOX, 1105},
    {FLIP_NEGATIVE, L"BUTTON", BS_AUTOCHECKBOX, 1106}, {FLIP_EMBOSS, L"BUTTON", BS_AUTOCHECKBOX, 1107},
};

// The six flags in the order of the boxes.
static std::atomic<int32_t> *Flag(int id)
{
    std::atomic<int32_t> *flags[FLIP_CONTROLS] = {&gCamera.mirror, &gCamera.flipVertical, &gCamera.gray,
                                                  &gCamera.blackWhite, &gCamera.negative, &gCamera.emboss};
    return flags[id - FLIP_MIRROR];
}

static void Refresh(HWND section, bool)
{
    // The effects apply to a still picture too; mirror and flip are the camera's.
    bool open = Camera_IsOpen(), picture = View_HasPicture();
    for (int id = FLIP_MIRROR; id <= FLIP_EMBOSS; id++) {
        Section_Enable(section, id, id >= FLIP_GRAY ? picture : open);
        if (id >= FLIP_GRAY ? picture : open)
            Section_Check(section, id, *Flag(id) != 0);
    }
}

static const SectionKind kSection = {2, 1101, kControls, FLIP_CONTROLS, Flip_Layout, Refresh};

static void OnBox(HWND section, int id)
{
    bool on = Section_Checked(section, id);
    *Flag(id) = on ? 1 : 0;
    if (id == FLIP_UPSIDE_DOWN) {
        // Every click turns the drawn picture over once.
        gView.bitmapInfo.bmiHeader.biHeight = -gView.bitmapInfo.bmiHeader.biHeight;
        if (gApp.cameraView)
            InvalidateRect(gApp.cameraView, nullptr, FALSE);
        return;
    }
    if (id == FLIP_MIRROR)
        return;
    for (int other = FLIP_GRAY; other <= FLIP_EMBOSS && on; other++)
        if (other != id) {
            *Flag(other) = 0;
            Section_Check(section, other, false);
        }
    MainWnd_PostCommand(CMD_EFFECTS_CHANGED);
}

LRESULT CALLBACK FlipSection_Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    int id = LOWORD(wParam);
    if (message == WM_COMMAND && id >= FLIP_MIRROR && id <= FLIP_EMBOSS && HIWORD(wParam) == BN_CLICKED) {
        OnBox(window, id);
        return 0;
    }
    return Section_DefProc(kSection, window, message, wParam, lParam);
}
