// The time-lapse series that runs: its timer, its pictures and its video.
// The timer is a thread timer with a procedure of its own, so that the
// series goes on in any message loop of the user-interface thread (the main
// loop, a modal dialog's, the wait for a recording to end).
#include "reports/time_lapse.h"

#include "state/folders.h"
#include "state/language.h"
#include "state/prompt.h"
#include "state/settings.h"
#include "base/commands.h"
#include "base/platform.h"
#include "base/text.h"
#include "capture/camera_graph.h"
#include "record/writer.h"
#include "reports/snapshot_win.h"
#include "view/view_source.h"
#include "view/view_state.h"

#include <windows.h>

#include <vector>

enum { TICK_PERIOD = 200 }; // ms: a picture is taken within this of its time

static const int64_t kTicksPerSecond = 10000000;

// The series' video, opened at its first picture.
struct TimeLapseVideo {
    VideoFile *file;
    WriterSetup setup;
    std::vector<uint8_t> rows;
    int32_t frames;
    int32_t status; // the first failure, 0 while none
    wchar_t path[PATH_CAPACITY];
};

static UINT_PTR gTimer;
static TimeLapseVideo gVideo;

static void Announce()
{
    if (gApp.mainWindow)
        PostMessageW(gApp.mainWindow, WM_TIME_LAPSE_CHANGED, 0, 0);
}

static void ShowMessage(int textId, const wchar_t *english, const wchar_t *first, const wchar_t *second)
{
    wchar_t text[PROMPT_TEXT_CAPACITY];
    const wchar_t *values[] = {first, second};
    Language_MessageAll(text, PROMPT_TEXT_CAPACITY, textId, english, values, 2);
    Prompt_Show(text, gApp.toolbarHeight + 1);
}

static bool OpenVideo(const SnapshotPicture &picture)
{
    BitmapHeader header = {};
    header.biWidth = picture.width;
    header.biHeight = picture.height;
    gVideo.setup = Recorder_WriterSetup(header, gTimeLapse.useH264);
    gVideo.setup.frameRateNumerator = gTimeLapse.videoRate;
    gVideo.rows.assign((size_t)gVideo.setup.stride * gVideo.setup.height, 0);
    if (!TimeLapse_VideoName(gVideo.path, PATH_CAPACITY, gTimeLapse.folder, gTimeLapse.useH264))
        gVideo.status = HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    else
        gVideo.status = VideoFile_Open(gVideo.path, gVideo.setup, &gVideo.file);
    return gVideo.file != nullptr;
}

// The picture as the video's next frame. A picture of another size than the
// first (the resolution changed) is left out of the video.
static void AddToVideo(const SnapshotPicture &picture)
{
    if (gTimeLapse.videoRate <= 0 || gVideo.status < 0 || (!gVideo.file && !OpenVideo(picture)))
        return;
    const WriterSetup &setup = gVideo.setup;
    if ((picture.width & ~1) != setup.width || (picture.height & ~1) != setup.height)
        return;
    TimeLapse_VideoRows(picture.pixels, picture.width, setup.width, setup.height, setup.stride, gVideo.rows.data());
    int64_t time = gVideo.frames * kTicksPerSecond / gTimeLapse.videoRate;
    int64_t end = (gVideo.frames + 1) * kTicksPerSecond / gTimeLapse.videoRate;
    int32_t status = VideoFile_Write(gVideo.file, gVideo.rows.data(), time, end - time);
    if (status < 0)
        gVideo.status = status;
    else
        gVideo.frames++;
}

// Finishes the video; false when it could not be made or finished.
static bool CloseVideo()
{
    if (gVideo.file) {
        int32_t status = VideoFile_Close(gVideo.file);
        gVideo.file = nullptr;
        if (gVideo.status >= 0 && status < 0)
            gVideo.status = status;
    }
    return gVideo.status >= 0;
}

// Ends the series; failedPicture names a picture that could not be saved.
static void End(const wchar_t *failedPicture, bool tell = true)
{
    if (gTimer)
        KillTimer(nullptr, gTimer);
    gTimer = 0;
    gTimeLapse.running = false;
    bool hadVideo = gVideo.file != nullptr;
    bool videoSaved = CloseVideo();
    if (!tell)
        return;
    if (failedPicture) {
        ShowMessage(1420, L"Time-lapse stopped: could not save %s. The pictures taken are kept in %s.", failedPicture,
                    gTimeLapse.folder);
    } else if (!videoSaved) {
        wchar_t status[32];
        Text_Format(status, 32, L"0x%08X", (unsigned)gVideo.status);
        ShowMessage(1423, L"Could not save the time-lapse video %s (error %s)", gVideo.path, status);
    } else {
        wchar_t count[16];
        Text_Format(count, 16, L"%d", gTimeLapse.taken);
        if (hadVideo)
            ShowMessage(1422, L"Time-lapse finished: %s pictures and the video %s", count, gVideo.path);
        else
            ShowMessage(1421, L"Time-lapse finished: %s pictures in %s", count, gTimeLapse.folder);
    }
    Announce();
}

enum PictureResult { PICTURE_TAKEN, PICTURE_SKIPPED, PICTURE_FAILED };

static PictureResult TakePicture(wchar_t *name)
{
    SnapshotPicture picture;
    // No camera, none that has shown a frame yet, or the picture held or a
    // still one shown instead of the camera's: the picture is missed.
    if (!Camera_IsOpen() || gView.source != VIEW_LIVE || !View_SnapshotPicture(&picture, false))
        return PICTURE_SKIPPED;
    if (!TimeLapse_PictureName(name, PATH_CAPACITY, gTimeLapse.folder, gTimeLapse.taken + 1, gTimeLapse.format) ||
        !Snapshot_SavePicture(name, picture))
        return PICTURE_FAILED;
    gTimeLapse.taken++;
    AddToVideo(picture);
    return PICTURE_TAKEN;
}

static void Tick()
{
    if (!gTimeLapse.running)
        return;
    int32_t slot = TimeLapse_DueSlot(gTimeLapse, Clock_Precise());
    if (slot < 0)
        return;
    // Slots passed over while the program was held up are missed as well.
    gTimeLapse.skipped += slot - gTimeLapse.nextSlot;
    gTimeLapse.nextSlot = slot + 1;
    wchar_t name[PATH_CAPACITY] = L"";
    PictureResult result = TakePicture(name);
    if (result == PICTURE_FAILED) {
        End(name[0] ? name : gTimeLapse.folder);
        return;
    }
    if (result == PICTURE_SKIPPED)
        gTimeLapse.skipped++;
    if (TimeLapse_AllSlotsPassed(gTimeLapse))
        End(nullptr);
    else
        Announce();
}

static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    Tick();
}

bool TimeLapse_Start()
{
    if (gTimeLapse.running)
        return true;
    const wchar_t *parent = gSettings.timeLapseFolder[0] ? gSettings.timeLapseFolder : gSettings.imageFolder;
    TimeLapseSeries series = {};
    LocalTime now;
    Clock_LocalTime(&now);
    if (!TimeLapse_SeriesFolder(series.folder, PATH_CAPACITY, parent, now) ||
        !File_MakeNameFree(series.folder, PATH_CAPACITY) || !Folder_Ensure(series.folder)) {
        Prompt_ShowSaveFailure(parent);
        return false;
    }
    series.interval = gSettings.timeLapseSeconds * kTicksPerSecond;
    series.planned = gSettings.timeLapseCount;
    series.format = gSettings.timeLapseFormat;
    series.videoRate = gSettings.timeLapseVideo ? gSettings.timeLapseRate : 0;
    series.useH264 = gSettings.videoFormat;
    series.start = Clock_Precise();
    series.running = true;
    gTimer = SetTimer(nullptr, 0, TICK_PERIOD, OnTimer);
    if (!gTimer)
        return false;
    gTimeLapse = series;
    gVideo = TimeLapseVideo{};
    Tick(); // the first picture now
    return true;
}

void TimeLapse_Stop(bool tell)
{
    if (gTimeLapse.running)
        End(nullptr, tell);
}
