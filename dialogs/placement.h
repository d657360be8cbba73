// Where a dialog opens: one rule for every dialog of the program, relative
// to its parent's screen rectangle (integer division throughout).
#pragma once
#include "base/geometry.h"

enum DialogPlace {
    PLACE_BELOW_TOP,   // centred horizontally, parent top + 68
    PLACE_NEAR_TOP,    // centred horizontally, parent top + 18 (the name editor)
    PLACE_CENTRED,     // centred both ways (the report title)
};

// The top-left corner of a dialog of the given size.
Point Placement_Origin(DialogPlace place, const Rect &parent, int dialogWidth, int dialogHeight);
