// The Open-microscope dialog's format choice: which of a device's two format
// maps its compression item stands for, and which size it preselects.
#pragma once
#include "capture/formats.h"

// The MJPG map for compression item 0 when the device has MJPG formats (the
// box then lists "MJPG" first), the YUY2 map otherwise; *isMjpg tells which.
const FormatMap &OpenFormats_Map(const FormatMap &mjpg, const FormatMap &yuy2, int compressionItem,
                                 bool *isMjpg);

// The compression item of a preferred subtype: 1 ("YUY2" after "MJPG") when
// YUY2 is preferred and the device offers both, else 0.
int OpenFormats_CompressionItem(const FormatMap &mjpg, const FormatMap &yuy2, const ClassId &preferred);

// The item to preselect: the entry of the preferred size, else the middle
// entry (count / 2); -1 for an empty map.
int OpenFormats_Preselect(const FormatMap &map, int32_t width, int32_t height);
