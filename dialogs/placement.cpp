#include "dialogs/placement.h"

Point Placement_Origin(DialogPlace place, const Rect &parent, int dialogWidth, int dialogHeight)
{
    int x = (parent.left + parent.right - dialogWidth) / 2;
    switch (place) {
    case PLACE_NEAR_TOP:
        return {x, parent.top + 18};
    case PLACE_CENTRED:
        return {x, (parent.top + parent.bottom - dialogHeight) / 2};
    case PLACE_BELOW_TOP:
        break;
    }
    return {x, parent.top + 68};
}
