// The picture settings of the cameras met lately, each kept under its device
// path and set again when that camera opens: the registry values "Camera1"
// (the camera used last) to "Camera8", one text each.
//
// A camera's text is nine "mode,value;" pairs (exposure, gain, white balance,
// brightness, contrast, hue, saturation, sharpness, gamma), the power-line
// frequency and ';', then the device path to the end:
//   "1,-8;3,-6;1,0;1,0;1,32;1,0;1,100000;1,3;1,100;2;@device:pnp:\\?\usb#..."
// A text that is damaged in any way (a missing separator, a number that is not
// one whole number or out of its range, an empty or too long path) is not
// read: that camera keeps its own values.
#pragma once
#include <cstddef>
#include <cstdint>

enum {
    CAMERA_MEMORY_SLOTS = 8,
    CAMERA_PATH_CAPACITY = 512,
    CAMERA_PROPERTIES = 9,
    // Nine pairs and the power line of the longest numbers, and the path.
    CAMERA_MEMORY_TEXT_CAPACITY = CAMERA_PATH_CAPACITY + CAMERA_PROPERTIES * 14 + 4,
};

enum KeptMode {
    KEPT_NONE = 0,              // nothing kept: the camera's own state stays
    KEPT_MANUAL = 1,            // manual at value
    KEPT_AUTO = 2,              // automatic (value unused)
    KEPT_AUTO_AFTER_MANUAL = 3, // automatic; value is the manual value it had before
};

struct KeptProperty {
    int32_t mode; // KeptMode
    int32_t value;
};

struct CameraMemory {
    wchar_t devicePath[CAMERA_PATH_CAPACITY]; // empty: a free slot
    KeptProperty properties[CAMERA_PROPERTIES];
    int32_t powerLine; // 0 not kept, 1 50 Hz, 2 60 Hz
};

// Most recently used first; the free slots follow the used ones.
extern CameraMemory gCameraMemory[CAMERA_MEMORY_SLOTS];

bool CameraMemory_Parse(const wchar_t *text, CameraMemory *memory);
// False when the text would not fit (it then is not to be stored).
bool CameraMemory_Format(const CameraMemory &memory, wchar_t *text, size_t capacity);

// The kept settings of a device path, or null.
const CameraMemory *CameraMemory_Find(const wchar_t *devicePath);

// Keeps a camera's settings as the most recent (the least recent camera beyond
// CAMERA_MEMORY_SLOTS is forgotten) and writes all of them to the store.
void CameraMemory_Remember(const CameraMemory &memory);

// Reading and writing "Camera1" to "Camera8" while the store is open. The
// read fills the cleared gCameraMemory, skipping damaged texts and a path met
// before.
void CameraMemory_Read();
void CameraMemory_Write();
