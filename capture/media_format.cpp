#include "capture/media_format.h"

#include <cstring>

const ClassId kMediaTypeVideo = {0x73646976, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
const ClassId kSubtypeRgb24 = {0xE436EB7D, 0x524F, 0x11CE, {0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
const ClassId kFormatVideoInfo = {0x05589F80, 0xC356, 0x11CE, {0xBF, 0x01, 0x00, 0xAA, 0x00, 0x55, 0x59, 0x5A}};
const ClassId kFormatVideoInfo2 = {0xF72A76A0, 0xEB0A, 0x11D0, {0xAC, 0xE4, 0x00, 0x00, 0xC0, 0xCC, 0x16, 0xBA}};

bool MediaFormat_Header(const ClassId &formatType, const uint8_t *block, size_t size,
                        BitmapHeader *header)
{
    size_t offset;
    if (ClassId_Equal(formatType, kFormatVideoInfo))
        offset = 48;
    else if (ClassId_Equal(formatType, kFormatVideoInfo2))
        offset = 72;
    else
        return false;
    if (!block || size < offset + sizeof(BitmapHeader))
        return false;
    memcpy(header, block + offset, sizeof *header);
    return true;
}

bool MediaFormat_Read(const ClassId &majorType, const ClassId &subtype, const ClassId &formatType,
                      const uint8_t *block, size_t size, VideoFormat *format)
{
    if (!ClassId_Equal(majorType, kMediaTypeVideo))
        return false;
    if (!ClassId_Equal(subtype, kSubtypeMjpg) && !ClassId_Equal(subtype, kSubtypeYuy2))
        return false;
    BitmapHeader header;
    if (!MediaFormat_Header(formatType, block, size, &header))
        return false;
    *format = {subtype, header.biWidth, header.biHeight};
    return true;
}
