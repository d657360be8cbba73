#include "reports/time_lapse.h"

#include "state/language.h"
#include "state/settings.h"
#include "base/text.h"
#include "reports/snapshot.h"

#include <cwchar>

TimeLapseSeries gTimeLapse;

static const int32_t kUnitSeconds[TIME_LAPSE_UNITS] = {1, 60, 3600};
static const int64_t kTicksPerSecond = 10000000;

int32_t TimeLapse_Seconds(int32_t number, int32_t unit)
{
    if (unit < 0 || unit >= TIME_LAPSE_UNITS || number < 1 || number > TIME_LAPSE_MAX_SECONDS)
        return 0;
    int64_t seconds = (int64_t)number * kUnitSeconds[unit];
    return seconds <= TIME_LAPSE_MAX_SECONDS ? (int32_t)seconds : 0;
}

void TimeLapse_SplitSeconds(int32_t seconds, int32_t *number, int32_t *unit)
{
    *unit = TIME_LAPSE_SECONDS;
    for (int32_t u = TIME_LAPSE_UNITS - 1; u > 0; u--) {
        if (seconds % kUnitSeconds[u] == 0) {
            *unit = u;
            break;
        }
    }
    *number = seconds / kUnitSeconds[*unit];
}

int32_t TimeLapse_DueSlot(const TimeLapseSeries &series, int64_t now)
{
    if (series.interval <= 0 || now < series.start + series.nextSlot * series.interval)
        return -1;
    int64_t slot = (now - series.start) / series.interval;
    // A series that was held up (a modal loop, a slow disk) takes the latest
    // picture due rather than a burst of the ones it missed.
    if (series.planned > 0 && slot >= series.planned)
        slot = series.planned - 1;
    return (int32_t)slot;
}

bool TimeLapse_AllSlotsPassed(const TimeLapseSeries &series)
{
    return series.planned > 0 && series.nextSlot >= series.planned;
}

int32_t TimeLapse_SecondsToNext(const TimeLapseSeries &series, int64_t now)
{
    int64_t left = series.start + series.nextSlot * series.interval - now;
    return left <= 0 ? 0 : (int32_t)((left + kTicksPerSecond - 1) / kTicksPerSecond);
}

bool TimeLapse_SeriesFolder(wchar_t *folder, size_t capacity, const wchar_t *parent, const LocalTime &t)
{
    return Text_Format(folder, capacity, L"%ls\\%d%02d%02d-%02d%02d%02d", parent, t.year, t.month, t.day, t.hour,
                       t.minute, t.second);
}

bool TimeLapse_PictureName(wchar_t *name, size_t capacity, const wchar_t *folder, int32_t number, int32_t format)
{
    // The snapshot's own name gives the extension of the format.
    wchar_t example[32];
    if (!Snapshot_FormatFileName(example, 32, L"", LocalTime{}, format))
        return false;
    const wchar_t *extension = wcsrchr(example, L'.');
    return Text_Format(name, capacity, L"%ls\\%06d%ls", folder, number, extension);
}

bool TimeLapse_VideoName(wchar_t *name, size_t capacity, const wchar_t *folder, int32_t useH264)
{
    const wchar_t *own = wcsrchr(folder, L'\\');
    return Text_Format(name, capacity, L"%ls\\%ls.%ls", folder, own ? own + 1 : folder, useH264 ? L"mp4" : L"wmv");
}

void TimeLapse_CountText(wchar_t *text, size_t capacity, const TimeLapseSeries &series)
{
    wchar_t taken[16], planned[16], count[64];
    Text_Format(taken, 16, L"%d", series.taken);
    Text_Format(planned, 16, L"%d", series.planned);
    const wchar_t *both[] = {taken, planned};
    if (series.planned > 0)
        Language_MessageAll(count, 64, 1417, L"%s of %s", both, 2);
    else
        Text_Copy(count, 64, taken);
    if (series.skipped == 0) {
        Text_Copy(text, capacity, count);
        return;
    }
    wchar_t skipped[16];
    Text_Format(skipped, 16, L"%d", series.skipped);
    const wchar_t *values[] = {count, skipped};
    Language_MessageAll(text, capacity, 1418, L"%s (%s skipped)", values, 2);
}

void TimeLapse_DurationText(wchar_t *text, size_t capacity, int32_t seconds)
{
    int32_t h = seconds / 3600, m = seconds / 60 % 60, s = seconds % 60;
    if (h > 0)
        Text_Format(text, capacity, L"%d:%02d:%02d", h, m, s);
    else
        Text_Format(text, capacity, L"%d:%02d", m, s);
}

void TimeLapse_VideoRows(const uint32_t *pixels, int32_t width, int32_t videoWidth, int32_t videoHeight,
                         int32_t stride, uint8_t *rows)
{
    for (int32_t y = 0; y < videoHeight; y++) {
        const uint32_t *in = pixels + (size_t)y * width;
        uint8_t *out = rows + (size_t)(videoHeight - 1 - y) * stride;
        for (int32_t x = 0; x < videoWidth; x++) {
            out[3 * x] = (uint8_t)in[x];
            out[3 * x + 1] = (uint8_t)(in[x] >> 8);
            out[3 * x + 2] = (uint8_t)(in[x] >> 16);
        }
    }
}
