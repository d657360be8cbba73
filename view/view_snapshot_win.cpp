#include "view/view_snapshot_win.h"

#include "app/app_state.h"
#include "base/gdiplus_win.h"
#include "capture/camera_graph.h"
#include "view/view_state.h"

#include <windows.h>
#include <cstring>
#include <cwchar>

static bool EndsWithLowerJpg(const wchar_t *path)
{
    size_t n = wcslen(path);
    return n >= 3 && wcscmp(path + n - 3, L"jpg") == 0;
}

bool View_SaveSnapshot(const wchar_t *path)
{
    if (!Camera_IsOpen() || !gView.backBitmap)
        return false;
    Gdiplus::GpBitmap *bitmap = nullptr;
    if (Gdip::GdipCreateBitmapFromHBITMAP((HBITMAP)gView.backBitmap, nullptr, &bitmap) != Gdiplus::Ok)
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
