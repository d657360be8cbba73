#include "dialogs/placement.h"

#include <gtest/gtest.h>

TEST(DialogPlacement, CentredOnTheParentWithIntegerDivision)
{
    Rect parent = {-7, 10, 1000, 811}; // odd sums round toward zero
    EXPECT_EQ(Placement_Origin(PLACE_BELOW_TOP, parent, 300, 200), (Point{346, 78}));
    EXPECT_EQ(Placement_Origin(PLACE_NEAR_TOP, parent, 300, 200), (Point{346, 28}));
    EXPECT_EQ(Placement_Origin(PLACE_CENTRED, parent, 301, 200), (Point{346, 310}));
    // A dialog wider than its parent still centres (negative offset).
    EXPECT_EQ(Placement_Origin(PLACE_BELOW_TOP, {0, 0, 100, 100}, 301, 50).x, -100);
}
