// The main window's decisions that need no window: status-bar layout and
// texts, toolbar texts, the zoom slider's state, exclusive toggles, the
// calibration menu's items.
#pragma once
#include "base/geometry.h"
#include <cstddef>
#include <cstdint>
#include <vector>

enum { STATUS_PARTS = 5, STATUS_TEXT_CAPACITY = 64, BUTTON_TEXT_CAPACITY = 64, CALIBRATION_REASON_CAPACITY = 256 };

// Right edges of the five status parts for client width W and narrow part
// width c; the last part runs to the edge (-1).
void Status_PartEdges(int clientWidth, int partWidth, int panelWidth, int edges[STATUS_PARTS]);

// The zoom slider's place inside the status bar.
Rect Status_SliderRect(int clientWidth, int partWidth, int statusBarHeight);

int Fps_Rounded(float fps);

// "%dx%d   %dfps" after an update, "%dfps   %dx%d" at the timer.
void Status_SizeThenFps(wchar_t *text, size_t capacity, int width, int height, float fps);
void Status_FpsThenSize(wchar_t *text, size_t capacity, int width, int height, float fps);

// Button 3014: "%dx%d" of the current format, or "NA".
void Toolbar_ResolutionText(wchar_t *text, size_t capacity, bool cameraOpen);

// Button 3017: "NA", the applied slot's name, "%.3f@%d" or "%.3f"; "Not
// applied" (text 1361) while the slot the user applied is kept from the
// picture by its size.
void Toolbar_CalibrationText(wchar_t *text, size_t capacity, bool cameraOpen);
// Why the calibration the user applied is not applied (text 1362: its menu
// label, its size and the picture's), for the button's tip and the status
// bar; false, with an empty text, when nothing needs saying.
bool Calibration_NotAppliedReason(wchar_t *text, size_t capacity, bool cameraOpen);

// The status bar's note beside the calibration: why the calibration the user
// applied is not applied (as above), else where the picture comes from:
// held (text 1374) or an opened picture's name (1375, with the picture's
// scale, 1373, while it is applied); empty for a live picture.
void Status_NoteText(wchar_t *text, size_t capacity, bool pictureShown);

// The file a command line names (the program's name not included, as
// wWinMain gets it): the whole line without the blanks around it and
// without its quotes, as "Open with" passes "%1". False for an empty line
// or one longer than capacity.
bool CommandLine_Path(const wchar_t *commandLine, wchar_t *path, size_t capacity);

// One exclusive group: stores the clicked switch; when it is now on, turns
// the others off. Returns the indices whose buttons must be unchecked.
std::vector<int> Toggle_Exclusive(int32_t *const *switches, int count, int clicked, bool checked);

struct MenuItem {
    int32_t id;
    wchar_t text[64];
    bool checked;
};

// The usable calibration slots as menu items (ids 3040 + slot).
std::vector<MenuItem> CalibrationMenu_Slots();
