// Taking snapshots of the camera view and showing them in the file browser.
#include "view/view_source.h"
#include "reports/snapshot.h"
#include "reports/snapshot_win.h"

#include "state/app_state.h"
#include "state/prompt.h"
#include "state/settings.h"
#include "base/gdiplus_win.h"
#include "base/scoped_win.h"
#include "base/text.h"
#include "capture/camera_graph.h"
#include "reports/report_file_win.h"

#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <vector>

static bool ReadStream(IStream *stream, std::vector<uint8_t> *bytes)
{
    STATSTG stat = {};
    HGLOBAL memory = nullptr;
    if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)) || FAILED(GetHGlobalFromStream(stream, &memory)) ||
        stat.cbSize.QuadPart > GlobalSize(memory))
        return false;
    const uint8_t *data = (const uint8_t *)GlobalLock(memory);
    if (!data)
        return false;
    bytes->assign(data, data + stat.cbSize.QuadPart);
    GlobalUnlock(memory);
    return true;
}

// JPEG (quality 100) or PNG through GDI+, into memory, so that the density
// is set before the file is written.
static bool EncodeWithGdiplus(const SnapshotPicture &picture, SnapshotFormat format, std::vector<uint8_t> *bytes)
{
    // GDI+ must not be given the back bitmap itself, which stays selected
    // into the back buffer's DC: it reads the DIB section's pixels instead,
    // in place, with no alpha (the unused byte is not transparency).
    Gdiplus::GpBitmap *bitmap = nullptr;
    if (Gdip::GdipCreateBitmapFromScan0(picture.width, picture.height, picture.width * 4, PixelFormat32bppRGB,
                                        (BYTE *)picture.pixels, &bitmap) != Gdiplus::Ok)
        return false;
    CLSID encoder; // the same GUID layout
    memcpy(&encoder, format == SNAPSHOT_JPG ? &gApp.jpegEncoder : &gApp.pngEncoder, sizeof encoder);
    LONG quality = 100;
    Gdiplus::EncoderParameters parameters = {};
    parameters.Count = 1;
    parameters.Parameter[0].Guid = Gdiplus::EncoderQuality;
    parameters.Parameter[0].NumberOfValues = 1;
    parameters.Parameter[0].Type = Gdiplus::EncoderParameterValueTypeLong;
    parameters.Parameter[0].Value = &quality;
    ComPtr<IStream> stream;
    bool encoded = SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, stream.Put())) &&
                   Gdip::GdipSaveImageToStream(bitmap, stream.Get(), &encoder, &parameters) == Gdiplus::Ok &&
                   ReadStream(stream.Get(), bytes);
    Gdip::GdipDisposeImage(bitmap);
    return encoded;
}

bool Snapshot_Save(const wchar_t *path, bool numbered)
{
    SnapshotPicture picture;
    return View_SnapshotPicture(&picture, numbered) && Snapshot_SavePicture(path, picture);
}

bool Snapshot_SavePicture(const wchar_t *path, const SnapshotPicture &picture)
{
    SnapshotFormat format = Snapshot_FormatOf(path);
    PictureScale scale = Snapshot_Scale(picture.width, picture.height);
    std::vector<uint8_t> bytes;
    if (format == SNAPSHOT_TIFF) {
        if (!Tiff_Write(picture.pixels, picture.width, picture.height, scale, &bytes))
            return false;
    } else {
        if (!EncodeWithGdiplus(picture, format, &bytes))
            return false;
        // Without a calibration the encoder's own density stays.
        if (scale.x > 0)
            (format == SNAPSHOT_JPG ? Jpeg_SetDensity : Png_SetDensity)(&bytes, scale);
    }
    if (Report_WriteBytes(path, bytes.data(), bytes.size()))
        return true;
    DeleteFileW(path); // never a partial picture
    return false;
}

void Snapshot_Take()
{
    Snapshot_TakeAnnouncedAt(gApp.toolbarHeight + 1);
}

void Snapshot_TakeAnnouncedAt(int top)
{
    if (!View_HasPicture())
        return;
    wchar_t name[PATH_CAPACITY];
    if (!Snapshot_MakeFileName(name)) {
        Prompt_ShowSaveFailureAt(gSettings.imageFolder, top); // no room or no free name in it
        return;
    }
    if (!Snapshot_Save(name, false)) {
        Prompt_ShowSaveFailureAt(name, top);
        return;
    }
    wchar_t text[PROMPT_TEXT_CAPACITY];
    Snapshot_SavedText(text, PROMPT_TEXT_CAPACITY, name);
    Prompt_Show(text, top);
    Text_Copy(gApp.lastSavedFile, PATH_CAPACITY, name);
}

void Gallery_Target(wchar_t *path)
{
    if (gApp.lastSavedFile[0]) {
        Text_Copy(path, PATH_CAPACITY, gApp.lastSavedFile);
        return;
    }
    Text_Copy(path, PATH_CAPACITY, gSettings.imageFolder);
    wchar_t pattern[PATH_CAPACITY];
    if (!Text_Format(pattern, PATH_CAPACITY, L"%ls\\*-*-*.jpg", gSettings.imageFolder))
        return;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(pattern, &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    wchar_t first[PATH_CAPACITY];
    if (Text_Format(first, PATH_CAPACITY, L"%ls\\%ls", gSettings.imageFolder, found.cFileName))
        Text_Copy(path, PATH_CAPACITY, first);
    FindClose(search);
}

void Gallery_Open()
{
    IShellLinkW *link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                (void **)&link)) || !link)
        return;
    wchar_t path[PATH_CAPACITY];
    Gallery_Target(path);
    PIDLIST_ABSOLUTE items = nullptr;
    if (SUCCEEDED(link->SetPath(path)) && SUCCEEDED(link->GetIDList(&items)) && items)
        SHOpenFolderAndSelectItems(items, 0, nullptr, 0);
    link->Release();
    CoTaskMemFree(items);
}
