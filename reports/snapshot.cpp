#include "reports/snapshot.h"

#include "state/app_state.h"
#include "state/settings.h"
#include "base/platform.h"
#include "base/text.h"

bool Snapshot_FormatFileName(wchar_t *name, size_t capacity, const wchar_t *folder,
                             const LocalTime &t, int imageFormat)
{
    return Text_Format(name, capacity, L"%ls\\%d%02d%02d-%02d%02d%02d-%03d.%ls", folder, t.year, t.month,
                       t.day, t.hour, t.minute, t.second, t.millisecond, imageFormat == 1 ? L"png" : L"jpg");
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
