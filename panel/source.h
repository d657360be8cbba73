// The Source section's decisions: which items its boxes select and what a
// new selection asks of the main window.
#pragma once
#include "capture/formats.h"

// The index, in map order, of the entry of that size; 0 when none matches.
int Source_SizeIndex(const FormatMap &map, int32_t width, int32_t height);

// The compression box: "MJPG" when the MJPG map has entries, then "YUY2"
// when the YUY2 map has; returns the count.
int Source_CompressionItems(const FormatMap &mjpg, const FormatMap &yuy2, const wchar_t *items[2]);
// The selected item: 1 (YUY2) when the current subtype is not MJPG and the
// list holds MJPG first, else 0.
int Source_CompressionSelection(bool currentIsMjpg, const FormatMap &mjpg);

// Resolution box selection: the index to send with command 1009, or -1 when
// it names the current size (or nothing).
int Source_ResolutionChoice(const FormatMap &current, int selection, int32_t width, int32_t height);
// Compression box selection: 1 to switch to MJPG, 0 to YUY2, -1 to stay.
int Source_CompressionChoice(bool currentIsMjpg, const FormatMap &mjpg, int selection);
