// What the Preferences dialog's colour lists show: one item per palette
// colour, in palette order.
#pragma once
#include <cstdint>

enum { PREFERENCES_FALLBACK_COLOR = 3 }; // green

// The list item of a colour: its palette index, green for a colour the
// palette does not hold.
int Preferences_ColorIndex(uint32_t color);
// The colour of a list item; green for an index outside the palette (such as
// no selection).
uint32_t Preferences_ColorAt(int index);
