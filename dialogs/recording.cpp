#include "dialogs/recording.h"

#include "base/text.h"

const int32_t kRecordLimits[RECORD_LIMIT_COUNT] = {0, 10, 30, 60, 300, 600, 1800, 3600, 7200, 14400, 28800};
const int32_t kRecordSplits[RECORD_SPLIT_COUNT] = {0, 300, 600, 1800};

int Recording_LimitIndex(int32_t seconds)
{
    for (int i = 0; i < RECORD_LIMIT_COUNT; i++)
        if (kRecordLimits[i] == seconds)
            return i;
    return 0;
}

int32_t Recording_LimitAt(int index)
{
    return index >= 0 && index < RECORD_LIMIT_COUNT ? kRecordLimits[index] : 0;
}

int32_t Recording_SplitAt(int index)
{
    return index >= 0 && index < RECORD_SPLIT_COUNT ? kRecordSplits[index] : 0;
}

RecordingTick Recording_Tick(int64_t totalDuration, int64_t sampleTime, int32_t maxRecordTime, int32_t recordSplit)
{
    if (maxRecordTime != 0 && totalDuration / 10000 >= (int64_t)maxRecordTime * 1000)
        return TICK_CLOSE;
    if (recordSplit != 0 && sampleTime / 10000 >= (int64_t)recordSplit * 1000)
        return TICK_SPLIT;
    return TICK_SHOW;
}

void Recording_ElapsedText(int64_t milliseconds, wchar_t *text, size_t capacity)
{
    int64_t tenths = milliseconds / 100;
    if (tenths < 600) {
        Text_Format(text, capacity, L"%d.%d", (int)(tenths / 10), (int)(tenths % 10));
        return;
    }
    int64_t minutes = tenths / 600;
    Text_Format(text, capacity, L"%d:%02d.%d", (int)minutes, (int)((tenths - minutes * 600) / 10),
                (int)(tenths % 10));
}

bool Recording_FileName(wchar_t *path, size_t capacity, const wchar_t *folder, const LocalTime &time,
                        int32_t videoFormat)
{
    return Text_Format(path, capacity, L"%ls\\%d%02d%02d-%02d%02d%02d.%ls", folder, time.year, time.month,
                       time.day, time.hour, time.minute, time.second, videoFormat == 1 ? L"mp4" : L"wmv");
}
