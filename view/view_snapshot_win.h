// The snapshot of the camera view: the back buffer to a JPEG or PNG file.
#pragma once

// Saves the back buffer as last composed: JPEG (quality 100) when the path
// ends in lower-case "jpg", PNG otherwise. False without a running preview
// or when the save fails.
bool View_SaveSnapshot(const wchar_t *path);
