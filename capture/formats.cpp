#include "capture/formats.h"

#include "capture/frame_layout.h"

const ClassId kSubtypeMjpg = {0x47504A4D, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
const ClassId kSubtypeYuy2 = {0x32595559, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

VideoFormat gRequestedFormat = {kSubtypeMjpg, 640, 480};

int32_t Format_PixelCount(int32_t width, int32_t height)
{
    return (int32_t)((uint32_t)width * (uint32_t)height);
}

void FormatMap_Add(FormatMap *map, const VideoFormat &format)
{
    map->insert({Format_PixelCount(format.width, format.height), format});
}

const VideoFormat *FormatMap_At(const FormatMap &map, int index)
{
    if (index < 0 || index >= (int)map.size())
        return nullptr;
    auto it = map.begin();
    std::advance(it, index);
    return &it->second;
}

int FormatMap_IndexOf(const FormatMap &map, int32_t width, int32_t height)
{
    int index = 0;
    for (const auto &entry : map) {
        if (entry.second.width == width && entry.second.height == height)
            return index;
        index++;
    }
    return -1;
}

bool Formats_ChooseDefault(const FormatMap &mjpg, const FormatMap &yuy2, VideoFormat *chosen)
{
    const FormatMap &map = mjpg.empty() ? yuy2 : mjpg;
    if (map.empty())
        return false;
    const VideoFormat *found = nullptr;
    for (int32_t pixels : {921600, 307200, 2073600}) {
        auto it = map.find(pixels);
        if (it != map.end()) {
            found = &it->second;
            break;
        }
    }
    if (!found || found->width == 0 || found->height == 0)
        found = FormatMap_At(map, (int)map.size() / 2);
    *chosen = *found;
    return true;
}

bool Format_IsListed(int32_t width, int32_t height)
{
    return width >= 640 && width <= FRAME_MAX_SIDE && height >= 480 && height <= FRAME_MAX_SIDE;
}
