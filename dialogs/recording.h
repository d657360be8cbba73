// The Recording dialog's decisions: its two lists, what a timer tick does,
// the elapsed-time text and the name of each file.
#pragma once
#include "base/clock.h"
#include <cstddef>
#include <cstdint>

enum { RECORD_LIMIT_COUNT = 11, RECORD_SPLIT_COUNT = 4 };

// The seconds of each item of the time-limit and the file-split list (0: no
// limit, no split); the items' texts are 1191... and 1211... .
extern const int32_t kRecordLimits[RECORD_LIMIT_COUNT];
extern const int32_t kRecordSplits[RECORD_SPLIT_COUNT];

// The limit item showing these seconds; "no limit" for a value not listed.
int Recording_LimitIndex(int32_t seconds);
// The seconds of an item; 0 (none) for an index outside the list, such as no
// selection.
int32_t Recording_LimitAt(int index);
int32_t Recording_SplitAt(int index);

enum RecordingTick { TICK_SHOW, TICK_CLOSE, TICK_SPLIT };
// A tick while recording, from the recorded time in all and in the current
// file (100-ns units): the limit reached closes, else the split interval
// reached splits; either way the tick shows the time.
RecordingTick Recording_Tick(int64_t totalDuration, int64_t sampleTime, int32_t maxRecordTime, int32_t recordSplit);

// "59.9" below a minute, "1:00.0" from then on, minutes never wrapped into hours.
void Recording_ElapsedText(int64_t milliseconds, wchar_t *text, size_t capacity);

// "<folder>\YYYYMMDD-hhmmss.mp4" (videoFormat 1) or ".wmv"; false when the
// name does not fit.
bool Recording_FileName(wchar_t *path, size_t capacity, const wchar_t *folder, const LocalTime &time,
                        int32_t videoFormat);
