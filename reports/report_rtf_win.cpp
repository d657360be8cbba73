// The rich-text report: a snapshot of the view goes into the image folder
// and, as a bitmap, into the document with the title, date and item lines.
#include "reports/reports_win.h"

#include "state/app_state.h"
#include "state/prompt.h"
#include "state/settings.h"
#include "base/gdiplus_win.h"
#include "capture/camera_graph.h"
#include "view/view_source.h"
#include "reports/report_file_win.h"
#include "reports/report_values.h"
#include "reports/rtf_report.h"
#include "reports/snapshot.h"

#include <string>
#include <vector>

static const wchar_t kFilter[] = L"RTF file\0*.rtf\0";

// The pixels of an image as 32-bit rows, at the size the report shows it.
static bool ReadPixels(Gdiplus::GpImage *image, std::vector<uint8_t> *pixels, RtfPicture *picture)
{
    UINT width = 0, height = 0;
    if (Gdip::GdipGetImageWidth(image, &width) != Gdiplus::Ok ||
        Gdip::GdipGetImageHeight(image, &height) != Gdiplus::Ok)
        return false;
    Gdiplus::Rect all(0, 0, (INT)width, (INT)height);
    Gdiplus::BitmapData data = {};
    if (Gdip::GdipBitmapLockBits((Gdiplus::GpBitmap *)image, &all, Gdiplus::ImageLockModeRead,
                                 PixelFormat32bppRGB, &data) != Gdiplus::Ok)
        return false;
    pixels->resize((size_t)width * height * 4);
    for (UINT y = 0; y < height; y++)
        memcpy(pixels->data() + (size_t)y * width * 4, (const uint8_t *)data.Scan0 + (ptrdiff_t)y * data.Stride,
               (size_t)width * 4);
    Gdip::GdipBitmapUnlockBits((Gdiplus::GpBitmap *)image, &data);
    *picture = RtfPicture{(int)width, (int)height, pixels->data(), (int)width * 4};
    return true;
}

// The snapshot file as the report shows it: a picture wider than 640 pixels
// as a thumbnail 640 wide at its own proportions.
static bool LoadPicture(const wchar_t *file, std::vector<uint8_t> *pixels, RtfPicture *picture)
{
    Gdiplus::GpBitmap *bitmap = nullptr;
    if (Gdip::GdipCreateBitmapFromFile(file, &bitmap) != Gdiplus::Ok)
        return false;
    UINT width = 0, height = 0;
    Gdip::GdipGetImageWidth(bitmap, &width);
    Gdip::GdipGetImageHeight(bitmap, &height);
    int w, h;
    Report_PictureSize((int)width, (int)height, &w, &h);
    Gdiplus::GpImage *thumbnail = nullptr;
    bool read;
    if ((UINT)w == width && (UINT)h == height)
        read = ReadPixels(bitmap, pixels, picture);
    else
        read = Gdip::GdipGetImageThumbnail(bitmap, (UINT)w, (UINT)h, &thumbnail, nullptr, nullptr) == Gdiplus::Ok &&
               ReadPixels(thumbnail, pixels, picture);
    if (thumbnail)
        Gdip::GdipDisposeImage(thumbnail);
    Gdip::GdipDisposeImage(bitmap);
    return read;
}

static bool WriteText(const wchar_t *file, const void *context)
{
    const std::string &rtf = *(const std::string *)context;
    return Report_WriteBytes(file, rtf.data(), rtf.size());
}

void Report_SaveRtf()
{
    if (!View_HasPicture())
        return;
    LocalTime now;
    Clock_LocalTime(&now);
    wchar_t path[PATH_CAPACITY];
    if (!Report_ChooseFile(now, kFilter, L"rtf", path))
        return;
    // The snapshot stays in the image folder; without it the report has no
    // picture, and the user is told that it could not be saved.
    wchar_t snapshot[PATH_CAPACITY];
    std::vector<uint8_t> pixels;
    RtfPicture picture;
    bool named = Snapshot_MakeFileName(snapshot);
    bool saved = named && Snapshot_Save(snapshot, true);
    if (!saved)
        Prompt_ShowSaveFailure(named ? snapshot : gSettings.imageFolder);
    bool hasPicture = saved && LoadPicture(snapshot, &pixels, &picture);
    std::string rtf;
    Report_ComposeRtf(now, hasPicture ? &picture : nullptr, &rtf);
    Report_WriteFile(path, WriteText, &rtf);
}
