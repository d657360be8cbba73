// Snapshot files: named by the local date and time to the millisecond, in
// the image folder.
#pragma once
#include "base/clock.h"
#include "reports/picture_files.h"
#include <cstddef>

enum SnapshotFormat { SNAPSHOT_JPG, SNAPSHOT_PNG, SNAPSHOT_TIFF, SNAPSHOT_FORMATS };

// "%s\%d%02d%02d-%02d%02d%02d-%03d.%s": folder, date, time, milliseconds,
// "png" for image format 1, "tif" for 2 and "jpg" otherwise. False when the name does not
// fit: it is then cut and must not be used.
bool Snapshot_FormatFileName(wchar_t *name, size_t capacity, const wchar_t *folder,
                             const LocalTime &time, int imageFormat);

// The file name for the present moment (PATH_CAPACITY characters), with a
// "-2", "-3", ... suffix where that name is taken; false when the image
// folder leaves no room for it or no free one.
bool Snapshot_MakeFileName(wchar_t *name);

// The format a snapshot file is written in, by its extension's last three
// characters: "jpg", "tif", anything else PNG.
SnapshotFormat Snapshot_FormatOf(const wchar_t *path);

// The scale of a snapshot's pixels at the applied calibration, when the
// picture is saved width x height (at another size than its own, the scale
// follows); none without a calibration.
PictureScale Snapshot_Scale(int width, int height);

// Writes the camera view's picture (View_SnapshotPicture, numbered or not)
// into path in the format its name says, with the scale of its pixels;
// false without a running preview or when the file cannot be written whole.
bool Snapshot_Save(const wchar_t *path, bool numbered);

// Takes a snapshot of the camera view and announces the file, or that it
// could not be written, in a prompt under the toolbar (Snapshot_Take) or
// top pixels below the main window's client top.
void Snapshot_Take();
void Snapshot_TakeAnnouncedAt(int top);

// Opens the image folder in the file browser with the last snapshot (or the
// first one found) selected.
void Gallery_Open();

// What the gallery selects: the last snapshot, else the first "*-*-*.jpg" the
// image folder lists, else the folder itself (PATH_CAPACITY characters).
void Gallery_Target(wchar_t *path);

// The text shown after a successful snapshot: "File saved: %s".
void Snapshot_SavedText(wchar_t *text, size_t capacity, const wchar_t *name);
