// A time-lapse series: a picture of the composed view every interval, into a
// subfolder of its own named by the moment it began, and at its end, by
// choice, a video of those pictures. The rules here are portable; the
// series' timer and files are reports/time_lapse_win.cpp's.
#pragma once
#include "base/clock.h"
#include "state/app_state.h"
#include <cstddef>
#include <cstdint>

enum TimeLapseUnit { TIME_LAPSE_SECONDS, TIME_LAPSE_MINUTES, TIME_LAPSE_HOURS, TIME_LAPSE_UNITS };

// The interval of number units in seconds; 0 when it lies outside 1 s to a day.
int32_t TimeLapse_Seconds(int32_t number, int32_t unit);
// seconds as a number of the largest unit that divides it.
void TimeLapse_SplitSeconds(int32_t seconds, int32_t *number, int32_t *unit);

// The series that runs (or ran last): its plan, where it stands and where
// its files go. Times in Clock_Precise units (100 ns).
struct TimeLapseSeries {
    bool running;
    int64_t start;    // when the first picture was due
    int64_t interval;
    int32_t planned;  // pictures planned, 0: until stopped
    int32_t nextSlot; // the next picture due: start + nextSlot * interval
    int32_t taken;    // pictures saved; the files are numbered 1 to taken
    int32_t skipped;  // pictures missed while no camera was open
    int32_t format;   // SnapshotFormat
    int32_t videoRate; // the video's pictures per second, 0: no video
    int32_t useH264;   // the video: H.264 in MP4, else WMV
    wchar_t folder[PATH_CAPACITY]; // the series' own subfolder
};

extern TimeLapseSeries gTimeLapse;

// Starts a series with the time-lapse settings, its first picture at once:
// false, with a prompt, when its folder cannot be made. The series runs on a
// timer of its own, in whatever message loop runs.
bool TimeLapse_Start();
// Ends the series and finishes its video, and with tell says so in a
// prompt; nothing when none runs.
void TimeLapse_Stop(bool tell);

// The slot due at now: the latest one not after now, at least the next
// slot; -1 while the next one is not due yet.
int32_t TimeLapse_DueSlot(const TimeLapseSeries &series, int64_t now);
// Whether every planned slot has passed (never for a series until stopped).
bool TimeLapse_AllSlotsPassed(const TimeLapseSeries &series);
// Time until the next slot (0 when it is due), in whole seconds rounded up.
int32_t TimeLapse_SecondsToNext(const TimeLapseSeries &series, int64_t now);

// parent\YYYYMMDD-HHMMSS: the series' subfolder. False when it does not fit.
bool TimeLapse_SeriesFolder(wchar_t *folder, size_t capacity, const wchar_t *parent, const LocalTime &time);
// folder\000042.jpg: a picture's name by its number (six digits, so that
// the names sort in order for more pictures than a series may plan), with
// the extension of the snapshot format. False when it does not fit.
bool TimeLapse_PictureName(wchar_t *name, size_t capacity, const wchar_t *folder, int32_t number, int32_t format);
// folder\<the folder's own name>.mp4 (or .wmv): the series' video.
bool TimeLapse_VideoName(wchar_t *name, size_t capacity, const wchar_t *folder, int32_t useH264);

// "3 of 10" (text 1417) or, for a series until stopped, "3"; followed by
// " (2 skipped: no camera)" (text 1418) when pictures were skipped.
void TimeLapse_CountText(wchar_t *text, size_t capacity, const TimeLapseSeries &series);
// "1:05:09", "5:09" or "0:09": a time to the next picture in seconds.
void TimeLapse_DurationText(wchar_t *text, size_t capacity, int32_t seconds);

// One picture of the series as a video frame: the top-down 32-bit rows
// (blue, green, red, unused) of a width x height picture written bottom row
// first as 24-bit rows, stride bytes apart, videoWidth x videoHeight of them
// (the video's even sides, at most the picture's).
void TimeLapse_VideoRows(const uint32_t *pixels, int32_t width, int32_t videoWidth, int32_t videoHeight,
                         int32_t stride, uint8_t *rows);
