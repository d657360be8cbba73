#include "view/view_snapshot_win.h"

#include "state/app_state.h"
#include "state/settings.h"
#include "view/view_state.h"
#include "base/gdiplus_win.h"
#include "capture/camera_graph.h"
#include "view/view_win.h"

#include <windows.h>
#include <cstring>
#include <cwchar>

static bool EndsWithLowerJpg(const wchar_t *path)
{
    size_t n = wcslen(path);
    return n >= 3 && wcscmp(path + n - 3, L"jpg") == 0;
}

bool View_SaveSnapshot(const wchar_t *path, bool numbered)
{
    int width = 0, height = 0;
    const uint32_t *pixels = View_BackPixels(&width, &height);
    if (!Camera_IsOpen() || !pixels)
        return false;
    // A snapshot for measuring is neither shrunk nor blown up: at another
    // zoom the picture is composed again at its own size.
    PictureComposition picture;
    bool zoomed = width != gView.imageWidth || height != gView.imageHeight;
    bool numbersMissing = numbered && !gView.showNumbers;
    if ((zoomed && !gSettings.snapshotAsShown) || numbersMissing) {
        if (!View_ComposePicture(&picture, numbered))
            return false;
        pixels = picture.pixels;
        width = picture.width;
        height = picture.height;
    }
    // GDI+ must not be given the back bitmap itself, which stays selected
    // into the back buffer's DC: it reads the DIB section's pixels instead,
    // in place, with no alpha (the unused byte is not transparency).
    Gdiplus::GpBitmap *bitmap = nullptr;
    if (Gdip::GdipCreateBitmapFromScan0(width, height, width * 4, PixelFormat32bppRGB, (BYTE *)pixels, &bitmap) !=
        Gdiplus::Ok)
        return false;
    CLSID encoder;
    memcpy(&encoder, EndsWithLowerJpg(path) ? &gApp.jpegEncoder : &gApp.pngEncoder, sizeof encoder);
    LONG quality = 100;
    Gdiplus::EncoderParameters parameters = {};
    parameters.Count = 1;
    parameters.Parameter[0].Guid = Gdiplus::EncoderQuality;
    parameters.Parameter[0].NumberOfValues = 1;
    parameters.Parameter[0].Type = Gdiplus::EncoderParameterValueTypeLong;
    parameters.Parameter[0].Value = &quality;
    Gdiplus::GpStatus status = Gdip::GdipSaveImageToFile(bitmap, path, &encoder, &parameters);
    Gdip::GdipDisposeImage(bitmap);
    return status == Gdiplus::Ok;
}
