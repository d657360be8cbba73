#include "panel/source.h"

int Source_SizeIndex(const FormatMap &map, int32_t width, int32_t height)
{
    int index = FormatMap_IndexOf(map, width, height);
    return index < 0 ? 0 : index;
}

int Source_CompressionItems(const FormatMap &mjpg, const FormatMap &yuy2, const wchar_t *items[2])
{
    int count = 0;
    if (!mjpg.empty())
        items[count++] = L"MJPG";
    if (!yuy2.empty())
        items[count++] = L"YUY2";
    return count;
}

int Source_CompressionSelection(bool currentIsMjpg, const FormatMap &mjpg)
{
    return !currentIsMjpg && !mjpg.empty() ? 1 : 0;
}

int Source_ResolutionChoice(const FormatMap &current, int selection, int32_t width, int32_t height)
{
    const VideoFormat *chosen = FormatMap_At(current, selection);
    if (!chosen || (chosen->width == width && chosen->height == height))
        return -1;
    return selection;
}

int Source_CompressionChoice(bool currentIsMjpg, const FormatMap &mjpg, int selection)
{
    bool wishMjpg = !mjpg.empty() && selection == 0;
    return wishMjpg == currentIsMjpg ? -1 : (wishMjpg ? 1 : 0);
}
