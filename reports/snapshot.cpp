#include "reports/snapshot.h"

#include "state/app_state.h"
#include "state/settings.h"
#include "base/platform.h"
#include "base/text.h"
#include "view/measure_item.h"
#include "view/view_state.h"

static const wchar_t *const kExtensions[SNAPSHOT_FORMATS] = {L"jpg", L"png", L"tif"};

bool Snapshot_FormatFileName(wchar_t *name, size_t capacity, const wchar_t *folder,
                             const LocalTime &t, int imageFormat)
{
    return Text_Format(name, capacity, L"%ls\\%d%02d%02d-%02d%02d%02d-%03d.%ls", folder, t.year, t.month,
                       t.day, t.hour, t.minute, t.second, t.millisecond,
                       kExtensions[imageFormat == SNAPSHOT_PNG || imageFormat == SNAPSHOT_TIFF ? imageFormat : 0]);
}

SnapshotFormat Snapshot_FormatOf(const wchar_t *path)
{
    size_t n = Text_Length(path);
    if (n >= 3 && Text_Equal(path + n - 3, kExtensions[SNAPSHOT_JPG]))
        return SNAPSHOT_JPG;
    if (n >= 3 && Text_Equal(path + n - 3, kExtensions[SNAPSHOT_TIFF]))
        return SNAPSHOT_TIFF;
    return SNAPSHOT_PNG;
}

PictureScale Snapshot_Scale(int width, int height)
{
    if (!(gView.scale > 0) || gView.imageWidth <= 0 || gView.imageHeight <= 0)
        return {0, 0, 0};
    double pixelsPerUnit = MeasureItem_UnitScale();
    return {pixelsPerUnit * width / gView.imageWidth, pixelsPerUnit * height / gView.imageHeight, gView.unitIndex};
}

bool Snapshot_MakeFileName(wchar_t *name)
{
    LocalTime now;
    Clock_LocalTime(&now);
    return Snapshot_FormatFileName(name, PATH_CAPACITY, gSettings.imageFolder, now, gSettings.imageFormat) &&
           File_MakeNameFree(name, PATH_CAPACITY);
}

void Snapshot_SavedText(wchar_t *text, size_t capacity, const wchar_t *name)
{
    Text_Format(text, capacity, L"File saved: %ls", name);
}
