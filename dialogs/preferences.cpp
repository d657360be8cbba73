#include "dialogs/preferences.h"

#include "state/settings.h"

int Preferences_ColorIndex(uint32_t color)
{
    for (int i = 0; i < PALETTE_SIZE; i++)
        if (kPalette[i] == color)
            return i;
    return PREFERENCES_FALLBACK_COLOR;
}

uint32_t Preferences_ColorAt(int index)
{
    return kPalette[index >= 0 && index < PALETTE_SIZE ? index : PREFERENCES_FALLBACK_COLOR];
}
