// Saving a picture the view lent (View_SnapshotPicture) as a snapshot file.
#pragma once
#include "view/view_snapshot_win.h"

// Writes the picture into path as Snapshot_Save does; false when the file
// cannot be written whole (none is left then).
bool Snapshot_SavePicture(const wchar_t *path, const SnapshotPicture &picture);
