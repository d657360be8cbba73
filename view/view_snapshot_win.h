// The snapshot of the camera view: the back buffer to a JPEG or PNG file.
#pragma once

// Saves the picture as last composed: JPEG (quality 100) when the path ends
// in lower-case "jpg", PNG otherwise. At a zoom other than 100 % it is
// composed again at the picture's own size, unless the preferences keep
// snapshots as shown on the screen. numbered: with the items' numbers, as
// the rich-text report's picture has them, also where the view shows none
// (composed again at the picture's size then). False without a running
// preview or when the save fails.
bool View_SaveSnapshot(const wchar_t *path, bool numbered);
