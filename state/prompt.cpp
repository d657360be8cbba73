#include "state/prompt.h"

Rect Prompt_Placement(int textWidth, int textHeight, int clientWidth, int clientTop, int top)
{
    int width = textWidth + 32, height = textHeight + 24;
    int x = (clientWidth - width) / 2, y = clientTop + top;
    return {x, y, x + width, y + height};
}

bool Prompt_Tick(int timed, int *ticks)
{
    if (timed == 0)
        return false;
    return ++*ticks > PROMPT_TICKS;
}
