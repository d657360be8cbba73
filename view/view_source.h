// Where the view's picture comes from: the camera's newest frame, a frame
// held still while the camera runs on, or a still picture (a saved picture
// opened, or one made in the program) shown while the camera is stopped.
#pragma once
#include <cstddef>
#include <cstdint>

enum ViewSource {
    VIEW_LIVE = 0,    // each paint copies the newest frame
    VIEW_HELD = 1,    // the frame of the moment the picture was held
    VIEW_PICTURE = 2, // a still picture; no camera runs
};

// A still picture handed to the view: 24-bit pixels (blue, green, red),
// `height` rows of `stride` bytes, the top row first or last.
struct StillPicture {
    int32_t width, height;
    const uint8_t *rows;
    size_t stride;
    bool topDown;
    float pixelsPerUnit; // the picture's own scale, -1 for none
    int32_t unit;        // of that scale: 0 millimetres, else micrometres
    const wchar_t *name; // what the status bar calls it (a file's name)
};

// Pictures with more pixels than this, or a side beyond FRAME_MAX_SIDE,
// are refused before anything is allocated for them.
enum { STILL_MAX_PIXELS = 100 * 1000 * 1000 };
bool Still_SizeAllowed(int64_t width, int64_t height);

// Whether the view has a picture to measure, snapshot and report on: a
// running camera's (live or held) or a still one.
bool View_HasPicture();

// The one place the source changes: the pipeline is told whether new frames
// need the view repainted.
void View_SetSource(ViewSource source);

// Holds the frame shown now, or returns to live: true when the picture is
// held afterwards. Nothing is held without a running camera and a frame.
bool View_ToggleHold();

// Takes a still picture in place of the camera's (the caller has stopped
// the camera): items and the half-drawn one go, the picture's frame copy and
// its original (for the effects) are made, zoom 100. False, with the view as
// it was, for a refused size or without memory.
bool View_TakeStill(const StillPicture &picture);

// A still picture's frame copy again from its original through the effect
// the flags choose now (gCamera's gray, black & white, negative, emboss);
// true when it changed. Nothing for a live or held picture.
bool View_RefreshStillEffect();
