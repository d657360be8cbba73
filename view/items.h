// The view's item list: committing the item under construction, deleting,
// removing the last or every item, clearing and hit testing, in index order.
#pragma once
#include <cstdint>

// Updates the hit rectangles of gView.newItem and appends a copy of it.
void View_CommitNewItem();
// Removes item i (later items move down); an index out of range does nothing.
void View_DeleteItem(int index);
void View_ClearItems();
// The index of the first item one of whose hit rectangles holds the image
// point, or -1.
int View_HitTest(int32_t x, int32_t y);
// Command 3028: removes the last item; a selection or hover on it is cleared.
void Items_RemoveLast();
// Command 3029: removes every item.
void Items_RemoveAll();
