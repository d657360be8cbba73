// The picture a snapshot saves: the back buffer, or the picture composed
// again at its own size.
#pragma once
#include "view/view_win.h"

#include <cstdint>

struct SnapshotPicture {
    PictureComposition composition; // holds the pixels when composed again
    const uint32_t *pixels = nullptr; // top-down 32-bit rows, no alpha
    int width = 0, height = 0;
};

// The picture as last composed. At a zoom other than 100 % it is composed
// again at the picture's own size, unless the preferences keep snapshots as
// shown on the screen. numbered: with the items' numbers, as the rich-text
// report's picture has them, also where the view shows none (composed again
// at the picture's size then). False without a running preview or when the
// composition fails.
bool View_SnapshotPicture(SnapshotPicture *picture, bool numbered);
