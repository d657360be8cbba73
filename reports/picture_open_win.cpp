#include "reports/picture_open_win.h"

#include "base/gdiplus_win.h"
#include "base/platform.h"
#include "base/text.h"
#include "reports/picture_reader.h"
#include "reports/report_file_win.h"
#include "state/app_state.h"
#include "state/language.h"
#include "state/prompt.h"
#include "view/view_device_win.h"
#include "view/view_source.h"

#include <shlwapi.h>
#include <cwchar>

BOOL(WINAPI *Picture_GetOpenFileName)(OPENFILENAMEW *dialog) = GetOpenFileNameW;

// A file is read whole before anything else: an uncompressed picture of the
// largest allowed size (STILL_MAX_PIXELS, 3 bytes each) with room for its
// headers.
static const size_t MAX_FILE_BYTES = (size_t)STILL_MAX_PIXELS * 3 + (64u << 20);

enum OpenFailure {
    OPEN_NOT_A_PICTURE = 1376,
    OPEN_DAMAGED = 1377,
    OPEN_EMPTY = 1378,
    OPEN_TOO_LARGE = 1379,
    OPEN_UNREADABLE = 1380,
};

static void ShowFailure(OpenFailure failure, const wchar_t *path, const wchar_t *size)
{
    static const wchar_t *const english[] = {
        L"Could not open %s: it is not a JPG, PNG, BMP or TIFF picture.",
        L"Could not open %s: the file is damaged or incomplete.",
        L"Could not open %s: the file is empty.",
        L"Could not open %s: the picture is too large (%s; at most 100 megapixels and 16384 pixels a side).",
        L"Could not open %s: the file cannot be read.",
    };
    const wchar_t *values[] = {path, size};
    wchar_t text[PROMPT_TEXT_CAPACITY];
    Language_MessageAll(text, PROMPT_TEXT_CAPACITY, failure, english[failure - OPEN_NOT_A_PICTURE], values, 2);
    Prompt_Show(text, gApp.toolbarHeight + 1);
}

static OpenFailure FailureOf(PictureVerdict verdict)
{
    switch (verdict) {
    case PICTURE_EMPTY: return OPEN_EMPTY;
    case PICTURE_NOT_ONE: return OPEN_NOT_A_PICTURE;
    case PICTURE_TOO_LARGE: return OPEN_TOO_LARGE;
    case PICTURE_DAMAGED:
    case PICTURE_READABLE: break;
    }
    return OPEN_DAMAGED;
}

// GDI+ decodes the bytes (through the system's codecs) into 24-bit rows,
// which the view copies; false when it cannot.
static bool DecodeAndShow(const std::vector<unsigned char> &bytes, const PictureFacts &facts,
                          const PictureScale &scale, const wchar_t *name)
{
    IStream *stream = SHCreateMemStream(bytes.data(), (UINT)bytes.size());
    if (!stream)
        return false;
    Gdiplus::GpBitmap *bitmap = nullptr;
    bool decoded = Gdip::GdipCreateBitmapFromStream(stream, &bitmap) == Gdiplus::Ok;
    UINT width = 0, height = 0;
    if (decoded)
        decoded = Gdip::GdipGetImageWidth(bitmap, &width) == Gdiplus::Ok &&
                  Gdip::GdipGetImageHeight(bitmap, &height) == Gdiplus::Ok && width == facts.width &&
                  height == facts.height;
    Gdiplus::Rect all(0, 0, (INT)width, (INT)height);
    Gdiplus::BitmapData data = {};
    bool locked = decoded && Gdip::GdipBitmapLockBits(bitmap, &all, Gdiplus::ImageLockModeRead,
                                                      PixelFormat24bppRGB, &data) == Gdiplus::Ok;
    bool shown = false;
    if (locked && data.Stride > 0) {
        StillPicture picture = {(int32_t)width, (int32_t)height, (const uint8_t *)data.Scan0, (size_t)data.Stride,
                                true, (float)scale.x, scale.unit, name};
        shown = View_ShowStill(picture);
    }
    if (locked)
        Gdip::GdipBitmapUnlockBits(bitmap, &data);
    if (bitmap)
        Gdip::GdipDisposeImage(bitmap);
    stream->Release();
    return shown;
}

// The file's size, when its attributes can be read.
static bool FileSize(const wchar_t *path, uint64_t *size)
{
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    if (!GetFileAttributesExW(path, GetFileExInfoStandard, &attributes))
        return false;
    *size = (uint64_t)attributes.nFileSizeHigh << 32 | attributes.nFileSizeLow;
    return true;
}

bool Picture_Open(const wchar_t *path)
{
    std::vector<unsigned char> bytes;
    if (!File_ReadAll(path, MAX_FILE_BYTES, &bytes)) {
        uint64_t size = 0;
        bool huge = FileSize(path, &size) && size > MAX_FILE_BYTES;
        ShowFailure(huge ? OPEN_TOO_LARGE : OPEN_UNREADABLE, path, L"");
        return false;
    }
    PictureFacts facts;
    PictureVerdict verdict = Picture_Inspect(bytes.data(), bytes.size(), &facts);
    if (verdict != PICTURE_READABLE) {
        wchar_t size[48];
        Text_Format(size, 48, L"%lld\u00D7%lld", (long long)facts.width, (long long)facts.height);
        ShowFailure(FailureOf(verdict), path, size);
        return false;
    }
    PictureScale scale;
    Tiff_ReadScale(bytes.data(), bytes.size(), &scale);
    if (!DecodeAndShow(bytes, facts, scale, Text_FileName(path))) {
        ShowFailure(OPEN_DAMAGED, path, L"");
        return false;
    }
    return true;
}

void Picture_Choose()
{
    wchar_t path[PATH_CAPACITY] = L"";
    // The filter's name, its terminator, the patterns and the list's end.
    wchar_t filter[160];
    if (!Text_Format(filter, 160, L"%ls|*.jpg;*.jpeg;*.png;*.bmp;*.tif;*.tiff|", Language_Text(1381)))
        return;
    for (wchar_t *bar = wcschr(filter, L'|'); bar; bar = wcschr(bar + 1, L'|'))
        *bar = 0;
    OPENFILENAMEW dialog = File_DialogSetup(filter, path);
    dialog.lpstrTitle = Language_Text(1371);
    dialog.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    if (Picture_GetOpenFileName(&dialog))
        Picture_Open(path);
}
