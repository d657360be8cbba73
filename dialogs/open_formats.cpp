#include "dialogs/open_formats.h"

const FormatMap &OpenFormats_Map(const FormatMap &mjpg, const FormatMap &yuy2, int compressionItem,
                                 bool *isMjpg)
{
    *isMjpg = !mjpg.empty() && compressionItem == 0;
    return *isMjpg ? mjpg : yuy2;
}

int OpenFormats_CompressionItem(const FormatMap &mjpg, const FormatMap &yuy2, const ClassId &preferred)
{
    return ClassId_Equal(preferred, kSubtypeYuy2) && !mjpg.empty() && !yuy2.empty() ? 1 : 0;
}

int OpenFormats_Preselect(const FormatMap &map, int32_t width, int32_t height)
{
    if (map.empty())
        return -1;
    int preferred = FormatMap_IndexOf(map, width, height);
    return preferred >= 0 ? preferred : (int)map.size() / 2;
}
