#include "view/view_source.h"

#include "base/text.h"
#include "capture/camera_graph.h"
#include "capture/camera_state.h"
#include "capture/effects.h"
#include "capture/frame_layout.h"
#include "state/view_api.h"
#include "view/view_platform.h"
#include "view/view_state.h"

#include <cstring>
#include <new>

bool Still_SizeAllowed(int64_t width, int64_t height)
{
    return width > 0 && height > 0 && width <= FRAME_MAX_SIDE && height <= FRAME_MAX_SIDE &&
           width * height <= STILL_MAX_PIXELS;
}

bool View_HasPicture()
{
    return !gView.frameBits.empty() && (Camera_IsOpen() || gView.source == VIEW_PICTURE);
}

void View_SetSource(ViewSource source)
{
    gView.source = source;
    gCamera.viewHeld = source != VIEW_LIVE;
}

bool View_ToggleHold()
{
    if (gView.source == VIEW_HELD)
        View_SetSource(VIEW_LIVE);
    else if (gView.source == VIEW_LIVE && Camera_IsOpen() && !gView.frameBits.empty())
        View_SetSource(VIEW_HELD);
    View_Invalidate(false);
    return gView.source == VIEW_HELD;
}

// The picture's rows as the frame copy holds them: bottom-up, each padded
// to a multiple of 4 bytes.
static void CopyRows(const StillPicture &picture, uint8_t *out, size_t stride)
{
    size_t height = (size_t)picture.height;
    for (size_t y = 0; y < height; y++) {
        size_t source = picture.topDown ? y : height - 1 - y; // y counts from the top
        memcpy(out + (height - 1 - y) * stride, picture.rows + source * picture.stride, (size_t)picture.width * 3);
    }
}

bool View_TakeStill(const StillPicture &picture)
{
    if (!picture.rows || !Still_SizeAllowed(picture.width, picture.height) ||
        picture.stride < (size_t)picture.width * 3)
        return false;
    BitmapHeader header = {};
    header.biSize = sizeof header;
    header.biWidth = picture.width;
    header.biHeight = picture.height; // bottom-up, as the camera's frames
    header.biPlanes = 1;
    header.biBitCount = 24;
    FrameLayout layout;
    FrameLayout_From(header, &layout);
    header.biSizeImage = (uint32_t)layout.size;
    std::vector<uint8_t> original, bits;
    try {
        original.assign((size_t)layout.size, 0);
        bits.reserve((size_t)layout.size); // what View_AdoptFormat assigns, so that it cannot fail there
    } catch (const std::bad_alloc &) {
        return false;
    }
    CopyRows(picture, original.data(), (size_t)layout.stride);
    View_Reset();
    gView.frameBits.swap(bits);
    View_AdoptFormat(header);
    View_SetSource(VIEW_PICTURE);
    gView.stillOriginal.swap(original);
    gView.stillEffect = -1;
    Text_Copy(gView.stillName, STILL_NAME_CAPACITY, picture.name ? picture.name : L"");
    View_RefreshStillEffect();
    return true;
}

static int32_t ChosenEffect()
{
    if (gCamera.gray)
        return 1;
    if (gCamera.blackWhite)
        return 2;
    if (gCamera.negative)
        return 3;
    return gCamera.emboss ? 4 : 0;
}

bool View_RefreshStillEffect()
{
    int32_t effect = ChosenEffect();
    if (gView.source != VIEW_PICTURE || effect == gView.stillEffect ||
        gView.stillOriginal.size() != gView.frameBits.size())
        return false;
    gView.stillEffect = effect;
    if (!Effect_Still(gView.stillOriginal.data(), gView.frameBits.data(), (size_t)gView.imageWidth,
                      (size_t)gView.imageHeight))
        gView.frameBits = gView.stillOriginal;
    return true;
}
