#include "capture/frame_layout.h"

int32_t Frame_RowBytes(int32_t width)
{
    return (width * 3 + 3) & ~3;
}

bool FrameLayout_From(const BitmapHeader &header, FrameLayout *layout)
{
    *layout = {};
    int64_t width = header.biWidth;
    int64_t height = header.biHeight < 0 ? -(int64_t)header.biHeight : header.biHeight;
    if (width <= 0 || width > FRAME_MAX_SIDE || height == 0 || height > FRAME_MAX_SIDE)
        return false;
    int32_t stride = Frame_RowBytes((int32_t)width);
    *layout = {(int32_t)width, (int32_t)height, stride, stride * (int32_t)height};
    return true;
}
