// Pointer and keyboard editing of the view: tools, new items, selection,
// hover, moving, panning, deleting, the pending text item and the ends of
// the calibration line. Points are window (client) coordinates.
#pragma once
#include <cstdint>

void View_ButtonDown(int x, int y);
void View_PointerMove(int x, int y, bool buttonDown);
void View_ButtonUp();
// The view lost the mouse capture before the release (another window took
// it): the gesture ends as at a release.
void View_CaptureLost();
void View_KeyDown(int key);

// Drops the item under construction: its points, text and creation phase,
// and the gesture drawing it.
void View_DiscardNewItem();

// Command 8002: a new tool discards the item being drawn.
void View_ChooseTool(int32_t tool);
// Command 8005: "Init" places the pending text box, "OK" commits it when it
// has a text; anything else does nothing. While a text item is changed
// (gView.editIndex), "Init" takes it into the pending box, "OK" puts it back
// with the new text (none removes it) and anything else as it was.
void View_TextItemCommand(const char *action);
// A double click: on a text item with the pointer tool, asks the main window
// to open the Input-text dialog on it (CMD_EDIT_TEXT_ITEM) and returns true.
bool View_DoubleClick(int x, int y);

// Moves what the press took of an item (gView.dragGrab: one point, or all
// of them together) with the pointer from gView.lastPoint to the image point
// (x, y); recomposes, so the label follows live.
struct MeasureItem;
void MeasureItem_Move(MeasureItem *item, int32_t x, int32_t y);
